#include "UdpSocket.h"

#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The largest datagram UDP carries, with room to spare.
constexpr std::size_t DatagramLimit = 65536;

// The socket address of address:port for a socket of family (an IPv4 address goes to an IPv6
// socket in its mapped form). False when the family cannot reach it.
bool ToSockAddr(const QHostAddress& address, quint16 port, int family, sockaddr_storage& out, socklen_t& length)
{
    std::memset(&out, 0, sizeof out);
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (family == AF_INET) {
        if (!isV4)
            return false;
        auto* in = reinterpret_cast<sockaddr_in*>(&out);
        in->sin_family = AF_INET;
        in->sin_port = htons(port);
        in->sin_addr.s_addr = htonl(v4);
        length = sizeof(sockaddr_in);
        return true;
    }
    auto* in6 = reinterpret_cast<sockaddr_in6*>(&out);
    in6->sin6_family = AF_INET6;
    in6->sin6_port = htons(port);
    if (isV4) {
        in6->sin6_addr.s6_addr[10] = 0xFF;
        in6->sin6_addr.s6_addr[11] = 0xFF;
        const quint32 n = htonl(v4);
        std::memcpy(&in6->sin6_addr.s6_addr[12], &n, 4);
    } else {
        const Q_IPV6ADDR a = address.toIPv6Address();
        std::memcpy(in6->sin6_addr.s6_addr, a.c, 16);
        in6->sin6_scope_id = address.scopeId().toUInt();
    }
    length = sizeof(sockaddr_in6);
    return true;
}

quint16 PortOf(const sockaddr_storage& a)
{
    if (a.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(a).sin_port);
    if (a.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(a).sin6_port);
    return 0;
}

QHostAddress AddressOf(const sockaddr_storage& a)
{
    return QHostAddress(reinterpret_cast<const sockaddr*>(&a));
}

} // namespace

UdpSocket::UdpSocket(QObject* parent) : QObject(parent) {}

UdpSocket::~UdpSocket()
{
    Close();
}

bool UdpSocket::Open(const QHostAddress& address, quint16 port)
{
    Close();
    // Every IPv4 address binds an IPv4 socket; any other address (IPv6, or both kinds) one
    // that also hears IPv4, as a dual-stack socket.
    const bool v4 = address.protocol() == QAbstractSocket::IPv4Protocol;
    const int family = v4 ? AF_INET : AF_INET6;
    const int fd = ::socket(family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (family == AF_INET6) {
        const int only6 = address.protocol() == QAbstractSocket::IPv6Protocol ? 1 : 0;
        ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &only6, sizeof only6);
    }
    sockaddr_storage local;
    socklen_t length = 0;
    const QHostAddress any = v4 ? QHostAddress(QHostAddress::AnyIPv4) : QHostAddress(QHostAddress::AnyIPv6);
    const QHostAddress& where = address.protocol() == QAbstractSocket::AnyIPProtocol ? any : address;
    if (!ToSockAddr(where, port, family, local, length) || ::bind(fd, reinterpret_cast<sockaddr*>(&local), length) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_family = family;
    m_buffer.resize(DatagramLimit);
    m_notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdpSocket::ReadPending);
    return true;
}

bool UdpSocket::Bind()
{
    if (!Open(BindAddress, LocalPort))
        return false;
    sockaddr_storage bound;
    socklen_t length = sizeof bound;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr*>(&bound), &length) == 0)
        LocalPort = PortOf(bound);
    return true;
}

void UdpSocket::Close()
{
    if (m_fd < 0)
        return;
    ++m_generation;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_fd);
    m_fd = -1;
}

bool UdpSocket::IsBound() const
{
    return m_fd >= 0;
}

bool UdpSocket::SendData(const QByteArray& datagram)
{
    const QHostAddress host(RemoteHost);
    if (host.isNull() || RemotePort == 0)
        return false;
    if (m_fd < 0) {
        // Not bound yet: a port of the system's choice on every address of the partner's kind.
        const bool v4 = host.protocol() == QAbstractSocket::IPv4Protocol;
        if (!Open(v4 ? QHostAddress(QHostAddress::AnyIPv4) : QHostAddress(QHostAddress::AnyIPv6), 0))
            return false;
    }
    sockaddr_storage to;
    socklen_t length = 0;
    if (!ToSockAddr(host, RemotePort, m_family, to, length))
        return false;
    ssize_t sent;
    do {
        sent = ::sendto(m_fd, datagram.constData(), std::size_t(datagram.size()), MSG_DONTWAIT | MSG_NOSIGNAL,
            reinterpret_cast<sockaddr*>(&to), length);
    } while (sent < 0 && errno == EINTR);
    return sent == datagram.size();
}

void UdpSocket::ReadPending()
{
    // Reading until nothing is pending never ends while a partner keeps sending (each answer
    // may bring the next datagram): a bounded batch per activation. The notifier fires again
    // on the next turn while datagrams wait. It is off during the batch, so an event loop a
    // handler runs cannot start another batch inside this one.
    const QPointer<UdpSocket> alive(this);
    const quint64 generation = m_generation;
    m_notifier->setEnabled(false);
    for (int n = 0; n < BatchSize; ++n) {
        sockaddr_storage from;
        socklen_t length = sizeof from;
        const ssize_t got = ::recvfrom(m_fd, m_buffer.data(), m_buffer.size(), MSG_DONTWAIT,
            reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            break; // nothing waits (or an error report was taken): the next activation goes on
        }
        emit DataArrival(QByteArray(m_buffer.data(), qsizetype(got)), AddressOf(from), PortOf(from));
        if (!alive || m_generation != generation)
            return; // a handler deleted, closed or rebound the socket
    }
    m_notifier->setEnabled(true);
}
