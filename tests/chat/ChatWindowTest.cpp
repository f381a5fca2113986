// The chat window's wiring through its real controls on the offscreen platform, with the test
// partner on loopback: the rules themselves are tested without widgets beside this file.

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>
#include <gtest/gtest.h>

#include "AppState.h"
#include "CharacterTable.h"
#include "Chat.h"
#include "ChatForms.h"
#include "ChatLink.h"
#include "ChatTest.h"
#include "Clock.h"
#include "ComboBox.h"
#include "FormCalls.h"
#include "Forms.h"
#include "RichTextBox.h"
#include "TestSupport.h"
#include "UdpSocket.h"

namespace {

class ChatWindowTest : public AppFixture {
protected:
    template <class T> T* Control(const char* form, const QString& name)
    {
        return Forms::Control<T>(QLatin1String(form), name);
    }
    RichTextBox* Row(int k) { return Control<RichTextBox>("Chat", QStringLiteral("Text1(%1)").arg(k)); }
    QColor Paper(int k) { return Row(k)->palette().color(QPalette::Base); }
    // Waits for the signals, then lets their turn of the event loop end, when the rows show
    // what came.
    static bool WaitFor(QSignalSpy& spy, int count)
    {
        while (spy.count() < count)
            if (!spy.wait(5000))
                return false;
        QCoreApplication::processEvents();
        return true;
    }
};

TEST_F(ChatWindowTest, AConversationWithTheTestPartner)
{
    WriteFile("Record/Chat.txt", "1\xC4\xE3\xBA\xC3\r\n0hello\r\nnot a message\r\n");
    State().CurrentActivity = 16;
    RegisterChatForms();
    Chat* chat = Forms::Load<Chat>();
    ASSERT_TRUE(chat);
    chat->Show();

    // The history's two messages fill the bottom rows.
    EXPECT_EQ(Row(8)->Text(), QStringLiteral("你好"));
    EXPECT_EQ(Paper(8), QColor(192, 255, 255));
    EXPECT_EQ(Row(9)->Text(), QStringLiteral("hello"));
    EXPECT_EQ(Paper(9), QColor(Qt::white));
    EXPECT_FALSE(Control<QScrollBar>("Chat", "VScroll1")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>("Chat", "Command2")->isEnabled());
    // The pointer reaches the rows and their buttons (the frame round them lies behind).
    for (QWidget* w : {static_cast<QWidget*>(Row(0)), static_cast<QWidget*>(Row(9)),
             static_cast<QWidget*>(Control<QPushButton>("Chat", "Command4(9)"))}) {
        QWidget* hit = chat->childAt(w->mapTo(chat, w->rect().center()));
        EXPECT_TRUE(hit == w || w->isAncestorOf(hit)) << w->objectName().toStdString();
    }

    // A selection released in a row goes to the clipboard.
    Row(8)->SetSelStart(0);
    Row(8)->SetSelLength(2);
    QTest::mouseRelease(Row(8)->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("你好"));

    // F3 opens the partner just above the input frame; Close waits for it.
    QTest::keyClick(chat, Qt::Key_F3);
    ChatTest* partner = Forms::Find<ChatTest>();
    ASSERT_TRUE(partner);
    EXPECT_TRUE(partner->isVisible());
    EXPECT_FALSE(Control<QPushButton>("Chat", "Command3")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("Chat", "Command5")->isVisible());
    QLabel* caption = Control<QLabel>("ChatTest", "Label1");
    ASSERT_TRUE(caption);
    QSignalSpy partnerGot(partner->findChild<UdpSocket*>(), &UdpSocket::DataArrival);
    QSignalSpy added(&chat->Session(), &ChatSession::MessageAdded);

    // Enter sends; the partner shows the message and acknowledges it.
    ComboBox* input = Control<ComboBox>("Chat", "Combo1");
    input->SetText(QStringLiteral("你好吗"));
    QTest::keyClick(input->lineEdit(), Qt::Key_Return);
    EXPECT_FALSE(Control<QPushButton>("Chat", "Command1")->isEnabled());
    ASSERT_TRUE(WaitFor(added, 1));
    EXPECT_EQ(caption->text(), QStringLiteral("你好吗"));
    EXPECT_EQ(Row(9)->Text(), QStringLiteral("你好吗"));
    EXPECT_EQ(Paper(9), QColor(Qt::white));
    EXPECT_TRUE(input->Text().isEmpty());

    // A click on the partner sends its caption back; the chat's acknowledgement shows "*".
    QTest::mouseClick(caption, Qt::LeftButton);
    ASSERT_TRUE(WaitFor(added, 2));
    EXPECT_EQ(Row(9)->Text(), QStringLiteral("你好吗"));
    EXPECT_EQ(Paper(9), QColor(192, 255, 255));
    EXPECT_EQ(Row(8)->Text(), QStringLiteral("你好吗"));
    EXPECT_EQ(Paper(8), QColor(Qt::white));
    EXPECT_EQ(Row(6)->Text(), QStringLiteral("你好"));
    ASSERT_TRUE(WaitFor(partnerGot, 2));
    EXPECT_EQ(caption->text(), QStringLiteral("*你好"));

    // F3 again closes the partner; the chat's socket is as it was (never connected).
    QTest::keyClick(chat, Qt::Key_F3);
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("ChatTest")));
    EXPECT_TRUE(Control<QPushButton>("Chat", "Command3")->isEnabled());
    EXPECT_FALSE(chat->Session().Socket().IsBound());
    EXPECT_TRUE(chat->Session().Socket().RemoteHost.isEmpty());

    // Close: back to the Assistants menu, the history saved with the two new messages.
    QTest::mouseClick(Control<QPushButton>("Chat", "Command3"), Qt::LeftButton);
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Chat")));
    EXPECT_EQ(State().CurrentActivity, 10);
    WaitForWrites();
    EXPECT_EQ(ReadFile("Record/Chat.txt"),
        QByteArray("1\xC4\xE3\xBA\xC3\r\n0hello\r\n0\xC4\xE3\xBA\xC3\xC2\xF0\r\n1\xC4\xE3\xBA\xC3\xC2\xF0\r\n"));
}

TEST_F(ChatWindowTest, AFloodFillsTheRowsOncePerTurnAndTheMessageAfterItIsShownAndAcknowledged)
{
    AppendCharacterRecord({QStringLiteral("你"), {MakeReading(QStringLiteral("n.i"), u'3')}, {}});
    AppendCharacterRecord({QStringLiteral("好"), {MakeReading(QStringLiteral("h.ao"), u'3')}, {}});
    WriteFile("Record/Chat.txt", "0a\r\n0b\r\n0c\r\n");
    RegisterChatForms();
    Chat* chat = Forms::Load<Chat>();
    ASSERT_TRUE(chat);
    chat->Show();
    const QHostAddress chatAddress(QStringLiteral("127.0.0.1"));
    QUdpSocket partner;
    ASSERT_TRUE(partner.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    UdpSocket& socket = chat->Session().Socket();
    socket.BindAddress = chatAddress;
    ASSERT_TRUE(socket.Bind());
    socket.RemoteHost = QStringLiteral("127.0.0.2");
    socket.RemotePort = partner.localPort();
    Control<QCheckBox>("Chat", "Check1")->setChecked(true);
    QSignalSpy added(&chat->Session(), &ChatSession::MessageAdded);
    QSignalSpy topRowSet(Row(0)->document(), &QTextDocument::contentsChanged);
    auto send = [&](const QString& text) { partner.writeDatagram(ChatWire::Message(text).value(), chatAddress, socket.LocalPort); };
    auto acksTo = [&](int count) {
        QByteArrayList acks;
        while (acks.size() < count && (partner.hasPendingDatagrams() || partner.waitForReadyRead(5000)))
            acks.append(partner.receiveDatagram().data());
        return acks;
    };

    // Read in batches of 32: the first message is read aloud at once, from the row showing it.
    constexpr int flood = 100;
    send(QStringLiteral("你好"));
    for (int i = 2; i <= flood; ++i)
        send(QStringLiteral("第%1句").arg(i));
    ASSERT_TRUE(WaitFor(added, flood));
    EXPECT_LT(topRowSet.count(), flood / 4) << "the rows are refilled per turn, not per message";
    for (int row = 0; row < ChatRows::Count; ++row) {
        EXPECT_EQ(Row(row)->Text(), QStringLiteral("第%1句").arg(flood - 9 + row)) << row;
        EXPECT_EQ(Paper(row), QColor(192, 255, 255)) << row;
    }
    auto* scroll = Control<QScrollBar>("Chat", "VScroll1");
    EXPECT_TRUE(scroll->isEnabled());
    EXPECT_EQ(scroll->maximum(), 3 + flood - ChatRows::Count);
    EXPECT_EQ(scroll->value(), scroll->maximum());
    EXPECT_EQ(acksTo(flood).size(), flood);
    Clock::Advance(100);
    for (int i = 0; i < 1000 && chat->Session().Converting(); ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(chat->Session().Messages().at(3).Sound, QStringLiteral("ni3hao3"));

    send(QStringLiteral("再见"));
    ASSERT_TRUE(WaitFor(added, flood + 1));
    EXPECT_EQ(Row(9)->Text(), QStringLiteral("再见"));
    EXPECT_EQ(Row(8)->Text(), QStringLiteral("第%1句").arg(flood));
    EXPECT_EQ(scroll->maximum(), 3 + flood + 1 - ChatRows::Count);
    EXPECT_EQ(acksTo(1), QByteArrayList{ChatWire::Ack(QStringLiteral("再见"))});

    // The learner scrolls to the top in the turn a message came: the scroll wins.
    chat->Session().Link().HandleDatagram(ChatWire::Message(QStringLiteral("晚安")).value(),
        QHostAddress(socket.RemoteHost), socket.RemotePort);
    scroll->setValue(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(Row(0)->Text(), QStringLiteral("a"));
    EXPECT_EQ(scroll->value(), 0);
    EXPECT_EQ(scroll->maximum(), 3 + flood + 2 - ChatRows::Count);
}

TEST_F(ChatWindowTest, AfterTheBoxOfCharactersThePartnerCannotReadTheKeysGoToTheInput)
{
    RegisterChatForms();
    Chat* chat = Forms::Load<Chat>();
    ASSERT_TRUE(chat);
    chat->Show();
    ComboBox* input = Control<ComboBox>("Chat", "Combo1");
    input->SetText(QStringLiteral("好\u0E01"));
    QTest::mouseClick(Control<QPushButton>("Chat", "Command1"), Qt::LeftButton);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    ASSERT_TRUE(chat->focusWidget());
    QTest::keyClick(chat->focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(input->Text(), QStringLiteral("好"));
}

} // namespace
