#include "LoopbackService.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QStringEncoder>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

#include <memory>

bool RunUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer guard;
    guard.start();
    while (!done()) {
        if (guard.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

LoopbackService::LoopbackService()
    : m_server(new QTcpServer(this))
{
    m_server->listen(QHostAddress::LocalHost, 0);
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this, [this, socket] { m_buffers.remove(socket); });
        }
    });
}

LoopbackService::~LoopbackService() = default;

quint16 LoopbackService::Port() const { return m_server->serverPort(); }

QString LoopbackService::Address() const { return QStringLiteral("http://127.0.0.1:%1").arg(Port()); }

void LoopbackService::SetPage(const QString& query, const Answer& answer) { m_pages.insert(query, answer); }

int LoopbackService::HeldCount() const { return int(m_held.size()); }

void LoopbackService::ReleaseHeld()
{
    const auto held = m_held;
    m_held.clear();
    for (const auto& [socket, answer] : held)
        if (socket && socket->state() == QAbstractSocket::ConnectedState)
            Send(socket, answer);
}

quint16 LoopbackService::ClosedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

QByteArray LoopbackService::Encode(const QString& text, const char* encoding)
{
    QStringEncoder encoder(encoding);
    QByteArray bytes = encoder.encode(text);
    return bytes;
}

void LoopbackService::Serve(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    if (!buffer.contains("\r\n\r\n"))
        return;
    const QByteArray requestLine = buffer.left(buffer.indexOf("\r\n"));
    buffer.clear();
    const QList<QByteArray> parts = requestLine.split(' ');
    const QString target = parts.size() >= 2 ? QString::fromLatin1(parts.at(1)) : QString();
    m_requests.append(target);

    const QUrl url(QStringLiteral("http://127.0.0.1") + target);
    const QString query = QUrlQuery(url).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded);
    if (QUrlQuery(url).hasQueryItem(QStringLiteral("q")))
        m_queries.append(query);

    Answer answer = m_default;
    if (m_pages.contains(query))
        answer = m_pages.value(query);
    else if (m_pages.contains(url.path()))
        answer = m_pages.value(url.path());
    if (answer.hold) {
        m_held.append({QPointer<QTcpSocket>(socket), answer});
        return;
    }
    Send(socket, answer);
}

void LoopbackService::Send(QTcpSocket* socket, const Answer& answer)
{
    if (answer.streamBytes > 0) {
        Stream(socket, answer);
        return;
    }
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) + (answer.status < 400 ? " OK" : " Error")
        + "\r\nContent-Type: " + answer.contentType + "\r\nContent-Length: " + QByteArray::number(answer.body.size())
        + "\r\nConnection: close\r\n\r\n" + answer.body;
    socket->write(reply);
    socket->disconnectFromHost();
}

void LoopbackService::Stream(QTcpSocket* socket, const Answer& answer)
{
    socket->write("HTTP/1.1 " + QByteArray::number(answer.status) + " OK\r\nContent-Type: " + answer.contentType
        + "\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n");
    constexpr qint64 ChunkBytes = 64 * 1024;
    constexpr qint64 Queued = 1024 * 1024; // kept waiting in the socket: the client sets the pace
    const QByteArray chunk = QByteArray::number(ChunkBytes, 16) + "\r\n" + QByteArray(ChunkBytes, 'x') + "\r\n";
    auto left = std::make_shared<qint64>(answer.streamBytes);
    auto pump = [socket, chunk, left] {
        while (*left > 0 && socket->bytesToWrite() < Queued) {
            if (*left >= ChunkBytes) {
                socket->write(chunk);
                *left -= ChunkBytes;
            } else {
                socket->write(QByteArray::number(*left, 16) + "\r\n" + QByteArray(*left, 'x') + "\r\n");
                *left = 0;
            }
        }
        if (*left == 0 && socket->state() == QAbstractSocket::ConnectedState) {
            socket->write("0\r\n\r\n");
            socket->disconnectFromHost();
            *left = -1;
        }
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, pump);
    pump();
}
