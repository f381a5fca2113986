#pragma once
// The connectionless datagram socket of the chat: one bound local port, one remote host and
// port that every send goes to, and every arriving datagram delivered whole with its sender,
// a bounded batch per turn of the event loop. Errors are return values; nothing is shown here.
//
// The socket is a plain non-blocking POSIX one watched by our own read notifier. The event
// loop wakes the notifier on every turn while a datagram is waiting (it is level-triggered),
// so the rest of a burst is read on the next turns, after the keys and paints that came
// meanwhile, and no notification can be lost between two batches.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <vector>

class QSocketNotifier;

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
    // Sends one datagram to RemoteHost:RemotePort. False when it could not be sent. A socket
    // that was not bound takes a port of the system's choice first, so replies reach it.
    bool SendData(const QByteArray& datagram);

    // Datagrams delivered per turn of the event loop.
    static constexpr int BatchSize = 32;

signals:
    void DataArrival(const QByteArray& datagram, const QHostAddress& sender, quint16 senderPort);

private:
    bool Open(const QHostAddress& address, quint16 port);
    void ReadPending();

    int m_fd{-1};
    int m_family{0};
    QSocketNotifier* m_notifier{nullptr};
    // Bumped by every close, so a batch stops when a handler closed or rebound the socket.
    quint64 m_generation{0};
    std::vector<char> m_buffer; // one datagram at most (64 KiB)
};
