#include "ChatTest.h"

#include <QLabel>
#include <QMouseEvent>

#include "Chat.h"
#include "ChatLink.h"
#include "ControlKit.h"
#include "Forms.h"

ChatTest::ChatTest()
    : Form(QStringLiteral("ChatTest"))
{
    SetCaption(QStringLiteral("Test window"));
    SetSize(FormWidth, FormHeight);
    // A tool window is transient for its owner on X11, so a click on the chat never buries it.
    setWindowFlag(Qt::Tool, true);
    Kit::SetPaper(this, QColor(0xFF, 0xFF, 0xE0));
    Label1 = Kit::Label(this, QStringLiteral("Label1"), {120, 60, FormWidth - 240, FormHeight - 120},
        QStringLiteral("Test window"), {.font = {QStringLiteral("Noto Sans CJK SC")}, .points = 12});
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->setToolTip(QStringLiteral("Click to send this text to the chat"));
}

ChatTest::~ChatTest() = default;

void ChatTest::Form_Load()
{
    Chat* chat = Forms::Find<Chat>();
    if (!chat)
        return;
    m_partner = std::make_unique<ChatTestPartner>(&chat->Session().Link(), &m_socket);
    connect(m_partner.get(), &ChatTestPartner::CaptionChanged, Label1, &QLabel::setText);
}

void ChatTest::Form_Unload()
{
    if (m_partner)
        m_partner->Close(); // the chat gets its endpoint from before back
}

void ChatTest::Form_CloseRequested()
{
    // Closed only the way the chat closes it, so the chat's buttons follow.
    if (Chat* chat = Forms::Find<Chat>(); chat && chat->TestPartnerOpen())
        chat->ToggleTestPartner();
    else
        Unload();
}

void ChatTest::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        Label1_Click();
    Form::mouseReleaseEvent(e);
}

void ChatTest::Label1_Click()
{
    if (m_partner)
        m_partner->SendCaption();
    if (Chat* chat = Forms::Find<Chat>())
        chat->FocusInput();
}
