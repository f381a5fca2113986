#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>
#include <QRandomGenerator>
#include <semaphore>

#include "AppState.h"
#include "BackgroundWriter.h"
#include "CharacterTable.h"
#include "ChatSession.h"
#include "Clock.h"
#include "CodePage.h"
#include "SafeFile.h"
#include "TestSupport.h"

namespace {

const QHostAddress First(QStringLiteral("127.0.0.1"));
const QHostAddress Second(QStringLiteral("127.0.0.2"));

bool WaitFor(QSignalSpy& spy, int count = 1)
{
    while (spy.count() < count) {
        if (!spy.wait(5000))
            return false;
    }
    return true;
}

// A plain socket on 127.0.0.2 playing the partner byte by byte.
struct RawPeer {
    QUdpSocket socket;
    QSignalSpy ready{&socket, &QUdpSocket::readyRead};
    quint16 chatPort{0};
    QByteArray Next()
    {
        if (!socket.hasPendingDatagrams() && !ready.wait(5000))
            return {};
        return socket.receiveDatagram().data();
    }
    void Reply(const QByteArray& bytes) { socket.writeDatagram(bytes, First, chatPort); }
};

class ChatSessionTest : public AppFixture {
protected:
    // The session bound to 127.0.0.1 on a port of the system's choice, sending to the peer.
    void Pair(ChatSession& session, RawPeer& peer)
    {
        ASSERT_TRUE(peer.socket.bind(Second, 0));
        session.Socket().BindAddress = First;
        session.Socket().LocalPort = 0;
        ASSERT_TRUE(session.Socket().Bind());
        session.Socket().RemoteHost = Second.toString();
        session.Socket().RemotePort = peer.socket.localPort();
        peer.chatPort = session.Socket().LocalPort;
    }
    // A message from the configured partner, handed to the link as the socket would.
    static void Arrive(ChatSession& session, const QString& text)
    {
        session.Link().HandleDatagram(ChatWire::Message(text).value(), QHostAddress(session.Socket().RemoteHost),
            session.Socket().RemotePort);
    }
    // Runs the conversion's posted steps to the end.
    static void Drain(ChatSession& session)
    {
        for (int i = 0; i < 100000 && session.Converting(); ++i)
            QCoreApplication::processEvents();
    }
    // A port below 32768 (the settings record's port is 16-bit signed) free on both addresses.
    static quint16 FreeSharedPort()
    {
        for (int attempt = 0; attempt < 200; ++attempt) {
            const auto port = quint16(20000 + QRandomGenerator::global()->bounded(12000));
            QUdpSocket a;
            QUdpSocket b;
            if (a.bind(First, port) && b.bind(Second, port))
                return port;
        }
        return 0;
    }
    // Received messages without a network: the partner is a port where nobody listens.
    void Offline(ChatSession& session)
    {
        session.Socket().RemoteHost = Second.toString();
        session.Socket().RemotePort = 9;
    }
    void Tables()
    {
        AppState& s = State();
        s.WordText[0] = QStringList{QStringLiteral("我们")};
        s.WordText[1] = QStringList{QStringLiteral(" we ")};
        s.WordPinyin = QStringList{QStringLiteral("w.o3 m.en0")};
        s.WordCount = s.WordCountCopy = 1;
        AppendCharacterRecord({QStringLiteral("好"), {MakeReading(QStringLiteral("h.ao"), u'3')}, {}});
    }
};

TEST_F(ChatSessionTest, TwoLearnersExchangeAMessageAndBothHistoriesHoldIt)
{
    const quint16 port = FreeSharedPort();
    ASSERT_NE(port, 0);
    SettingRecord toSecond;
    const qint16 second[4] = {127, 0, 0, 2};
    std::copy(std::begin(second), std::end(second), toSecond.Address);
    toSecond.ChatPort = qint16(port);
    WriteFile("Record/Setting.vmq", toSecond.ToBytes());

    ChatSession a;
    a.Socket().BindAddress = First;
    a.Connect(); // from Record/Setting.vmq
    EXPECT_EQ(a.Socket().RemoteHost, QStringLiteral("127.0.0.2"));
    EXPECT_EQ(a.Socket().LocalPort, port);
    ChatSession b;
    b.Socket().BindAddress = Second;
    SettingRecord toFirst = toSecond;
    toFirst.Address[3] = 1;
    b.Connect(toFirst);

    QSignalSpy aAdded(&a, &ChatSession::MessageAdded);
    QSignalSpy bAdded(&b, &ChatSession::MessageAdded);
    QSignalSpy delivered(&a, &ChatSession::InputDelivered);
    ASSERT_EQ(a.Send(QStringLiteral("你好")), ChatSession::SendOutcome::Sent);
    EXPECT_FALSE(a.SendEnabled());
    EXPECT_EQ(a.Send(QStringLiteral("again")), ChatSession::SendOutcome::Ignored);
    ASSERT_TRUE(WaitFor(bAdded));
    ASSERT_TRUE(WaitFor(aAdded));

    ASSERT_EQ(a.MessageCount(), 1);
    EXPECT_EQ(a.Messages()[0].Text, QStringLiteral("你好"));
    EXPECT_FALSE(a.Messages()[0].Received);
    ASSERT_EQ(b.MessageCount(), 1);
    EXPECT_EQ(b.Messages()[0].Text, QStringLiteral("你好"));
    EXPECT_TRUE(b.Messages()[0].Received);
    EXPECT_EQ(delivered.count(), 1);
    EXPECT_TRUE(a.AutosaveRunning() && b.AutosaveRunning());
    EXPECT_TRUE(a.Status().isEmpty());

    Clock::Advance(2000);
    EXPECT_TRUE(a.SendEnabled());
}

TEST_F(ChatSessionTest, WithoutAcknowledgementSendComesBackAfterTwoSecondsAndNothingIsRecorded)
{
    ChatSession a;
    RawPeer peer;
    Pair(a, peer);
    QSignalSpy enabled(&a, &ChatSession::SendEnabledChanged);
    ASSERT_EQ(a.Send(QStringLiteral("你好")), ChatSession::SendOutcome::Sent);
    EXPECT_EQ(peer.Next(), QByteArray::fromHex("24C4E3BAC3"));
    Clock::Advance(1999);
    EXPECT_FALSE(a.SendEnabled());
    Clock::Advance(1);
    EXPECT_TRUE(a.SendEnabled());
    EXPECT_EQ(enabled.count(), 2);
    EXPECT_EQ(a.MessageCount(), 0);
    EXPECT_FALSE(a.AutosaveRunning());
    EXPECT_TRUE(a.Status().isEmpty()) << "no time-out is reported";

    // A late acknowledgement is still matched against the pending text.
    QSignalSpy added(&a, &ChatSession::MessageAdded);
    peer.Reply(QByteArray::fromHex("23C4E3BAC3"));
    ASSERT_TRUE(WaitFor(added));
    EXPECT_EQ(a.Messages()[0].Text, QStringLiteral("你好"));
}

TEST_F(ChatSessionTest, AMismatchedAcknowledgementIsReportedAndRecordsNothing)
{
    ChatSession a;
    RawPeer peer;
    Pair(a, peer);
    QSignalSpy status(&a, &ChatSession::StatusChanged);
    QSignalSpy added(&a, &ChatSession::MessageAdded);
    ASSERT_EQ(a.Send(QStringLiteral("你好吗")), ChatSession::SendOutcome::Sent);
    peer.Next();
    peer.Reply(QByteArray::fromHex("23C4E3") + "x");
    ASSERT_TRUE(WaitFor(status));
    EXPECT_EQ(a.Status(), QStringLiteral("The message was not delivered successfully."));
    EXPECT_EQ(added.count(), 0);

    peer.Reply(QByteArray::fromHex("23C4E3BAC3"));
    ASSERT_TRUE(WaitFor(added));
    EXPECT_TRUE(a.Status().isEmpty());
    EXPECT_EQ(a.Messages()[0].Text, QStringLiteral("你好吗"));
}

TEST_F(ChatSessionTest, OnlyCodePage936GoesOnTheWireEitherWay)
{
    ChatSession a;
    RawPeer peer;
    Pair(a, peer);
    QSignalSpy added(&a, &ChatSession::MessageAdded);

    // Characters 936 lacks are named to the learner and nothing is sent.
    for (const QString& text : {QStringLiteral("5\u0E01 好"), QStringLiteral("好😀好")}) {
        SCOPED_TRACE(text.toStdString());
        m_boxes->Clear();
        EXPECT_EQ(a.Send(text), ChatSession::SendOutcome::NotInCodePage);
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes()[0].text, NotInCodePageText(text.mid(1, 1) == u"\u0E01" ? QStringLiteral("\u0E01") : QStringLiteral("😀")));
        EXPECT_TRUE(a.SendEnabled());
        EXPECT_TRUE(a.Link().PendingText().isEmpty());
    }

    // Datagrams that are not 936 (GB18030's four-byte and euro codes, a byte 936 lacks, a
    // lead byte cut off) cannot be read: neither recorded nor acknowledged.
    for (const char* hex : {"2495329031", "24A2E3", "24FF", "24C4E3BA"})
        peer.Reply(QByteArray::fromHex(hex));
    peer.Reply(QByteArray::fromHex("24C4E3BAC3"));
    ASSERT_TRUE(WaitFor(added));
    EXPECT_EQ(a.Messages()[0].Text, QStringLiteral("你好"));
    EXPECT_EQ(peer.Next(), QByteArray::fromHex("23C4E3BAC3"));
    ASSERT_EQ(a.Send(QStringLiteral("ok")), ChatSession::SendOutcome::Sent);
    EXPECT_EQ(peer.Next(), QByteArrayLiteral("$ok")); // nothing went out before it
    EXPECT_EQ(a.MessageCount(), 1);

    // 936's euro sign is its single byte 0x80, typed or received.
    Clock::Advance(2000);
    ASSERT_EQ(a.Send(QStringLiteral("5€")), ChatSession::SendOutcome::Sent);
    EXPECT_EQ(peer.Next(), QByteArray::fromHex("243580"));
    peer.Reply(QByteArray::fromHex("233580"));
    peer.Reply(QByteArray::fromHex("2480C4E3"));
    ASSERT_TRUE(WaitFor(added, 3));
    EXPECT_EQ(a.Messages()[1].Text, QStringLiteral("5€"));
    EXPECT_EQ(a.Messages()[2].Text, QStringLiteral("€你"));
    EXPECT_EQ(peer.Next(), QByteArray::fromHex("2380C4E3"));
}

TEST_F(ChatSessionTest, AfterFortyDatagramsFromAnotherAddressThePartnerIsStillHeard)
{
    ChatSession a;
    RawPeer peer;
    Pair(a, peer);
    QUdpSocket stranger;
    ASSERT_TRUE(stranger.bind(QHostAddress(QStringLiteral("127.0.0.3")), 0));
    QSignalSpy read(&a.Socket(), &UdpSocket::DataArrival);
    QSignalSpy added(&a, &ChatSession::MessageAdded);
    for (int i = 0; i < 40; ++i)
        stranger.writeDatagram("$noise", First, peer.chatPort);
    ASSERT_TRUE(WaitFor(read, 40));
    EXPECT_EQ(a.MessageCount(), 0);

    peer.Reply(QByteArray::fromHex("24C4E3BAC3"));
    ASSERT_TRUE(WaitFor(added));
    EXPECT_EQ(a.Messages()[0].Text, QStringLiteral("你好"));
    EXPECT_EQ(peer.Next(), QByteArray::fromHex("23C4E3BAC3"));
    ASSERT_EQ(a.Send(QStringLiteral("再见")), ChatSession::SendOutcome::Sent);
    EXPECT_EQ(peer.Next(), QByteArray::fromHex("24D4D9BCFB"));
    peer.Reply(QByteArray::fromHex("23D4D9BCFB"));
    ASSERT_TRUE(WaitFor(added, 2));
    EXPECT_EQ(a.Messages()[1].Text, QStringLiteral("再见"));
    EXPECT_FALSE(a.Messages()[1].Received);
}

TEST_F(ChatSessionTest, AnAllZeroAddressSendsNothing)
{
    ChatSession a;
    a.Socket().BindAddress = First;
    a.Connect(); // no Record/Setting.vmq: every part 0, port 1980
    EXPECT_EQ(a.Socket().LocalPort, 1980);
    EXPECT_EQ(a.Send(QStringLiteral("   ")), ChatSession::SendOutcome::Blank);
    EXPECT_TRUE(a.Status().isEmpty());
    EXPECT_EQ(a.Send(QStringLiteral("你好")), ChatSession::SendOutcome::Failed);
    EXPECT_EQ(a.Status(), QStringLiteral("The IP or port is not correct."));
    EXPECT_TRUE(a.SendEnabled());
    EXPECT_TRUE(a.Link().PendingText().isEmpty());
}

TEST_F(ChatSessionTest, LineBreaksNeverSplitAMessageInTheHistoryFile)
{
    ChatSession a;
    RawPeer peer;
    Pair(a, peer);
    QSignalSpy added(&a, &ChatSession::MessageAdded);
    peer.Reply("$line\r\nnext");
    ASSERT_TRUE(WaitFor(added));
    EXPECT_EQ(peer.Next(), QByteArray("#li"));
    ASSERT_EQ(a.Send(QStringLiteral("a\nb")), ChatSession::SendOutcome::Sent);
    EXPECT_EQ(peer.Next(), QByteArray("$a\nb"));
    peer.Reply("#a\n");
    ASSERT_TRUE(WaitFor(added, 2));
    a.Close();
    WaitForWrites();

    EXPECT_EQ(ReadFile("Record/Chat.txt"), QByteArray("1line  next\r\n0a b\r\n"));
    const QVector<ChatMessage> loaded = ChatHistory::Load();
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded[1].Text, QStringLiteral("a b"));
}

TEST_F(ChatSessionTest, TheHistoryIsSavedAtTheFifthTickAfterTheFirstChange)
{
    ChatSession a;
    Offline(a);
    Arrive(a, QStringLiteral("你好"));
    Clock::Advance(30000);
    Arrive(a, QStringLiteral("再见")); // the running timer is not restarted
    EXPECT_TRUE(a.AutosaveRunning());
    Clock::Advance(4 * 60000 - 30000);
    EXPECT_FALSE(QFile::exists(Path("Record/Chat.txt")));
    Clock::Advance(60000);
    WaitForWrites();
    EXPECT_EQ(ReadFile("Record/Chat.txt"), QByteArray::fromHex("31C4E3BAC30D0A31D4D9BCFB0D0A"));
    EXPECT_FALSE(a.AutosaveRunning());
    EXPECT_FALSE(a.HasUnsavedChanges());

    // The next change arms a fresh count of five.
    Arrive(a, QStringLiteral("ok"));
    Clock::Advance(4 * 60000);
    EXPECT_EQ(ChatHistory::Load().size(), 2);
    Clock::Advance(60000);
    EXPECT_EQ(ChatHistory::Load().size(), 3);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(ChatSessionTest, TheAutosaveIsWrittenWhileTheWindowGoesOnAndTheCloseSaveLandsAfterIt)
{
    ChatSession a;
    RawPeer peer;
    Pair(a, peer);
    QSignalSpy added(&a, &ChatSession::MessageAdded);
    peer.Reply(QByteArray::fromHex("24C4E3BAC3"));
    ASSERT_TRUE(WaitFor(added));
    peer.Next();

    // The writer is busy with another file until the test lets it go.
    std::binary_semaphore busy(0);
    BackgroundWriter::Instance().Post([&busy] { busy.acquire(); });
    Clock::Advance(5 * 60000);
    EXPECT_FALSE(QFile::exists(Path("Record/Chat.txt")));
    peer.Reply(QByteArray::fromHex("24D4D9BCFB"));
    ASSERT_TRUE(WaitFor(added, 2));
    EXPECT_EQ(peer.Next(), QByteArray::fromHex("23D4D9BCFB"));

    // Closing with the autosave still waiting: its save goes after it and holds both.
    a.Close();
    busy.release();
    WaitForWrites();
    EXPECT_EQ(ReadFile("Record/Chat.txt"), QByteArray::fromHex("31C4E3BAC30D0A31D4D9BCFB0D0A"));
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(ChatSessionTest, AFailedAutosaveIsReportedAndTriedAgainAtClose)
{
    WriteFile("Record", "a file where the folder should be");
    ChatSession a;
    Offline(a);
    Arrive(a, QStringLiteral("你好"));
    Clock::Advance(5 * 60000);
    WaitForWrites();
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].title, QStringLiteral("Warning"));
    EXPECT_TRUE(a.HasUnsavedChanges());
    EXPECT_FALSE(a.AutosaveRunning());

    ASSERT_TRUE(QFile::remove(Path("Record")));
    a.Close();
    WaitForWrites();
    EXPECT_EQ(ReadFile("Record/Chat.txt"), QByteArray::fromHex("31C4E3BAC30D0A"));
    EXPECT_EQ(a.MessageCount(), 0);
}

// A history just under the file's bound that a flood pushes past it: the oldest messages go to
// a file of their own, named to the learner, and every acknowledged message is on disk. The
// next session loads the rest and saves past it without moving anything again.
TEST_F(ChatSessionTest, AHistoryGrownPastTheFileBoundKeepsEveryMessage)
{
    const QString long1 = QString(990, QChar(0x4F60)); // 你: two bytes each
    const QByteArray line = "1" + CodePage::ToGbk(long1) + "\r\n";
    const qsizetype old = SafeFile::MaxTextFileBytes / line.size();
    QByteArray bytes;
    bytes.reserve(old * line.size());
    for (qsizetype i = 0; i < old; ++i)
        bytes += line;
    WriteFile("Record/Chat.txt", bytes);
    bytes.clear();
    QStringList all(old, "1" + long1);

    ChatSession a;
    Offline(a);
    a.LoadHistory();
    ASSERT_EQ(a.MessageCount(), old);
    for (int i = 0; i < 20; ++i) {
        const QString text = QStringLiteral("新%1 ").arg(i) + long1;
        Arrive(a, text);
        all.append("1" + text);
    }
    a.Close();
    WaitForWrites();

    const QString kept = Path("Record/Chat (kept 1).txt");
    ASSERT_EQ(m_boxes->Boxes().size(), 1) << "no disk-write warning, one word on the kept file";
    EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Exclamation);
    EXPECT_TRUE(m_boxes->Boxes()[0].text.contains(QDir::toNativeSeparators(kept)));
    bool read = false;
    QStringList onDisk = SafeFile::ReadTextLines(kept, &read);
    ASSERT_TRUE(read) << "the kept file reads back";
    const qsizetype keptLines = onDisk.size();
    onDisk += ChatHistory::ToLines(ChatHistory::Load());
    EXPECT_EQ(onDisk.size(), all.size());
    EXPECT_TRUE(onDisk == all) << "every message, in order";
    EXPECT_LE(QFileInfo(Path("Record/Chat.txt")).size(), SafeFile::MaxTextFileBytes / 2);

    ChatSession b;
    Offline(b);
    b.LoadHistory();
    EXPECT_EQ(b.MessageCount(), all.size() - keptLines);
    Arrive(b, QStringLiteral("再见"));
    b.Close();
    WaitForWrites();
    EXPECT_EQ(ChatHistory::Load().size(), all.size() - keptLines + 1);
    EXPECT_FALSE(QFileInfo::exists(Path("Record/Chat (kept 2).txt")));
    EXPECT_EQ(m_boxes->Boxes().size(), 1);
}

TEST_F(ChatSessionTest, ClosingWithoutChangesLeavesTheFileAsItWas)
{
    const QByteArray old("1old\r\nnot a message\r\n0mine\r\n");
    WriteFile("Record/Chat.txt", old);
    ChatSession a;
    a.LoadHistory();
    EXPECT_EQ(a.MessageCount(), 2);
    EXPECT_FALSE(a.AutosaveRunning());
    a.Close();
    EXPECT_EQ(ReadFile("Record/Chat.txt"), old);
}

TEST_F(ChatSessionTest, ClearingDeletesTheFileAndStopsTheAutosave)
{
    WriteFile("Record/Chat.txt", "1old\r\n");
    ChatSession a;
    Offline(a);
    a.LoadHistory();
    Arrive(a, QStringLiteral("new"));
    a.ClearHistory();
    WaitForWrites();
    EXPECT_EQ(a.MessageCount(), 0);
    EXPECT_FALSE(QFile::exists(Path("Record/Chat.txt")));
    EXPECT_FALSE(a.AutosaveRunning());
    Clock::Advance(5 * 60000);
    a.Close();
    WaitForWrites();
    EXPECT_FALSE(QFile::exists(Path("Record/Chat.txt")));
}

TEST_F(ChatSessionTest, ReadingAloudBuildsTheSyllablesOnceThenReplaysThem)
{
    Tables();
    ChatSession a;
    Offline(a);
    Arrive(a, QStringLiteral("我们好"));
    Arrive(a, QStringLiteral("龘"));
    Arrive(a, QStringLiteral("hello"));
    QSignalSpy built(&a, &ChatSession::SoundBuilt);
    QSignalSpy progress(&a, &ChatSession::ProgressChanged);

    EXPECT_EQ(a.ReadAloud(1, QStringLiteral(" 我们好 ")), ChatSession::ReadOutcome::Converting);
    EXPECT_TRUE(a.Converting());
    EXPECT_EQ(a.ReadAloud(2, QStringLiteral("龘")), ChatSession::ReadOutcome::Busy);
    Clock::Advance(99);
    EXPECT_EQ(progress.count(), 0);
    Clock::Advance(1);
    Drain(a);
    EXPECT_FALSE(a.Converting());
    ASSERT_EQ(built.count(), 1);
    EXPECT_EQ(built.at(0).at(0).toInt(), 1);
    EXPECT_EQ(a.Messages()[0].Sound, QStringLiteral("wo3men0hao3"));
    EXPECT_EQ(progress.at(0).at(0).toInt(), 33);
    EXPECT_EQ(progress.at(2).at(0).toInt(), 100);
    EXPECT_EQ(progress.last().at(0).toInt(), 0) << "the bar is reset";
    EXPECT_EQ(State().SyllableQueueCount, 3);
    EXPECT_EQ(State().SyllableQueue.At(1, 2), QStringLiteral("men1"));

    // The stored sequence plays at once; nothing readable stores "0".
    State().SyllableQueueCount = 0;
    EXPECT_EQ(a.ReadAloud(1, QStringLiteral("我们好")), ChatSession::ReadOutcome::Played);
    EXPECT_EQ(State().SyllableQueueCount, 3);
    EXPECT_EQ(a.ReadAloud(2, QStringLiteral("龘")), ChatSession::ReadOutcome::Converting);
    Clock::Advance(100);
    Drain(a);
    EXPECT_EQ(a.Messages()[1].Sound, QStringLiteral("0"));
    EXPECT_EQ(a.ReadAloud(2, QStringLiteral("龘")), ChatSession::ReadOutcome::NothingToPlay);
    EXPECT_EQ(a.ReadAloud(3, QStringLiteral("hello")), ChatSession::ReadOutcome::Unreadable);
    EXPECT_EQ(a.ReadAloud(0, QString()), ChatSession::ReadOutcome::Unreadable);
}

TEST_F(ChatSessionTest, ClearingOrClosingDropsAConversion)
{
    Tables();
    enum When { BeforeTheStart, BetweenCharacters };
    for (bool close : {false, true}) {
        for (When when : {BeforeTheStart, BetweenCharacters}) {
            SCOPED_TRACE(testing::Message() << (close ? "close" : "clear") << " " << when);
            State().SyllableQueueCount = 0;
            ChatSession a;
            Offline(a);
            Arrive(a, QStringLiteral("我们好我们好"));
            QSignalSpy built(&a, &ChatSession::SoundBuilt);
            auto drop = [&] { close ? a.Close() : a.ClearHistory(); };
            bool dropped = false;
            QObject::connect(&a, &ChatSession::ProgressChanged, &a, [&](int percent) {
                if (when == BetweenCharacters && percent > 0 && !dropped) {
                    dropped = true;
                    drop();
                }
            });
            ASSERT_EQ(a.ReadAloud(1, QStringLiteral("我们好我们好")), ChatSession::ReadOutcome::Converting);
            if (when == BeforeTheStart)
                drop();
            Clock::Advance(100);
            Drain(a);
            EXPECT_EQ(dropped, when == BetweenCharacters);
            EXPECT_FALSE(a.Converting());
            EXPECT_EQ(built.count(), 0);
            EXPECT_EQ(State().SyllableQueueCount, 0) << "nothing is played";
            EXPECT_EQ(a.MessageCount(), 0);
        }
    }
}

} // namespace
