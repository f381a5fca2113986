#include "Chat.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

#include "ChatTest.h"
#include "ComboBox.h"
#include "Forms.h"
#include "MsgBox.h"
#include "RichTextBox.h"
#include "SelectionLookUp.h"
#include "Twips.h"

namespace {

constexpr double FormWidth = 11550;
// Low enough for the tool stack, with both dictionaries and the frames, to fit 1024 x 768.
constexpr double FormHeight = 6480;
constexpr double Margin = 240;
constexpr double RowsTop = 840;
constexpr double RowPitch = 400;
constexpr double RowHeight = 370;
constexpr double RowWidth = 9780;
constexpr double ButtonLeft = Margin + RowWidth + 60;
constexpr double ButtonWidth = 780;
constexpr double ScrollLeft = ButtonLeft + ButtonWidth + 60;
constexpr double ScrollWidth = 330;
// The frame round the rows; the test partner sits just above it, over the fixed text.
constexpr double FrameTop = RowsTop - 90;
constexpr double FrameHeight = ChatRows::Count * RowPitch + 150;
constexpr double InputTop = FrameTop + FrameHeight + 180;
constexpr double ControlHeight = 375;
constexpr double LowerTop = InputTop + ControlHeight + 150;
constexpr double BottomTop = LowerTop + 330 + 120;

constexpr int F3 = 114;

const QStringList SansFamilies{QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")};
const QStringList ChineseFamilies{QStringLiteral("Noto Sans CJK SC")};

// Own messages on white, received ones on light cyan (&HFFFFC0).
const QColor OwnPaper(0xFF, 0xFF, 0xFF);
const QColor ReceivedPaper(192, 255, 255);

void SetPaper(RichTextBox* row, const QColor& paper)
{
    QPalette p = row->palette();
    p.setColor(QPalette::Base, paper);
    row->setPalette(p);
}

} // namespace

Chat::Chat()
    : ToolWindow(QStringLiteral("Chat"), FormWidth, FormHeight)
{
    SetCaption(QStringLiteral("Chat"));
    const Kit::Look sans{.font = SansFamilies, .points = 9};

    Label1 = Kit::Label(this, QStringLiteral("Label1"), {Margin, 150, FormWidth - 2 * Margin, 600},
        QStringLiteral("You can high-effectively practise spoken Chinese through our excellent CTS (Chinese to speech) "
                       "chat engine."),
        {.font = SansFamilies, .points = 10, .weight = QFont::Bold, .ink = QColor(0, 0, 0x80), .wrap = true});

    for (int row = 0; row < ChatRows::Count; ++row) {
        const double top = RowsTop + row * RowPitch;
        auto* box = Text1.Add(row, new RichTextBox(this));
        box->setObjectName(Text1.Name(row));
        box->setReadOnly(true);
        box->setLineWrapMode(QTextEdit::NoWrap);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->document()->setDocumentMargin(2);
        Kit::SetLook(box, {.font = ChineseFamilies, .points = 11});
        SetPaper(box, OwnPaper);
        Twips::Place(box, Margin, top, RowWidth, RowHeight);
        connect(box, &RichTextBox::MouseUp, this, [this, row](int, int, double x, double y) { Text1_MouseUp(row, x, y); });

        QPushButton* read = Command4.Add(row, Kit::Button(this, Command4.Name(row), {ButtonLeft, top, ButtonWidth, RowHeight},
            QStringLiteral("Read"), sans));
        read->setToolTip(QStringLiteral("Read this message aloud"));
        connect(read, &QPushButton::clicked, this, [this, row] { Command4_Click(row); });
    }

    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    Twips::Place(VScroll1, ScrollLeft, RowsTop, ScrollWidth, (ChatRows::Count - 1) * RowPitch + RowHeight);
    VScroll1->setPageStep(10);
    VScroll1->setSingleStep(1);
    VScroll1->setRange(0, 0);
    VScroll1->setEnabled(false);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    // A frame drawn behind the rows, never in the way of the pointer.
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape1->lower();
    Twips::Place(Shape1, Margin - 90, FrameTop, FormWidth - 2 * Margin + 180, FrameHeight);

    Combo1 = new ComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Kit::SetLook(Combo1, {.font = ChineseFamilies, .points = 11});
    Twips::Place(Combo1, Margin, InputTop, 7650, ControlHeight + 30);
    Command1 = Kit::Button(this, QStringLiteral("Command1"), {Margin + 7800, InputTop, 1350, ControlHeight},
        QStringLiteral("Send"), sans);
    Command5 = Kit::Button(this, QStringLiteral("Command5"), {Margin + 9300, InputTop, 1710, ControlHeight},
        QStringLiteral("Connect"), sans);

    Check1 = Kit::CheckBox(this, QStringLiteral("Check1"), {Margin, LowerTop, 3600, 330},
        QStringLiteral("Reading aloud messages in"), sans);
    Label3 = Kit::Label(this, QStringLiteral("Label3"), {Margin + 3900, LowerTop, 7170, 330}, QString(),
        {.font = SansFamilies, .points = 9, .ink = QColor(0xC0, 0, 0)});

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    Twips::Place(ProgressBar1, Margin, BottomTop + 60, 6000, 255);
    ProgressBar1->setVisible(false);

    Command2 = Kit::Button(this, QStringLiteral("Command2"), {Margin + 7800, BottomTop, 1800, ControlHeight},
        QStringLiteral("Clear history"), sans);
    Command3 = Kit::Button(this, QStringLiteral("Command3"), {Margin + 9750, BottomTop, 1260, ControlHeight},
        QStringLiteral("Close"), sans);

    connect(Command1, &QPushButton::clicked, this, &Chat::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Chat::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Chat::CloseTool);
    connect(Command5, &QPushButton::clicked, this, &Chat::Command5_Click);
    connect(Check1, &QCheckBox::clicked, this, &Chat::Check1_Click);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Chat::VScroll1_Change);

    connect(&m_session, &ChatSession::MessageAdded, this, &Chat::MessageAdded);
    connect(&m_session, &ChatSession::InputDelivered, this, [this] { Combo1->SetText(QString()); });
    connect(&m_session, &ChatSession::SendEnabledChanged, Command1, &QPushButton::setEnabled);
    connect(&m_session, &ChatSession::StatusChanged, Label3, &QLabel::setText);
    connect(&m_session, &ChatSession::ConvertingChanged, ProgressBar1, &QProgressBar::setVisible);
    connect(&m_session, &ChatSession::ProgressChanged, ProgressBar1, &QProgressBar::setValue);
    connect(&m_session, &ChatSession::SoundBuilt, this, &Chat::SoundBuilt);
    // A row losing the focus puts its caret back at the start.
    m_rowFocus = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
        for (const auto& [row, box] : Text1)
            if (old && (old == box || box->isAncestorOf(old)))
                box->SetSelStart(0);
    });
}

Chat::~Chat()
{
    // The rows go before the base class deletes the controls, whose focus may still move.
    disconnect(m_rowFocus);
}

void Chat::Form_Load()
{
    m_session.LoadHistory();
    ShowLastPage();
    Command2->setEnabled(m_session.MessageCount() > 0);
    Command3->setEnabled(true);
    Combo1->SetText(QString());
    Label3->setVisible(true);
}

QWidget* Chat::FirstFocus()
{
    return Combo1;
}

void Chat::FocusInput()
{
    Combo1->SetFocus();
}

void Chat::FillRow(int row, int message)
{
    const ChatMessage& m = m_session.Messages().at(message - 1);
    SetRow(row, m.Text, m.Received);
    Command4[row]->setEnabled(m.Sound != QLatin1String("0"));
}

void Chat::SetRow(int row, const QString& text, bool received)
{
    RowShown& shown = m_rowShown[row];
    if (shown.Text != text) {
        Text1[row]->SetText(text);
        shown.Text = text;
    }
    if (shown.Received != received) {
        SetPaper(Text1[row], received ? ReceivedPaper : OwnPaper);
        shown.Received = received;
    }
}

void Chat::ShowRows(const ChatRows::Page& page)
{
    for (int row = 0; row < ChatRows::Count; ++row)
        if (page.Message[row] > 0)
            FillRow(row, page.Message[row]);
}

void Chat::ShowLastPage()
{
    m_lastPageDue = false;
    const ChatRows::Page page = ChatRows::LastPage(m_session.MessageCount());
    ShowRows(page);
    {
        const QSignalBlocker quiet(VScroll1);
        VScroll1->setRange(0, page.ScrollMaximum);
        VScroll1->setValue(page.ScrollValue);
    }
    VScroll1->setEnabled(page.ScrollEnabled);
}

void Chat::ShowLastPageSoon()
{
    if (m_lastPageDue)
        return;
    m_lastPageDue = true;
    QMetaObject::invokeMethod(this, &Chat::ShowDueRows, Qt::QueuedConnection);
}

void Chat::ShowDueRows()
{
    if (m_lastPageDue)
        ShowLastPage();
}

void Chat::VScroll1_Change(int value)
{
    const int count = m_session.MessageCount();
    if (m_lastPageDue) {
        // The learner scrolled after the messages of this turn came: the scroll wins, over
        // the range those messages make.
        m_lastPageDue = false;
        const ChatRows::Page last = ChatRows::LastPage(count);
        const QSignalBlocker quiet(VScroll1);
        VScroll1->setRange(0, last.ScrollMaximum);
        VScroll1->setEnabled(last.ScrollEnabled);
    }
    ShowRows(ChatRows::AtScroll(value, count));
}

void Chat::MessageAdded(int, bool received)
{
    ShowLastPageSoon();
    if (received && Check1->isChecked())
        ReadRowAloud(ChatRows::Count - 1);
    Command2->setEnabled(true);
}

void Chat::SoundBuilt(int index)
{
    // The row showing that message gets its button state now.
    ShowDueRows();
    const int count = m_session.MessageCount();
    for (int row = 0; row < ChatRows::Count; ++row)
        if (ChatRows::MessageOfRow(row, count, VScroll1->value()) == index)
            Command4[row]->setEnabled(m_session.Messages().at(index - 1).Sound != QLatin1String("0"));
}

void Chat::SaveHistory()
{
    m_session.SaveHistory();
}

void Chat::ReadRowAloud(int row)
{
    if (m_session.Converting())
        return; // one conversion at a time: the rows need not be shown for a request ignored
    ShowDueRows();
    const int index = ChatRows::MessageOfRow(row, m_session.MessageCount(), VScroll1->value());
    if (m_session.ReadAloud(index, Text1[row]->Text()) == ChatSession::ReadOutcome::Unreadable)
        Command4[row]->setEnabled(false);
}

void Chat::Command4_Click(int row)
{
    Combo1->SetFocus();
    if (Check1->isChecked())
        return; // received messages are read as they come
    ReadRowAloud(row);
}

void Chat::Command1_Click()
{
    switch (m_session.Send(Combo1->Text())) {
    case ChatSession::SendOutcome::Blank:
        Combo1->SetText(QString());
        Combo1->SetFocus();
        break;
    case ChatSession::SendOutcome::NotInCodePage:
        Combo1->SetFocus(); // the box asked the learner to edit the text
        break;
    default:
        break;
    }
}

void Chat::Command5_Click()
{
    Command5->setVisible(false);
    m_session.Connect();
}

void Chat::Check1_Click()
{
    Combo1->SetFocus();
}

void Chat::Command2_Click()
{
    if (MsgBox::Show(QStringLiteral("Do you really want to clear your training history?"), MsgBox::YesNo,
            MsgBox::Information, QStringLiteral("Attention"), MsgBox::DefaultSecond)
        != MsgBox::Yes)
        return;
    for (int row = 0; row < ChatRows::Count; ++row)
        SetRow(row, QString(), false);
    m_session.ClearHistory();
    Combo1->SetFocus();
    VScroll1->setRange(0, 0);
    VScroll1->setEnabled(false);
    Command2->setEnabled(false);
}

void Chat::Text1_MouseUp(int row, double x, double y)
{
    RichTextBox* box = Text1[row];
    if (box->SelLength() == 0)
        return;
    // The selection goes to the clipboard too, for pasting into the input line or elsewhere.
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(box->SelText());
    SelectionLookUp(LookUpMembers::Chat, *this, *box, x, y);
}

void Chat::ToggleTestPartner()
{
    if (!m_testPartnerOpen) {
        m_testPartnerOpen = true;
        ChatTest* partner = Forms::Load<ChatTest>();
        if (!partner)
            return;
        const double left = Left() + Twips::FromPixelsX(Shape1->x());
        const double top = Top() + Twips::FromPixelsY(Shape1->y()) - partner->Height() - 2 * Twips::PerPixelY();
        partner->Move(left, top);
        partner->Show(Form::Modeless, this);
        Command3->setEnabled(false);
        m_session.EnableSend();
        Command5->setVisible(false);
        return;
    }
    m_testPartnerOpen = false;
    Forms::Unload(QStringLiteral("ChatTest"));
    Command3->setEnabled(true);
    Combo1->SetFocus();
}

void Chat::Form_KeyDown(int& keyCode, int shift)
{
    switch (keyCode) {
    case Keys::Return:
        keyCode = 0;
        Command1_Click();
        return;
    case F3:
        keyCode = 0;
        ToggleTestPartner();
        return;
    default:
        ToolWindow::Form_KeyDown(keyCode, shift);
    }
}

void Chat::CloseTool()
{
    if (!Command3->isEnabled())
        return; // the test partner is open: F3 closes it first
    ToolWindow::CloseTool();
}

void Chat::Tool_Unload()
{
    // Closed by the window manager with the partner still open: it goes first, so the
    // socket has its own endpoint back before it closes.
    if (m_testPartnerOpen) {
        m_testPartnerOpen = false;
        Forms::Unload(QStringLiteral("ChatTest"));
    }
    m_session.Close();
}
