#include <gtest/gtest.h>

#include <QNetworkDatagram>
#include <QtEndian>
#include <QFile>
#include <QSignalSpy>
#include <QUdpSocket>
#include <memory>

#include "ChatLink.h"
#include "TestSupport.h"
#include "UdpSocket.h"

namespace {

const QHostAddress First(QStringLiteral("127.0.0.1"));
const QHostAddress Second(QStringLiteral("127.0.0.2"));
const QHostAddress Stranger(QStringLiteral("127.0.0.3"));

// Waits (in the event loop, bounded) until the spy has seen count signals.
bool WaitFor(QSignalSpy& spy, int count = 1)
{
    while (spy.count() < count) {
        if (!spy.wait(5000))
            return false;
    }
    return true;
}

// One chat end bound to its own loopback address, pointed at the other's.
struct End {
    UdpSocket socket;
    ChatLink link{&socket};
    QSignalSpy confirmed{&link, &ChatLink::Confirmed};
    QSignalSpy received{&link, &ChatLink::Received};
    QSignalSpy notDelivered{&link, &ChatLink::NotDelivered};

    bool Bind(const QHostAddress& address, quint16 port)
    {
        socket.BindAddress = address;
        socket.LocalPort = port;
        return socket.Bind();
    }
    void PointAt(const QHostAddress& address, quint16 port)
    {
        socket.RemoteHost = address.toString();
        socket.RemotePort = port;
    }
};

// A plain socket that plays a partner byte by byte.
struct RawPeer {
    QUdpSocket socket;
    QSignalSpy ready{&socket, &QUdpSocket::readyRead};
    QByteArray Next()
    {
        if (!socket.hasPendingDatagrams() && !ready.wait(5000))
            return {};
        return socket.receiveDatagram().data();
    }
};

// Both chat ends on one port number, each on its own address, as two machines would be.
class ChatPair : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUdpSocket probe;
        ASSERT_TRUE(probe.bind(First, 0));
        m_port = probe.localPort();
        probe.close();
        ASSERT_TRUE(a.Bind(First, m_port));
        ASSERT_TRUE(b.Bind(Second, m_port));
        a.PointAt(Second, m_port);
        b.PointAt(First, m_port);
    }
    quint16 m_port{0};
    End a;
    End b;
};

TEST_F(ChatPair, AMessageAndItsAcknowledgementCrossTheWire)
{
    EXPECT_EQ(a.link.Send(QStringLiteral("你好")), ChatLink::SendResult::Sent);
    ASSERT_TRUE(WaitFor(b.received));
    EXPECT_EQ(b.received.at(0).at(0).toString(), QStringLiteral("你好"));
    ASSERT_TRUE(WaitFor(a.confirmed));
    EXPECT_EQ(a.confirmed.at(0).at(0).toString(), QStringLiteral("你好"));
    EXPECT_TRUE(a.link.PendingText().isEmpty());

    // A one-character message is acknowledged by that character alone.
    EXPECT_EQ(b.link.Send(QStringLiteral("好")), ChatLink::SendResult::Sent);
    ASSERT_TRUE(WaitFor(a.received));
    ASSERT_TRUE(WaitFor(b.confirmed));
    EXPECT_EQ(b.confirmed.at(0).at(0).toString(), QStringLiteral("好"));
    EXPECT_EQ(a.notDelivered.count() + b.notDelivered.count(), 0);
}

TEST(ChatWireTest, BytesOnTheWireAreCodePage936WithoutTerminator)
{
    RawPeer peer;
    ASSERT_TRUE(peer.socket.bind(Second, 0));
    End a;
    ASSERT_TRUE(a.Bind(First, 0));
    a.PointAt(Second, peer.socket.localPort());

    ASSERT_EQ(a.link.Send(QStringLiteral("你好")), ChatLink::SendResult::Sent);
    EXPECT_EQ(peer.Next(), QByteArray::fromHex("24C4E3BAC3"));

    // The partner's message and the acknowledgement our end sends back.
    peer.socket.writeDatagram(QByteArray::fromHex("24CED2C3C7BAC3"), First, a.socket.LocalPort);
    ASSERT_TRUE(WaitFor(a.received));
    EXPECT_EQ(a.received.at(0).at(0).toString(), QStringLiteral("我们好"));
    EXPECT_EQ(peer.Next(), QByteArray::fromHex("23CED2C3C7"));
}

TEST(ChatWireTest, OnlyTheExactAcknowledgementOfThePendingTextCounts)
{
    RawPeer peer;
    ASSERT_TRUE(peer.socket.bind(Second, 0));
    End a;
    ASSERT_TRUE(a.Bind(First, 0));
    a.PointAt(Second, peer.socket.localPort());
    auto reply = [&](const QByteArray& bytes) {
        peer.socket.writeDatagram(bytes, First, a.socket.LocalPort);
    };

    // An acknowledgement while nothing is pending is ignored.
    reply(QByteArrayLiteral("#ab"));
    reply(QByteArrayLiteral("$m")); // a marker: everything before it has been handled
    ASSERT_TRUE(WaitFor(a.received));
    peer.Next();
    EXPECT_EQ(a.confirmed.count() + a.notDelivered.count(), 0);
    ASSERT_EQ(a.link.Send(QStringLiteral("abc")), ChatLink::SendResult::Sent);
    peer.Next();
    reply(QByteArrayLiteral("#a")); // a prefix is not the acknowledgement
    ASSERT_TRUE(WaitFor(a.notDelivered));
    EXPECT_EQ(a.confirmed.count(), 0);
    EXPECT_EQ(a.link.PendingText(), QStringLiteral("abc"));

    reply(QByteArrayLiteral("#ab"));
    reply(QByteArrayLiteral("#ab")); // the second copy records nothing
    reply(QByteArrayLiteral("$x"));
    ASSERT_TRUE(WaitFor(a.received, 2));
    EXPECT_EQ(a.confirmed.count(), 1);
    EXPECT_EQ(a.notDelivered.count(), 1);
}

TEST(ChatWireTest, StrangersAndEmptyDatagramsAreIgnoredAndControlCharactersBlanked)
{
    RawPeer peer;
    ASSERT_TRUE(peer.socket.bind(Second, 0));
    QUdpSocket stranger;
    ASSERT_TRUE(stranger.bind(Stranger, 0));
    End a;
    ASSERT_TRUE(a.Bind(First, 0));
    a.PointAt(Second, peer.socket.localPort());

    stranger.writeDatagram(QByteArrayLiteral("$from a stranger"), First, a.socket.LocalPort);
    peer.socket.writeDatagram(QByteArray(), First, a.socket.LocalPort);
    peer.socket.writeDatagram(QByteArrayLiteral("$"), First, a.socket.LocalPort);
    peer.socket.writeDatagram(QByteArrayLiteral("$line\r\none\tend"), First, a.socket.LocalPort);
    ASSERT_TRUE(WaitFor(a.received));
    EXPECT_EQ(a.received.count(), 1);
    EXPECT_EQ(a.received.at(0).at(0).toString(), QStringLiteral("line  one end"));
    // Only the one real message was acknowledged.
    EXPECT_EQ(peer.Next(), QByteArrayLiteral("#li"));
    EXPECT_FALSE(peer.socket.hasPendingDatagrams());

    // A message of any first character is taken without it; stored text is capped.
    peer.socket.writeDatagram(QByteArrayLiteral("x") + QByteArray(3000, 'a'), First, a.socket.LocalPort);
    ASSERT_TRUE(WaitFor(a.received, 2));
    EXPECT_EQ(a.received.at(1).at(0).toString().size(), ChatWire::StoredTextLimit);
}

TEST(ChatWireTest, BlankTextsAndMissingPartnersSendNothing)
{
    End a;
    ASSERT_TRUE(a.Bind(First, 0));
    EXPECT_EQ(a.link.Send(QStringLiteral("   ")), ChatLink::SendResult::Blank);
    EXPECT_EQ(a.link.Send(QStringLiteral("hello")), ChatLink::SendResult::Failed); // no partner yet

    SettingRecord none; // every address part 0: no address
    a.link.Connect(none);
    EXPECT_EQ(a.link.Send(QStringLiteral("hello")), ChatLink::SendResult::Failed);
    EXPECT_TRUE(a.link.PendingText().isEmpty());
}

TEST(ChatWireTest, TheSettingsRecordNamesThePartner)
{
    struct Case {
        qint16 parts[4];
        qint16 port;
        const char* host;
        quint16 wantPort;
        bool valid;
    };
    const Case cases[] = {
        {{192, 168, 0, 7}, 0, "192.168.0.7", 1980, true},
        {{10, 0, 0, 1}, 4000, "10.0.0.1", 4000, true},
        {{0, 0, 0, 0}, 0, "0.0.0.0", 1980, false},
        {{256, 0, 0, 1}, 0, "256.0.0.1", 1980, false},
        {{-1, 0, 0, 1}, 0, "-1.0.0.1", 1980, false},
        {{127, 0, 0, 1}, -5, "127.0.0.1", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        SettingRecord record;
        std::copy(std::begin(c.parts), std::end(c.parts), record.Address);
        record.ChatPort = c.port;
        const ChatPeer peer = PeerFromSetting(record);
        EXPECT_EQ(peer.Host, QString::fromLatin1(c.host));
        EXPECT_EQ(peer.Port, c.wantPort);
        EXPECT_EQ(peer.Valid, c.valid);
    }
}

TEST(ChatWireTest, TheTestPartnerTalksOnLoopbackAndGivesTheEndpointBack)
{
    for (bool connected : {true, false}) {
        SCOPED_TRACE(connected);
        End chat;
        chat.PointAt(Second, 4321);
        if (connected) {
            ASSERT_TRUE(chat.Bind(First, 0));
        }
        const ChatLink::Endpoint before = chat.link.Save();
        {
            UdpSocket partnerSocket;
            ChatTestPartner partner(&chat.link, &partnerSocket);
            QSignalSpy caption(&partner, &ChatTestPartner::CaptionChanged);

            // The partner's first click sends its own caption.
            partner.SendCaption();
            ASSERT_TRUE(WaitFor(chat.received));
            EXPECT_EQ(chat.received.at(0).at(0).toString(), QStringLiteral("Test window"));
            ASSERT_TRUE(WaitFor(caption)); // the chat's acknowledgement, shown with "*"
            EXPECT_EQ(partner.Caption(), QStringLiteral("*Te"));

            ASSERT_EQ(chat.link.Send(QStringLiteral("你好")), ChatLink::SendResult::Sent);
            ASSERT_TRUE(WaitFor(caption, 2));
            EXPECT_EQ(partner.Caption(), QStringLiteral("你好"));
            ASSERT_TRUE(WaitFor(chat.confirmed));

            partner.SendCaption();
            ASSERT_TRUE(WaitFor(chat.received, 2));
            EXPECT_EQ(chat.received.at(1).at(0).toString(), QStringLiteral("你好"));
            ASSERT_TRUE(WaitFor(caption, 3));
            EXPECT_EQ(partner.Caption(), QStringLiteral("*你好"));
        }
        const ChatLink::Endpoint after = chat.link.Save();
        EXPECT_EQ(after.RemoteHost, before.RemoteHost);
        EXPECT_EQ(after.RemotePort, before.RemotePort);
        EXPECT_EQ(after.LocalPort, before.LocalPort);
        EXPECT_EQ(after.Bound, before.Bound);
        EXPECT_EQ(after.BindAddress, before.BindAddress);
    }
}

TEST(ChatSocketTest, APartnerThatKeepsSendingLeavesRoomForOtherEventsAndLosesNothing)
{
    UdpSocket ours;
    ours.BindAddress = First;
    ASSERT_TRUE(ours.Bind());
    QUdpSocket partner;
    ASSERT_TRUE(partner.bind(Second, 0));
    // The partner answers each datagram with the next one, so one is always waiting.
    constexpr int total = 2000;
    int sent = 0;
    QVector<int> arrived;
    int arrivedBeforeTheKey = -1;
    QSignalSpy spy(&ours, &UdpSocket::DataArrival);
    QObject::connect(&ours, &UdpSocket::DataArrival, [&](const QByteArray& datagram) {
        arrived.append(datagram.toInt());
        if (arrived.size() == 1) // a key typed during the burst
            QMetaObject::invokeMethod(&ours, [&] { arrivedBeforeTheKey = int(arrived.size()); }, Qt::QueuedConnection);
        if (sent < total)
            partner.writeDatagram(QByteArray::number(++sent), First, ours.LocalPort);
    });
    partner.writeDatagram(QByteArray::number(sent), First, ours.LocalPort);
    ASSERT_TRUE(WaitFor(spy, total + 1));
    EXPECT_GT(arrivedBeforeTheKey, 0);
    EXPECT_LT(arrivedBeforeTheKey, 100);
    for (int i = 0; i <= total; ++i)
        ASSERT_EQ(arrived.value(i, -1), i);
}

// The bytes of datagrams waiting in the kernel for our socket on 127.0.0.1:port (-1: not found).
int QueuedBytes(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/udp"));
    if (!table.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray local = QByteArray::number(qToBigEndian<quint32>(First.toIPv4Address()), 16).toUpper().rightJustified(8, '0')
        + ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> columns = line.simplified().split(' ');
        if (columns.size() > 4 && columns[1] == local)
            return columns[4].split(':').value(1).toInt(nullptr, 16);
    }
    return -1;
}

TEST(ChatSocketTest, AfterABurstOfAnySizeFromAnySendersTheNextDatagramsArrive)
{
    struct Case {
        int burst;
        int senders;
    };
    const Case cases[] = {{1, 1}, {32, 1}, {33, 1}, {40, 1}, {100, 1}, {2000, 1}, {40, 3}, {2000, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.burst << " from " << c.senders);
        UdpSocket ours;
        ours.BindAddress = First;
        ASSERT_TRUE(ours.Bind());
        std::vector<std::unique_ptr<QUdpSocket>> senders;
        for (int i = 0; i < c.senders; ++i) {
            senders.push_back(std::make_unique<QUdpSocket>());
            ASSERT_TRUE(senders.back()->bind(QHostAddress(Second.toIPv4Address() + quint32(i)), 0));
        }
        QSignalSpy spy(&ours, &UdpSocket::DataArrival);
        QByteArrayList arrived;
        int arrivedAtTheNextTurn = -1;
        QObject::connect(&ours, &UdpSocket::DataArrival, [&](const QByteArray& datagram) {
            arrived.append(datagram);
            if (arrived.size() == 1) // a key typed as the burst begins
                QMetaObject::invokeMethod(&ours, [&] { arrivedAtTheNextTurn = int(arrived.size()); }, Qt::QueuedConnection);
        });

        // The kernel keeps what its buffer holds and drops the rest of a long burst.
        for (int i = 0; i < c.burst; ++i)
            senders[std::size_t(i % c.senders)]->writeDatagram("$" + QByteArray::number(i), First, ours.LocalPort);
        ASSERT_GE(QueuedBytes(ours.LocalPort), 0);
        while (QueuedBytes(ours.LocalPort) > 0)
            ASSERT_TRUE(spy.wait(5000)) << arrived.size() << " read, then nothing";
        if (c.burst > 2 * UdpSocket::BatchSize) { // the key had its turn while the burst was read
            EXPECT_GT(arrivedAtTheNextTurn, 0);
            EXPECT_LE(arrivedAtTheNextTurn, 2 * UdpSocket::BatchSize);
        }

        for (int k = 0; k < 2 * c.senders; ++k) {
            const QByteArray single = "$single " + QByteArray::number(k);
            senders[std::size_t(k % c.senders)]->writeDatagram(single, First, ours.LocalPort);
            while (!arrived.contains(single))
                ASSERT_TRUE(spy.wait(5000)) << single.constData() << " never came";
        }
    }
}

TEST_F(ChatPair, TenThousandMessagesOneAfterAnotherAreAllDelivered)
{
    constexpr int count = 10000;
    for (int i = 1; i <= count; ++i) {
        ASSERT_EQ(a.link.Send(QStringLiteral("第%1句").arg(i)), ChatLink::SendResult::Sent);
        ASSERT_TRUE(WaitFor(a.confirmed, i)) << "message " << i;
    }
    EXPECT_EQ(b.received.count(), count);
    EXPECT_EQ(b.received.at(count - 1).at(0).toString(), QStringLiteral("第10000句"));
    EXPECT_EQ(a.notDelivered.count(), 0);
}

} // namespace

