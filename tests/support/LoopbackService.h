#pragma once
// A small HTTP service on 127.0.0.1 (random port) for the tests of the web page control and
// the on-line dictionary: answers GET requests with the page set for their "q" parameter (or
// for their path), logs every request, and can hold answers back ("slow") until released.
// Also: RunUntil, which turns the event loop until a condition holds.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QTcpServer;
class QTcpSocket;

// Processes events until done() is true; false when it never became true. The limit only
// keeps a broken test from hanging; no test relies on how fast anything is.
bool RunUntil(const std::function<bool()>& done, int limitMs = 20000);

class LoopbackService : public QObject {
    Q_OBJECT
public:
    struct Answer {
        int status{200};
        QByteArray contentType{"text/html; charset=utf-8"};
        QByteArray body;
        bool hold{false}; // answered only by ReleaseHeld()
        // When above 0: a chunked body of this many bytes instead of body, without a length,
        // written as fast as the connection takes it.
        qint64 streamBytes{0};
    };

    LoopbackService();
    ~LoopbackService() override;

    quint16 Port() const;
    // "http://127.0.0.1:<port>"
    QString Address() const;

    // The answer to a request whose "q" parameter (percent-decoded as UTF-8) is query.
    void SetPage(const QString& query, const Answer& answer);
    // The answer to every other request.
    void SetDefault(const Answer& answer) { m_default = answer; }

    // Request targets as received (path and query, still encoded), in order.
    const QStringList& Requests() const { return m_requests; }
    // The decoded "q" parameters of the requests, in order.
    const QStringList& Queries() const { return m_queries; }
    int HeldCount() const;
    // Sends the held answers (to the connections still open).
    void ReleaseHeld();

    // A port on 127.0.0.1 with nothing listening.
    static quint16 ClosedPort();

    // Page bytes in a given encoding ("utf-8" or "gb18030").
    static QByteArray Encode(const QString& text, const char* encoding = "utf-8");

private:
    void Serve(QTcpSocket* socket);
    void Send(QTcpSocket* socket, const Answer& answer);
    void Stream(QTcpSocket* socket, const Answer& answer);

    QTcpServer* m_server{nullptr};
    QHash<QString, Answer> m_pages;
    Answer m_default{404, "text/html", "<html><body>No such page</body></html>", false};
    QStringList m_requests;
    QStringList m_queries;
    QList<QPair<QPointer<QTcpSocket>, Answer>> m_held;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};
