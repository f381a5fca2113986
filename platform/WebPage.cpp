#include "WebPage.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <utility>

#include "CodePage.h"
#include "Timer.h"

namespace {

// The charset named after "charset" in text (a header value or the start of a page), lower
// case; empty when there is none.
QByteArray CharsetIn(const QByteArray& text)
{
    const QByteArray lower = text.toLower();
    qsizetype at = 0;
    while ((at = lower.indexOf("charset", at)) >= 0) {
        qsizetype i = at + 7;
        auto skipBlanks = [&] {
            while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t' || lower[i] == '\r' || lower[i] == '\n'))
                ++i;
        };
        skipBlanks();
        if (i < lower.size() && lower[i] == '=') {
            ++i;
            skipBlanks();
            if (i < lower.size() && (lower[i] == '"' || lower[i] == '\''))
                ++i;
            const qsizetype start = i;
            while (i < lower.size()) {
                const char c = lower[i];
                if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':'))
                    break;
                ++i;
            }
            if (i > start)
                return lower.mid(start, i - start);
        }
        at += 7;
    }
    return QByteArray();
}

bool IsGbkFamily(const QByteArray& name)
{
    static const char* const names[] = {"gbk", "gb2312", "gb18030", "cp936", "x-gbk", "windows-936",
                                        "euc-cn", "x-euc-cn", "ms936", "csgb2312"};
    for (const char* n : names)
        if (name == n)
            return true;
    return false;
}

// Where a page's own charset declaration may stand: its first few kilobytes.
constexpr qsizetype MetaScanBytes = 4096;

} // namespace

WebPage::WebPage(QObject* parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
    , m_timeout(new Timer(this))
{
    connect(m_timeout, &Timer::Tick, this, &WebPage::OnTimeout);
}

WebPage::~WebPage()
{
    DropReply();
}

int WebPage::Navigate(const QString& address)
{
    DropReply();
    m_failurePending = false;
    const int navigation = ++m_navigation;
    m_address = address;

    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        // Completes from the event loop, as a fetched page would.
        m_failurePending = true;
        QTimer::singleShot(0, this, [this, navigation] {
            if (navigation == m_navigation && m_failurePending)
                Complete(navigation, FailureBody(QStringLiteral("The address is not valid.")));
        });
        return navigation;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Velmora"));
    QNetworkReply* reply = m_manager->get(request);
    m_reply = reply;
    // Qt keeps receiving into an unbounded buffer unless told otherwise: a fast page without a
    // length would pile up far beyond the cap before a progress event could stop it. The
    // buffer is bounded and emptied into the body as data arrives, where the cap is counted.
    reply->setReadBufferSize(ReadBufferBytes);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply, navigation] {
        if (navigation == m_navigation && reply == m_reply && !TakeBody(reply))
            FailTooLarge(navigation);
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply, navigation](qint64 received, qint64 total) {
        if (navigation != m_navigation || reply != m_reply)
            return;
        if (received > MaxBodyBytes || total > MaxBodyBytes) {
            FailTooLarge(navigation);
            return;
        }
        emit ProgressChange(received, total > 0 ? total : 0);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, navigation] { OnFinished(reply, navigation); });

    m_timeout->SetEnabled(false);
    m_timeout->SetInterval(m_timeoutMs);
    m_timeout->SetEnabled(m_timeoutMs > 0);
    return navigation;
}

bool WebPage::Busy() const
{
    return !m_reply.isNull() || m_failurePending;
}

void WebPage::Stop()
{
    DropReply();
    m_failurePending = false;
}

bool WebPage::TakeBody(QNetworkReply* reply)
{
    while (reply->bytesAvailable() > 0) {
        // One byte beyond the cap is enough to know the page is too large.
        m_body += reply->read(std::min(reply->bytesAvailable(), MaxBodyBytes + 1 - m_body.size()));
        if (m_body.size() > MaxBodyBytes)
            return false;
    }
    return true;
}

void WebPage::FailTooLarge(int navigation)
{
    DropReply();
    m_failurePending = true;
    QTimer::singleShot(0, this, [this, navigation] {
        if (navigation == m_navigation && m_failurePending)
            Complete(navigation, FailureBody(QStringLiteral("The page is too large.")));
    });
}

void WebPage::DropReply()
{
    m_timeout->SetEnabled(false);
    m_body = QByteArray();
    if (QNetworkReply* reply = m_reply.data()) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void WebPage::OnFinished(QNetworkReply* reply, int navigation)
{
    if (reply != m_reply || navigation != m_navigation)
        return;
    m_timeout->SetEnabled(false);
    m_reply = nullptr;
    reply->disconnect(this);
    reply->deleteLater();

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool whole = TakeBody(reply);
    const QByteArray bytes = std::exchange(m_body, QByteArray());
    QString body;
    if (reply->error() != QNetworkReply::NoError || status >= 400) {
        const QString reason = status >= 400 ? QStringLiteral("The server answered with status %1.").arg(status)
                                             : QStringLiteral("The server cannot be reached.");
        body = FailureBody(reason);
    } else if (!whole) {
        body = FailureBody(QStringLiteral("The page is too large."));
    } else {
        body = BodyOf(DecodeHtml(bytes, reply->rawHeader("Content-Type")));
    }
    Complete(navigation, body);
}

void WebPage::OnTimeout()
{
    if (!m_reply)
        return;
    const int navigation = m_navigation;
    DropReply();
    Complete(navigation, FailureBody(QStringLiteral("The server did not answer in time.")));
}

void WebPage::Complete(int navigation, const QString& body)
{
    m_failurePending = false;
    emit ProgressChange(-1, 0);
    // A handler of the progress may have started another navigation.
    if (navigation != m_navigation)
        return;
    m_bodyHtml = body;
    m_location = m_address;
    emit DocumentComplete(navigation, m_address);
}

QString WebPage::DecodeHtml(const QByteArray& body, const QByteArray& contentType)
{
    QByteArray charset = CharsetIn(contentType);
    if (charset.isEmpty())
        charset = CharsetIn(body.left(MetaScanBytes));
    if (IsGbkFamily(charset))
        return CodePage::FromGbk(body);
    if (!charset.isEmpty() && charset != "utf-8" && charset != "utf8") {
        QStringDecoder decoder(charset.constData());
        if (decoder.isValid())
            return decoder.decode(body);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    return utf8.decode(body);
}

QString WebPage::BodyOf(const QString& html)
{
    // "<body" followed by the end of its tag name.
    qsizetype open = 0;
    for (;;) {
        open = html.indexOf(QLatin1String("<body"), open, Qt::CaseInsensitive);
        if (open < 0)
            return html;
        const qsizetype after = open + 5;
        if (after >= html.size())
            return html;
        const QChar c = html.at(after);
        if (c == QLatin1Char('>') || c == QLatin1Char('/') || c.isSpace())
            break;
        open = after;
    }
    const qsizetype tagEnd = html.indexOf(QLatin1Char('>'), open);
    if (tagEnd < 0)
        return QString();
    const qsizetype close = html.lastIndexOf(QLatin1String("</body"), -1, Qt::CaseInsensitive);
    if (close <= tagEnd)
        return html.mid(tagEnd + 1);
    return html.mid(tagEnd + 1, close - tagEnd - 1);
}

QString WebPage::FailureBody(const QString& reason)
{
    QString plain = reason;
    plain.replace(QLatin1Char('<'), QLatin1Char(' ')).replace(QLatin1Char('>'), QLatin1Char(' '));
    return QStringLiteral("<h1>The page cannot be displayed</h1><p>") + plain + QStringLiteral("</p>");
}
