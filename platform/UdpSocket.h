#pragma once
// The connectionless datagram socket of the chat: one bound local port, one remote host and
// port that every send goes to, and every arriving datagram delivered whole with its sender,
// a bounded batch per turn of the event loop. Errors are return values; nothing is shown here.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

class QUdpSocket;

class UdpSocket : public QObject {
    Q_OBJECT
public:
    explicit UdpSocket(QObject* parent = nullptr);
    ~UdpSocket() override;

    // Where sends go. An empty or unparsable host, or port 0, makes every send fail.
    QString RemoteHost;
    quint16 RemotePort{0};
    // The port Bind takes; 0 lets the system choose one (LocalPort then holds it).
    quint16 LocalPort{0};
    // The address Bind takes: every local address unless a test or the test partner picks one.
    QHostAddress BindAddress{QHostAddress::AnyIPv4};

    // Binds BindAddress:LocalPort (closing first). False when the port cannot be had.
    bool Bind();
    void Close();
    bool IsBound() const;
    // Sends one datagram to RemoteHost:RemotePort. False when it could not be sent.
    bool SendData(const QByteArray& datagram);

signals:
    void DataArrival(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort);

private:
    // Datagrams delivered per turn of the event loop.
    static constexpr int BatchSize = 32;
    void ReadPending();

    QUdpSocket* m_socket{nullptr};
    bool m_resumePosted{false};
};
