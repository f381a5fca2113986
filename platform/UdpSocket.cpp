#include "UdpSocket.h"

#include <QMetaObject>
#include <QNetworkDatagram>
#include <QUdpSocket>

UdpSocket::UdpSocket(QObject* parent) : QObject(parent), m_socket(new QUdpSocket(this))
{
    connect(m_socket, &QUdpSocket::readyRead, this, &UdpSocket::ReadPending);
}

UdpSocket::~UdpSocket() = default;

bool UdpSocket::Bind()
{
    Close();
    if (!m_socket->bind(BindAddress, LocalPort))
        return false;
    LocalPort = m_socket->localPort();
    return true;
}

void UdpSocket::Close()
{
    m_socket->close();
}

bool UdpSocket::IsBound() const
{
    return m_socket->state() == QAbstractSocket::BoundState;
}

bool UdpSocket::SendData(const QByteArray& datagram)
{
    const QHostAddress host(RemoteHost);
    if (host.isNull() || RemotePort == 0)
        return false;
    return m_socket->writeDatagram(datagram, host, RemotePort) == datagram.size();
}

void UdpSocket::ReadPending()
{
    // Reading until nothing is pending never ends while a partner keeps sending (each answer
    // may bring the next datagram): a bounded batch per turn of the event loop, and the rest
    // on a later turn, after the keys and paints that came meanwhile.
    for (int n = 0; n < BatchSize && m_socket->hasPendingDatagrams(); ++n) {
        const QNetworkDatagram d = m_socket->receiveDatagram();
        if (!d.isValid())
            continue;
        emit DataArrival(d.data(), d.senderAddress(), static_cast<quint16>(d.senderPort()));
    }
    if (m_socket->hasPendingDatagrams() && !m_resumePosted) {
        m_resumePosted = true;
        QMetaObject::invokeMethod(this, [this] {
            m_resumePosted = false;
            ReadPending();
        }, Qt::QueuedConnection);
    }
}
