#pragma once
// The chat's wire side. A message travels as "$" + its text and is acknowledged by "#" + its
// first two characters, in code page 936 exactly (a datagram that is not 936 cannot be read
// and is ignored), one datagram each, with no terminator. A sent
// message joins the history only when its acknowledgement comes back.
//
// ChatLink drives the window's socket (Winsock1): the window asks it to connect and send and
// records what it reports. ChatTestPartner is the local test partner's side of the same
// protocol; while it is open the two sockets point at each other on the loopback address.

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <optional>

#include "SettingRecord.h"

class UdpSocket;

namespace ChatWire {
// Texts longer than this are cut when they are stored.
constexpr int StoredTextLimit = 1000;
// No value when the text holds a character that code page 936 cannot carry.
std::optional<QByteArray> Message(const QString& text);
QByteArray Ack(const QString& receivedText);
// A received text as it is stored: control characters become blanks, cut at the limit.
QString CleanReceived(const QString& text);
} // namespace ChatWire

// The partner of the settings record: "a.b.c.d" and the chat port (0 means 1980). Valid only
// with four parts of 0 to 255 that are not all 0, and a port of 1 or more.
struct ChatPeer {
    QString Host;
    quint16 Port{0};
    bool Valid{false};
};
ChatPeer PeerFromSetting(const SettingRecord& record);

class ChatLink : public QObject {
    Q_OBJECT
public:
    // The socket stays the caller's; the link only drives it.
    explicit ChatLink(UdpSocket* socket, QObject* parent = nullptr);

    // Connect: the partner of the settings record becomes the remote end, and its port the
    // local port too. A port that cannot be bound is ignored (sending still works).
    void Connect(const SettingRecord& record);

    enum class SendResult { Sent, Blank, NotInCodePage, Failed };
    // Sends text untrimmed. Blank: nothing sent (the text holds only blanks). NotInCodePage:
    // nothing sent (a character has no code in 936). Failed: no valid partner or the socket
    // refused it. Nothing is pending after any of these.
    SendResult Send(const QString& text);
    // The text of the last message sent and not yet acknowledged ("" when none).
    const QString& PendingText() const { return m_pending; }

    // The socket's end points, so the test partner can borrow the socket and give it back.
    struct Endpoint {
        QString RemoteHost;
        quint16 RemotePort{0};
        quint16 LocalPort{0};
        QHostAddress BindAddress;
        bool Bound{false};
    };
    Endpoint Save() const;
    void Restore(const Endpoint& endpoint);
    UdpSocket* Socket() const { return m_socket; }

    // One arriving datagram (public so that tests and the fuzz driver can feed it). Only the
    // remote end's datagrams count; anything else is dropped unread.
    void HandleDatagram(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort);

signals:
    // The partner acknowledged the pending message: record it as the learner's own.
    void Confirmed(const QString& text);
    // A message from the partner, already acknowledged: record it as received.
    void Received(const QString& text);
    // An acknowledgement that does not match the pending message.
    void NotDelivered();

private:
    UdpSocket* m_socket;
    QString m_pending;
};

// The local test partner: its own socket on the loopback address, pointed at the chat's,
// while the chat's socket is pointed back at it. Closing gives the chat its endpoint back.
class ChatTestPartner : public QObject {
    Q_OBJECT
public:
    ChatTestPartner(ChatLink* chat, UdpSocket* ownSocket, QObject* parent = nullptr);
    ~ChatTestPartner() override;

    // What the partner's label shows: the last thing it received.
    const QString& Caption() const { return m_caption; }
    // A click on the partner: sends its caption to the chat as a message.
    void SendCaption();
    // Gives the chat its endpoint from before (also done on destruction).
    void Close();

signals:
    void CaptionChanged(const QString& caption);

private:
    void HandleDatagram(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort);

    ChatLink* m_chat;
    UdpSocket* m_socket;
    ChatLink::Endpoint m_saved;
    QString m_caption;
    bool m_open{false};
};
