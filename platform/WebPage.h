#pragma once
// The web browser control as the on-line dictionary uses it: one HTTP GET at a time, loading
// progress, and the HTML of the loaded page's body.
//
// Contract:
// - Navigate() starts a navigation and returns its number; a navigation still loading is
//   aborted and never reports anything afterwards (neither progress nor completion).
// - Every navigation that is not superseded (by a newer Navigate or by Stop) completes exactly
//   once, with DocumentComplete, always from the event loop, never inside Navigate().
// - A page that cannot be fetched (no connection, refused, timed out, an HTTP error status)
//   completes with a body of our own that reads "The page cannot be displayed", as the
//   browser's own error page did; the callers recognise that text.
// - The body is decoded by its charset: the Content-Type header first, then a charset named
//   in the page's meta tags, else UTF-8. GBK and its family go through the program's one
//   code page converter.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class Timer;

class WebPage : public QObject {
    Q_OBJECT
public:
    // A page that has not arrived after this long fails.
    static constexpr int DefaultTimeoutMs = 30000;
    // Bodies beyond this size are not read: the page fails instead.
    static constexpr qint64 MaxBodyBytes = 16 * 1024 * 1024;
    // What the network layer may hold for us between two reads of a page in progress.
    static constexpr qint64 ReadBufferBytes = 256 * 1024;

    explicit WebPage(QObject* parent = nullptr);
    ~WebPage() override;

    // Starts loading address (http or https). Returns the navigation's number (from 1 up).
    int Navigate(const QString& address);
    // Aborts the navigation in progress; it never completes.
    void Stop();
    bool Busy() const;
    // The number of the latest navigation (0 before the first).
    int CurrentNavigation() const { return m_navigation; }

    // The body HTML and the address of the page that completed last.
    QString BodyHtml() const { return m_bodyHtml; }
    QString LocationURL() const { return m_location; }

    void SetTimeout(int ms) { m_timeoutMs = ms; }
    int TimeoutMs() const { return m_timeoutMs; }

    // The page's text from its bytes and its Content-Type header value.
    static QString DecodeHtml(const QByteArray& body, const QByteArray& contentType);
    // The inner HTML of the page's <body> element (the whole text when it has none).
    static QString BodyOf(const QString& html);
    // The body shown for a page that cannot be fetched; reason is plain text.
    static QString FailureBody(const QString& reason);

signals:
    // Bytes received so far and expected in all (0 when the server does not say); progress
    // -1 announces the end of loading, right before DocumentComplete.
    void ProgressChange(qint64 progress, qint64 progressMax);
    void DocumentComplete(int navigation, const QString& address);

private:
    void OnFinished(QNetworkReply* reply, int navigation);
    void OnTimeout();
    // Moves what the reply holds into m_body; false once the body passes MaxBodyBytes.
    bool TakeBody(QNetworkReply* reply);
    // Drops the reply and completes later with the "too large" page.
    void FailTooLarge(int navigation);
    void Complete(int navigation, const QString& body);
    void DropReply();

    QNetworkAccessManager* m_manager{nullptr};
    QPointer<QNetworkReply> m_reply;
    Timer* m_timeout{nullptr};
    int m_timeoutMs{DefaultTimeoutMs};
    int m_navigation{0};
    bool m_failurePending{false};
    QString m_address;
    QByteArray m_body; // the page in progress, as received
    QString m_bodyHtml;
    QString m_location;
};
