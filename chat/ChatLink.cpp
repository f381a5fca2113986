#include "ChatLink.h"

#include "BlankTrim.h"
#include "CodePage.h"
#include "UdpSocket.h"

namespace {

// The first two characters of a text, a surrogate pair counting as one.
QString FirstTwoCharacters(const QString& text)
{
    qsizetype end = 0;
    for (int n = 0; n < 2 && end < text.size(); ++n)
        end += (text.at(end).isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
    return text.left(end);
}

// The text of a datagram without its first character (its kind: "$", "#", or anything else).
QString Body(const QString& text)
{
    if (text.isEmpty())
        return text;
    return text.mid(text.at(0).isHighSurrogate() && text.size() > 1 ? 2 : 1);
}

bool SameAddress(const QHostAddress& a, const QString& host)
{
    const QHostAddress b(host);
    return !b.isNull() && a.isEqual(b, QHostAddress::ConvertV4MappedToIPv4);
}

// The text of a datagram from the socket's partner. None for an empty datagram, one from
// anyone else, or one that cannot be read as 936 (ignored, never acknowledged).
std::optional<QString> PartnerText(
    const UdpSocket& socket, const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort)
{
    if (datagram.isEmpty() || senderPort != socket.RemotePort || !SameAddress(sender, socket.RemoteHost))
        return std::nullopt;
    return CodePage::From936(datagram);
}

} // namespace

namespace ChatWire {

std::optional<QByteArray> Message(const QString& text)
{
    const std::optional<QByteArray> bytes = CodePage::To936(text);
    if (!bytes)
        return std::nullopt;
    return QByteArrayLiteral("$") + *bytes;
}

QByteArray Ack(const QString& receivedText)
{
    // A received text came in 936, so its first two characters always go back in it.
    return QByteArrayLiteral("#") + CodePage::To936(FirstTwoCharacters(receivedText)).value_or(QByteArray());
}

QString CleanReceived(const QString& text)
{
    QString clean = text.left(StoredTextLimit);
    if (clean.size() == StoredTextLimit && clean.back().isHighSurrogate())
        clean.chop(1);
    for (QChar& c : clean) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control
            || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return clean;
}

} // namespace ChatWire

ChatPeer PeerFromSetting(const SettingRecord& record)
{
    ChatPeer peer;
    QStringList parts;
    bool inRange = true;
    bool allZero = true;
    for (qint16 part : record.Address) {
        inRange = inRange && part >= 0 && part <= 255;
        allZero = allZero && part == 0;
        parts << QString::number(part);
    }
    peer.Host = parts.join(u'.');
    peer.Port = record.ChatPort == 0 ? 1980 : static_cast<quint16>(qMax<qint16>(record.ChatPort, 0));
    peer.Valid = inRange && !allZero && record.ChatPort >= 0;
    return peer;
}

ChatLink::ChatLink(UdpSocket* socket, QObject* parent) : QObject(parent), m_socket(socket)
{
    connect(m_socket, &UdpSocket::DataArrival, this, &ChatLink::HandleDatagram);
}

void ChatLink::Connect(const SettingRecord& record)
{
    const ChatPeer peer = PeerFromSetting(record);
    m_socket->Close();
    // An address that is no address sends nowhere.
    m_socket->RemoteHost = peer.Valid ? peer.Host : QString();
    m_socket->RemotePort = peer.Port;
    m_socket->LocalPort = peer.Port;
    m_socket->Bind(); // a port in use leaves the chat able to send only
}

ChatLink::SendResult ChatLink::Send(const QString& text)
{
    if (BlankTrim(text).isEmpty())
        return SendResult::Blank;
    const std::optional<QByteArray> message = ChatWire::Message(text);
    if (!message)
        return SendResult::NotInCodePage;
    if (!m_socket->SendData(*message))
        return SendResult::Failed;
    m_pending = text;
    return SendResult::Sent;
}

ChatLink::Endpoint ChatLink::Save() const
{
    return {m_socket->RemoteHost, m_socket->RemotePort, m_socket->LocalPort, m_socket->BindAddress,
            m_socket->IsBound()};
}

void ChatLink::Restore(const Endpoint& endpoint)
{
    m_socket->Close();
    m_socket->RemoteHost = endpoint.RemoteHost;
    m_socket->RemotePort = endpoint.RemotePort;
    m_socket->LocalPort = endpoint.LocalPort;
    m_socket->BindAddress = endpoint.BindAddress;
    if (endpoint.Bound)
        m_socket->Bind();
}

void ChatLink::HandleDatagram(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort)
{
    const std::optional<QString> read = PartnerText(*m_socket, datagram, sender, senderPort);
    if (!read)
        return;
    const QString& text = *read;
    if (text.startsWith(u'#')) {
        if (m_pending.isEmpty())
            return; // nothing waits for it, or a second copy of one already taken
        if (datagram != ChatWire::Ack(m_pending)) {
            emit NotDelivered();
            return;
        }
        const QString confirmed = m_pending;
        m_pending.clear();
        emit Confirmed(confirmed.left(ChatWire::StoredTextLimit));
        return;
    }
    const QString body = Body(text);
    if (body.isEmpty())
        return;
    m_socket->SendData(ChatWire::Ack(body)); // a failed acknowledgement is the sender's loss
    emit Received(ChatWire::CleanReceived(body));
}

ChatTestPartner::ChatTestPartner(ChatLink* chat, UdpSocket* ownSocket, QObject* parent)
    : QObject(parent), m_chat(chat), m_socket(ownSocket), m_caption(QStringLiteral("Test window"))
{
    m_saved = m_chat->Save();
    // Both ends on the loopback address, on ports the system chooses (the old fixed ports
    // need privileges here), each pointed at the other's.
    const QHostAddress loopback(QHostAddress::LocalHost);
    m_socket->BindAddress = loopback;
    m_socket->LocalPort = 0;
    m_socket->Bind();

    UdpSocket* chatSocket = m_chat->Socket();
    chatSocket->Close();
    chatSocket->BindAddress = loopback;
    chatSocket->LocalPort = 0;
    chatSocket->Bind();
    chatSocket->RemoteHost = loopback.toString();
    chatSocket->RemotePort = m_socket->LocalPort;
    m_socket->RemoteHost = loopback.toString();
    m_socket->RemotePort = chatSocket->LocalPort;
    m_open = true;
    connect(m_socket, &UdpSocket::DataArrival, this, &ChatTestPartner::HandleDatagram);
}

ChatTestPartner::~ChatTestPartner()
{
    Close();
}

void ChatTestPartner::Close()
{
    if (!m_open)
        return;
    m_open = false;
    m_socket->Close();
    m_chat->Restore(m_saved);
}

void ChatTestPartner::SendCaption()
{
    // The caption is "Test window" or a text that came in 936: it always goes out.
    if (const std::optional<QByteArray> message = ChatWire::Message(m_caption))
        m_socket->SendData(*message);
}

void ChatTestPartner::HandleDatagram(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort)
{
    const std::optional<QString> read = PartnerText(*m_socket, datagram, sender, senderPort);
    if (!read)
        return;
    const QString& text = *read;
    if (text.startsWith(u'#')) {
        m_caption = u'*' + Body(text);
    } else {
        m_caption = ChatWire::CleanReceived(Body(text));
        m_socket->SendData(ChatWire::Ack(Body(text)));
    }
    emit CaptionChanged(m_caption);
}
