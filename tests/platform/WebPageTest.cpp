// The web page control against a loopback HTTP service: one completion per navigation that is
// not superseded, bodies decoded by their charset, the error page for every failure.

#include <QNetworkReply>
#include <QSignalSpy>
#include <algorithm>

#include "Clock.h"
#include "LoopbackService.h"
#include "TestSupport.h"
#include "WebPage.h"

namespace {

class WebPageTest : public AppFixture {
protected:
    // Navigates to path on the service and waits for the completion.
    void Load(const QString& path)
    {
        m_page.Navigate(m_service.Address() + path);
        ASSERT_TRUE(RunUntil([&] { return m_completions.size() > 0; }));
    }

    LoopbackService m_service;
    WebPage m_page;
    QSignalSpy m_completions{&m_page, &WebPage::DocumentComplete};
};

bool IsErrorPage(const QString& body)
{
    return body.contains(QLatin1String("The page cannot be displayed"));
}

TEST_F(WebPageTest, BodyIsDecodedByItsCharset)
{
    const QString text = QStringLiteral("汉语 hàn yǔ");
    struct Case {
        const char* name;
        QByteArray contentType;
        QByteArray page;
    };
    const QByteArray gbkText = LoopbackService::Encode(text, "gb18030");
    const Case cases[] = {
        {"no charset: UTF-8", "text/html", "<html><body>" + text.toUtf8() + "</body></html>"},
        {"header names GBK", "text/html; charset=GBK", "<html><body>" + gbkText + "</body></html>"},
        {"header wins over meta", "text/html; charset=\"gb2312\"",
         "<html><head><meta charset=utf-8></head><body>" + gbkText + "</body></html>"},
        {"meta http-equiv names gb2312", "text/html",
         "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"></head><BODY class=x>"
             + gbkText + "</BODY></html>"},
        {"meta charset names GB18030", "text/html",
         "<html><head><meta charset='GB18030'></head><body>" + gbkText + "</body></html>"},
        {"unknown charset falls back to UTF-8", "text/html; charset=no-such-set",
         "<body>" + text.toUtf8() + "</body>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_service.SetPage(QStringLiteral("/page"), {200, c.contentType, c.page, false});
        m_completions.clear();
        Load(QStringLiteral("/page"));
        EXPECT_EQ(m_page.BodyHtml(), text);
    }
}

TEST_F(WebPageTest, BodyOfTakesTheInnerHtmlOfTheBodyElement)
{
    struct Case {
        QString html;
        QString body;
    };
    const Case cases[] = {
        {QStringLiteral("<html><body>a<br>b</body></html>"), QStringLiteral("a<br>b")},
        {QStringLiteral("<HTML><BODY bgcolor=white>x</BODY>"), QStringLiteral("x")},
        {QStringLiteral("<bodyguard>no body element</bodyguard>"), QStringLiteral("<bodyguard>no body element</bodyguard>")},
        {QStringLiteral("<body>not closed"), QStringLiteral("not closed")},
        {QStringLiteral("plain"), QStringLiteral("plain")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.html.toStdString());
        EXPECT_EQ(WebPage::BodyOf(c.html), c.body);
    }
}

TEST_F(WebPageTest, EveryFailureCompletesOnceWithTheErrorPage)
{
    m_service.SetPage(QStringLiteral("/missing"), {404, "text/html", "<body>gone</body>", false});
    m_service.SetPage(QStringLiteral("/broken"), {500, "text/html", "<body>oops</body>", false});
    struct Case {
        const char* name;
        QString address;
    };
    const Case cases[] = {
        {"404", m_service.Address() + QStringLiteral("/missing")},
        {"500", m_service.Address() + QStringLiteral("/broken")},
        {"closed port", QStringLiteral("http://127.0.0.1:%1/x").arg(LoopbackService::ClosedPort())},
        {"not an address", QStringLiteral("no scheme at all")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_completions.clear();
        const int navigation = m_page.Navigate(c.address);
        EXPECT_EQ(m_completions.size(), 0) << "completed inside Navigate";
        ASSERT_TRUE(RunUntil([&] { return m_completions.size() > 0; }));
        EXPECT_EQ(m_completions.first().at(0).toInt(), navigation);
        EXPECT_TRUE(IsErrorPage(m_page.BodyHtml())) << m_page.BodyHtml().toStdString();
        // Nothing more arrives for it.
        m_service.SetPage(QStringLiteral("/after"), {200, "text/html", "<body>after</body>", false});
        m_completions.clear();
        Load(QStringLiteral("/after"));
        EXPECT_EQ(m_completions.size(), 1);
    }
}

TEST_F(WebPageTest, APageThatNeverArrivesTimesOutOnTheClock)
{
    m_service.SetPage(QStringLiteral("/slow"), {200, "text/html", "<body>late</body>", true});
    m_page.SetTimeout(5000);
    m_page.Navigate(m_service.Address() + QStringLiteral("/slow"));
    ASSERT_TRUE(RunUntil([&] { return m_service.HeldCount() == 1; }));
    Clock::Advance(4999);
    EXPECT_EQ(m_completions.size(), 0);
    Clock::Advance(1);
    ASSERT_EQ(m_completions.size(), 1);
    EXPECT_TRUE(IsErrorPage(m_page.BodyHtml()));

    // The late answer is not a second completion.
    m_service.ReleaseHeld();
    m_service.SetPage(QStringLiteral("/next"), {200, "text/html", "<body>next</body>", false});
    m_completions.clear();
    Load(QStringLiteral("/next"));
    EXPECT_EQ(m_completions.size(), 1);
    EXPECT_EQ(m_page.BodyHtml(), QStringLiteral("next"));
}

TEST_F(WebPageTest, ANewerNavigationAbortsTheOlderOne)
{
    m_service.SetPage(QStringLiteral("/slow"), {200, "text/html", "<body>old</body>", true});
    m_service.SetPage(QStringLiteral("/fast"), {200, "text/html", "<body>new</body>", false});
    m_page.Navigate(m_service.Address() + QStringLiteral("/slow"));
    ASSERT_TRUE(RunUntil([&] { return m_service.HeldCount() == 1; }));
    const int newer = m_page.Navigate(m_service.Address() + QStringLiteral("/fast"));
    ASSERT_TRUE(RunUntil([&] { return m_completions.size() > 0; }));
    m_service.ReleaseHeld();
    // A third page proves the loop turned long enough for a stray completion to show.
    m_service.SetPage(QStringLiteral("/third"), {200, "text/html", "<body>third</body>", false});
    ASSERT_EQ(m_completions.size(), 1);
    EXPECT_EQ(m_completions.first().at(0).toInt(), newer);
    EXPECT_EQ(m_page.BodyHtml(), QStringLiteral("new"));
    m_completions.clear();
    Load(QStringLiteral("/third"));
    EXPECT_EQ(m_completions.size(), 1);
}

TEST_F(WebPageTest, StopEndsANavigationWithoutCompletion)
{
    m_service.SetPage(QStringLiteral("/slow"), {200, "text/html", "<body>late</body>", true});
    m_page.Navigate(m_service.Address() + QStringLiteral("/slow"));
    ASSERT_TRUE(RunUntil([&] { return m_service.HeldCount() == 1; }));
    m_page.Stop();
    EXPECT_FALSE(m_page.Busy());
    m_service.ReleaseHeld();
    Clock::Advance(WebPage::DefaultTimeoutMs * 2);
    m_service.SetPage(QStringLiteral("/next"), {200, "text/html", "<body>next</body>", false});
    Load(QStringLiteral("/next"));
    EXPECT_EQ(m_completions.size(), 1);
}

TEST_F(WebPageTest, ProgressEndsWithMinusOneBeforeTheCompletion)
{
    const QByteArray body = "<body>" + QByteArray(20000, 'x') + "</body>";
    m_service.SetPage(QStringLiteral("/big"), {200, "text/html", body, false});
    QList<qint64> progress;
    int progressAtCompletion = -2;
    QObject::connect(&m_page, &WebPage::ProgressChange, &m_page, [&](qint64 p, qint64 max) {
        progress.append(p);
        if (p >= 0) {
            EXPECT_EQ(max, body.size());
        }
    });
    QObject::connect(&m_page, &WebPage::DocumentComplete, &m_page, [&] { progressAtCompletion = int(progress.size()); });
    Load(QStringLiteral("/big"));
    ASSERT_GE(progress.size(), 2);
    EXPECT_EQ(progress.last(), -1);
    EXPECT_EQ(progress.at(progress.size() - 2), body.size());
    EXPECT_EQ(progressAtCompletion, progress.size());
}

TEST_F(WebPageTest, AFastPageWithoutALengthIsRefusedAtTheCapWithoutPilingUp)
{
    m_service.SetPage(QStringLiteral("/endless"), {200, "text/html", {}, false, 8 * WebPage::MaxBodyBytes});
    m_page.Navigate(m_service.Address() + QStringLiteral("/endless"));
    auto* reply = m_page.findChild<QNetworkReply*>();
    ASSERT_TRUE(reply);
    // What the reply holds between two turns of the event loop.
    qint64 held = 0;
    const auto measure = [&] { held = std::max(held, reply->bytesAvailable()); };
    QObject::connect(reply, &QNetworkReply::readyRead, &m_page, measure);
    QObject::connect(reply, &QNetworkReply::downloadProgress, &m_page, measure);
    ASSERT_TRUE(RunUntil([&] { return m_completions.size() > 0; }));
    EXPECT_TRUE(IsErrorPage(m_page.BodyHtml()));
    EXPECT_LE(held, 2 * WebPage::ReadBufferBytes);

    m_service.SetPage(QStringLiteral("/next"), {200, "text/html", "<body>next</body>", false});
    m_completions.clear();
    Load(QStringLiteral("/next"));
    EXPECT_EQ(m_page.BodyHtml(), QStringLiteral("next"));
}

} // namespace
