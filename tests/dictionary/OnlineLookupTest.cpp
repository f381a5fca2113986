// The look-up road against the loopback service: the cache answers without a request, a miss
// asks once with the encoded query, a superseded navigation leaves no trace, failures show
// their notices, and results are cached under the query of their own navigation.

#include "AppState.h"
#include "CharacterTable.h"
#include "Clock.h"
#include "CodePage.h"
#include "LoopbackService.h"
#include "Module3Rtf.h"
#include "OnlineLookup.h"
#include "OnlineRules.h"
#include "ResultPage.h"
#include "ServicePages.h"
#include "TablesTestSupport.h"
#include "TestSupport.h"
#include "WebPage.h"

namespace {

// The window's side, with a real rich-text box.
class RecordingView : public OnlineView {
public:
    QString ShowResult(const QString& rtf) override
    {
        ++shownCount;
        box.SetTextRTF(rtf);
        return box.Text();
    }
    void SetLoading(bool on) override { loading = on; }
    void SetProgress(int value) override { progress = value; }
    int Progress() const override { return progress; }
    void AddSearchHistory(const QString& word) override { history.append(word); }
    void SetSearchText(const QString& text) override { searchText = text; }
    void CaretToStart() override { box.SetSelStart(0); }

    RichTextBox box;
    int shownCount{0};
    bool loading{false};
    int progress{-5};
    QStringList history;
    QString searchText;
};

class OnlineLookupTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        qputenv("VELMORA_ONLINE_SERVICE", m_service.Address().toUtf8());
        m_lookup = std::make_unique<OnlineLookup>(m_view, m_page);
    }
    void TearDown() override
    {
        m_lookup.reset();
        qputenv("VELMORA_ONLINE_SERVICE", "http://127.0.0.1:9");
        AppFixture::TearDown();
    }
    void Serve(const QString& query, const QString& body, bool hold = false)
    {
        m_service.SetPage(query, {200, "text/html; charset=utf-8", Pages::Html(body).toUtf8(), hold});
    }
    // Looks word up and, for a request, waits until the look-up is idle again.
    OnlineLookup::Outcome LookUp(const QString& word, int charIndex = 0, const QString& following = QString())
    {
        const OnlineLookup::Outcome outcome = m_lookup->Common01(word, charIndex, following);
        if (outcome == OnlineLookup::Requested) {
            EXPECT_TRUE(RunUntil([&] { return !m_lookup->Loading(); }));
        }
        return outcome;
    }
    QString Shown() const { return m_view.box.Text(); }
    // The next start: the cache saved, then read back as the loading window reads it.
    void Restart()
    {
        ASSERT_TRUE(m_lookup->Cache().SaveCache());
        m_lookup.reset();
        ResetState();
        ProgressRecorder progress;
        LoadOnlineWords(progress);
        m_lookup = std::make_unique<OnlineLookup>(m_view, m_page);
    }

    LoopbackService m_service;
    WebPage m_page;
    RecordingView m_view;
    std::unique_ptr<OnlineLookup> m_lookup;
};

TEST_F(OnlineLookupTest, AMissAsksOnceWithTheEncodedQueryAndCachesTheResult)
{
    Serve(QStringLiteral("中文"), Pages::Chinese(QStringLiteral("中文"), QStringLiteral("zhōng wén"), {QStringLiteral("Chinese")}));
    EXPECT_EQ(LookUp(QStringLiteral("中文")), OnlineLookup::Requested);
    EXPECT_EQ(m_service.Requests(), QStringList{QStringLiteral("/en/search/?q=%E4%B8%AD%E6%96%87&simple=1")});
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("中文 [zhōng wén] Chinese    [Lexicon Online]")));
    EXPECT_FALSE(m_view.loading);
    EXPECT_EQ(m_view.history, QStringList{QStringLiteral("中文")});
    ASSERT_EQ(State().OnlineWordCount, 1);
    EXPECT_EQ(State().OnlineWordTable.at(0).Word, QStringLiteral("中文"));
    EXPECT_LE(FindCharacterRecord(QStringLiteral("中")), State().CharacterCount);

    // Asked again, the cache answers and the service hears nothing.
    const QString first = Shown();
    m_view.box.clear();
    EXPECT_EQ(LookUp(QStringLiteral("中文")), OnlineLookup::FromCache);
    EXPECT_EQ(m_service.Requests().size(), 1);
    EXPECT_EQ(Shown().split(QStringLiteral("\r\n")).first(), first.split(QStringLiteral("\r\n")).first());
}

TEST_F(OnlineLookupTest, CacheHitIgnoresCaseAndIsHeadedAsStored)
{
    Serve(QStringLiteral("hello"), Pages::English(QStringLiteral("hello"), {QStringLiteral("greeting")}));
    LookUp(QStringLiteral("hello"));
    EXPECT_EQ(LookUp(QStringLiteral("HELLO")), OnlineLookup::FromCache);
    EXPECT_EQ(m_service.Requests().size(), 1);
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("hello  1) greeting;")));
    EXPECT_EQ(m_lookup->LastQuery(), QStringLiteral("HELLO"));
    EXPECT_EQ(m_view.history.last(), QStringLiteral("HELLO"));
    EXPECT_EQ(m_view.progress, 0);
}

TEST_F(OnlineLookupTest, WideningAndBlankCollapsingShapeTheQuery)
{
    CharacterRecord zhong;
    zhong.Character = QStringLiteral("中");
    zhong.Phrases = {QStringLiteral("国人"), QStringLiteral("国")};
    AppendCharacterRecord(zhong);
    Serve(QStringLiteral("中国人"), Pages::Chinese(QStringLiteral("中国人"), QStringLiteral("zhōng guó rén"), {QStringLiteral("Chinese person")}));
    LookUp(QStringLiteral("中"), 1, QStringLiteral("中国人很多"));
    EXPECT_EQ(m_lookup->LastQuery(), QStringLiteral("中国人"));
    m_lookup->SetSmartly(false);
    LookUp(QStringLiteral("中"), 1, QStringLiteral("中国人很多"));
    EXPECT_EQ(m_lookup->LastQuery(), QStringLiteral("中"));
    LookUp(QStringLiteral("han4   yu3"));
    EXPECT_EQ(m_lookup->LastQuery(), QStringLiteral("han4 yu3"));
    EXPECT_EQ(m_service.Queries(), (QStringList{QStringLiteral("中国人"), QStringLiteral("中"), QStringLiteral("han4 yu3")}));
}

TEST_F(OnlineLookupTest, ASupersededNavigationIsNeitherShownNorCached)
{
    Serve(QStringLiteral("slow"), Pages::English(QStringLiteral("slow"), {QStringLiteral("not fast")}), true);
    Serve(QStringLiteral("fast"), Pages::English(QStringLiteral("fast"), {QStringLiteral("quick")}));
    EXPECT_EQ(m_lookup->Common01(QStringLiteral("slow"), 0, QString()), OnlineLookup::Requested);
    EXPECT_TRUE(m_view.loading);
    ASSERT_TRUE(RunUntil([&] { return m_service.HeldCount() == 1; }));
    LookUp(QStringLiteral("fast"));
    m_service.ReleaseHeld();
    // One more look-up turns the loop long enough for a stray page to arrive.
    Serve(QStringLiteral("next"), Pages::English(QStringLiteral("next"), {QStringLiteral("following")}));
    LookUp(QStringLiteral("next"));
    EXPECT_EQ(m_view.shownCount, 2);
    ASSERT_EQ(State().OnlineWordCount, 2);
    EXPECT_EQ(State().OnlineWordTable.at(0).Word, QStringLiteral("fast"));
    EXPECT_EQ(State().OnlineWordTable.at(0).Entry, QStringLiteral("  1) quick;###"));
    EXPECT_EQ(State().OnlineWordTable.at(1).Word, QStringLiteral("next"));
}

TEST_F(OnlineLookupTest, APageIsReadAgainstTheQueryOfItsOwnNavigation)
{
    Serve(QStringLiteral("slow"), Pages::English(QStringLiteral("slow"), {QStringLiteral("not fast")}), true);
    m_lookup->Common01(QStringLiteral("slow"), 0, QString());
    ASSERT_TRUE(RunUntil([&] { return m_service.HeldCount() == 1; }));
    // Another window writes LastQuery while the page loads.
    m_lookup->SetLastQuery(QStringLiteral("other"));
    m_service.ReleaseHeld();
    ASSERT_TRUE(RunUntil([&] { return !m_lookup->Loading(); }));
    ASSERT_EQ(State().OnlineWordCount, 1);
    EXPECT_EQ(State().OnlineWordTable.at(0).Word, QStringLiteral("slow"));
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("slow ")));
}

TEST_F(OnlineLookupTest, ACacheHitSupersedesAPageStillLoading)
{
    State().OnlineWordTable = {{QStringLiteral("cached"), QStringLiteral(" 1) kept;###")}};
    State().OnlineWordCount = 1;
    Serve(QStringLiteral("slow"), Pages::English(QStringLiteral("slow"), {QStringLiteral("not fast")}), true);
    m_lookup->Common01(QStringLiteral("slow"), 0, QString());
    ASSERT_TRUE(RunUntil([&] { return m_service.HeldCount() == 1; }));
    EXPECT_EQ(LookUp(QStringLiteral("cached")), OnlineLookup::FromCache);
    EXPECT_FALSE(m_view.loading);
    EXPECT_FALSE(m_lookup->Loading());
    m_service.ReleaseHeld();
    Serve(QStringLiteral("next"), Pages::English(QStringLiteral("next"), {QStringLiteral("following")}));
    LookUp(QStringLiteral("next"));
    EXPECT_EQ(State().OnlineWordCount, 2);
    EXPECT_EQ(State().OnlineWordTable.at(1).Word, QStringLiteral("next"));
}

TEST_F(OnlineLookupTest, FailuresShowTheirNoticeAndCacheNothing)
{
    m_service.SetPage(QStringLiteral("gone"), {404, "text/html", "<body>missing</body>", false});
    m_service.SetPage(QStringLiteral("broken"), {500, "text/html", "<body>oops</body>", false});
    m_service.SetPage(QStringLiteral("late"), {200, "text/html", "<body><big>x<br></big></body>", true});
    Serve(QStringLiteral("zzz"), Pages::NotFound());
    Serve(QStringLiteral("helo"), Pages::Suggestions());
    struct Case {
        const char* name;
        QString query;
        const char* notice;
        bool backIntoSearchBox;
    };
    const Case cases[] = {
        {"404", QStringLiteral("gone"), CannotFindServerText, true},
        {"500", QStringLiteral("broken"), CannotFindServerText, true},
        {"timeout", QStringLiteral("late"), CannotFindServerText, true},
        {"not found", QStringLiteral("zzz"), NotFoundText, false},
        {"suggestions only", QStringLiteral("helo"), NotFoundText, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_view.searchText.clear();
        m_lookup->Common01(c.query, 0, QString());
        if (c.query == QStringLiteral("late")) {
            ASSERT_TRUE(RunUntil([&] { return m_service.HeldCount() == 1; }));
            Clock::Advance(WebPage::DefaultTimeoutMs);
        }
        ASSERT_TRUE(RunUntil([&] { return !m_lookup->Loading(); }));
        EXPECT_EQ(Shown(), QLatin1String(c.notice));
        EXPECT_EQ(m_view.searchText, c.backIntoSearchBox ? c.query : QString());
        EXPECT_FALSE(m_view.loading);
    }
    EXPECT_EQ(State().OnlineWordCount, 0);
    EXPECT_TRUE(m_view.history.isEmpty());

    // Nothing listening at all.
    qputenv("VELMORA_ONLINE_SERVICE", QByteArray("http://127.0.0.1:") + QByteArray::number(LoopbackService::ClosedPort()));
    LookUp(QStringLiteral("hello"));
    EXPECT_EQ(Shown(), QLatin1String(CannotFindServerText));
    EXPECT_EQ(m_view.searchText, QStringLiteral("hello"));
    EXPECT_EQ(State().OnlineWordCount, 0);
}

TEST_F(OnlineLookupTest, OnlyResultsHeadedByTheQueryAreCached)
{
    struct Case {
        const char* name;
        QString query;
        QString body;
        bool cached;
    };
    const Case cases[] = {
        {"pinyin query keeps its digits", QStringLiteral("ni3 hao3"), Pages::WordList({QStringLiteral("你好")}), true},
        {"a leading digit is shown after a blank", QStringLiteral("3d"), Pages::English(QStringLiteral("3d"), {QStringLiteral("x")}), false},
        {"a page the reader cannot follow empties the box", QStringLiteral("bad4"),
         QStringLiteral("Result of Pin1 Yin1 search:<table><a>x</table>"), false},
        {"gbk page of a chinese word", QStringLiteral("你好"), QString(), true},
    };
    m_service.SetPage(QStringLiteral("你好"), {200, "text/html; charset=gbk",
        LoopbackService::Encode(Pages::Html(Pages::Chinese(QStringLiteral("你好"), QStringLiteral("nǐ hǎo"), {QStringLiteral("hello")})),
            "gb18030"), false});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.body.isEmpty())
            Serve(c.query, c.body);
        const int before = State().OnlineWordCount;
        LookUp(c.query);
        EXPECT_EQ(State().OnlineWordCount - before, c.cached ? 1 : 0) << Shown().toStdString();
    }
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("你好 [nǐ hǎo] hello")));
}

TEST_F(OnlineLookupTest, OnlyAResultWithAMeaningIsCachedAndARecordWithoutOneIsAskedAgain)
{
    const struct {
        const char* why;
        QString query;
        QString body;
    } garbage[] = {
        {"a chinese page without pronunciation or meanings", QStringLiteral("吃饭"), QStringLiteral("<p>###</p>")},
        {"an english page without meanings", QStringLiteral("hello"), QStringLiteral("<p>oops</p>")},
        {"meanings of separators only", QStringLiteral("world"), QStringLiteral("<big><br><br></big>")},
    };
    for (const auto& g : garbage) {
        SCOPED_TRACE(g.why);
        Serve(g.query, g.body);
        LookUp(g.query);
        EXPECT_EQ(State().OnlineWordCount, 0);
    }

    // Records without a meaning, stored by an earlier run.
    State().OnlineWordTable = {{QStringLiteral("吃饭"), QStringLiteral(" ###")}, {QStringLiteral("Hello"), QStringLiteral(" 1) ;#")}};
    State().OnlineWordCount = 2;
    Serve(QStringLiteral("吃饭"), Pages::Chinese(QStringLiteral("吃饭"), QStringLiteral("chī fàn"), {QStringLiteral("eat")}));
    Serve(QStringLiteral("hello"), Pages::English(QStringLiteral("hello"), {QStringLiteral("greeting")}));
    for (const QString& word : {QStringLiteral("吃饭"), QStringLiteral("hello")}) {
        SCOPED_TRACE(word.toStdString());
        const int asked = int(m_service.Requests().size());
        EXPECT_EQ(LookUp(word), OnlineLookup::Requested);
        EXPECT_EQ(LookUp(word), OnlineLookup::FromCache);
        EXPECT_EQ(m_service.Requests().size(), asked + 1);
    }
    EXPECT_EQ(State().OnlineWordCount, 2) << "each record took its word's result in its place";
    ASSERT_TRUE(m_lookup->Cache().SaveCache());
    EXPECT_EQ(CodePage::FromGbk(ReadFile(QStringLiteral("Record/wangci.txt"))),
        QStringLiteral("吃饭: [chī fàn] eat###\r\nhello: 1) greeting;###\r\n"));
}

TEST_F(OnlineLookupTest, AMeaningWithoutLettersIsCachedAndLoadsBack)
{
    const struct {
        QString word;
        QString pinyin;
        QString meaning;
    } results[] = {
        {QStringLiteral("一百"), QStringLiteral("yī bǎi"), QStringLiteral("100")},
        {QStringLiteral("百分号"), QStringLiteral("bǎi fēn hào"), QStringLiteral("%")},
        {QStringLiteral("佚"), QString(), QStringLiteral("[archaic]")},
    };
    for (const auto& r : results) {
        Serve(r.word, Pages::Chinese(r.word, r.pinyin, {r.meaning}));
        EXPECT_EQ(LookUp(r.word), OnlineLookup::Requested);
    }
    for (const bool restarted : {false, true}) {
        if (restarted)
            Restart();
        for (const auto& r : results) {
            SCOPED_TRACE(r.word.toStdString() + (restarted ? " after a restart" : ""));
            EXPECT_EQ(LookUp(r.word), OnlineLookup::FromCache);
            EXPECT_TRUE(Shown().contains(r.meaning.right(3))) << Shown().toStdString();
        }
    }
    EXPECT_EQ(m_service.Requests().size(), 3);
}

TEST_F(OnlineLookupTest, AResultHoldingTheFilesSeparatorIsShownEachTimeAndNeverStored)
{
    const struct {
        QString word;
        QString body;
        QString meaning;
    } results[] = {
        {QStringLiteral("sharp"), Pages::English(QStringLiteral("sharp"), {QStringLiteral("#")}), QStringLiteral("1) #;")},
        {QStringLiteral("井号"),
         Pages::Chinese(QStringLiteral("井号"), QStringLiteral("jǐng hào"), {QStringLiteral("#"), QStringLiteral("number sign")}),
         QStringLiteral("#;  number sign")},
        {QStringLiteral("key"), Pages::English(QStringLiteral("key"), {QStringLiteral("key")}, {QStringLiteral("press # to end")}),
         QStringLiteral("press # to end")},
    };
    Serve(QStringLiteral("hello"), Pages::English(QStringLiteral("hello"), {QStringLiteral("greeting")}));
    LookUp(QStringLiteral("hello"));
    for (const auto& r : results)
        Serve(r.word, r.body);
    for (const bool restarted : {false, false, true}) {
        if (restarted)
            Restart();
        for (const auto& r : results) {
            SCOPED_TRACE(r.word.toStdString() + (restarted ? " after a restart" : ""));
            const qsizetype asked = m_service.Requests().size();
            EXPECT_EQ(LookUp(r.word), OnlineLookup::Requested);
            EXPECT_EQ(m_service.Requests().size(), asked + 1);
            EXPECT_TRUE(Shown().contains(r.meaning)) << Shown().toStdString();
            EXPECT_EQ(m_view.history.last(), r.word);
        }
        EXPECT_EQ(State().OnlineWordCount, 1);
        EXPECT_EQ(LookUp(QStringLiteral("hello")), OnlineLookup::FromCache);
    }
    const QString file = CodePage::FromGbk(ReadFile(QStringLiteral("Record/wangci.txt")));
    EXPECT_TRUE(file.startsWith(QStringLiteral("hello: ")));
    EXPECT_EQ(file.count(QStringLiteral("\r\n")), 1);
    // The Chinese word reached the character table all the same.
    EXPECT_LE(FindCharacterRecord(QStringLiteral("井")), State().CharacterCount);
}

TEST_F(OnlineLookupTest, AResultAtTheLimitIsCachedAndLoadsBackOnePastItIsTooLargeToShow)
{
    const auto page = [](qsizetype meaning) {
        return QStringLiteral("<big>") + QString(meaning, QChar(0x957F)) + QStringLiteral("</big>");
    };
    Serve(QStringLiteral("长"), page(ResultTextLimit));
    Serve(QStringLiteral("长长"), page(ResultTextLimit + 1));
    ASSERT_EQ(LookUp(QStringLiteral("长")), OnlineLookup::Requested);
    const QString atLimit = Shown();
    ASSERT_TRUE(atLimit.contains(QString(ResultTextLimit, QChar(0x957F))));
    LookUp(QStringLiteral("长长"));
    EXPECT_TRUE(Shown() == QLatin1String(TooLargeText));
    EXPECT_EQ(State().OnlineWordCount, 1);

    for (const bool restarted : {false, true}) {
        SCOPED_TRACE(restarted ? "after a restart" : "the next look-up");
        if (restarted)
            Restart();
        EXPECT_EQ(LookUp(QStringLiteral("长")), OnlineLookup::FromCache);
        EXPECT_TRUE(Shown() == atLimit);
        const qsizetype asked = m_service.Requests().size();
        EXPECT_EQ(LookUp(QStringLiteral("长长")), OnlineLookup::Requested);
        EXPECT_EQ(m_service.Requests().size(), asked + 1);
        EXPECT_TRUE(Shown() == QLatin1String(TooLargeText));
        EXPECT_EQ(State().OnlineWordCount, 1);
    }
}

TEST_F(OnlineLookupTest, ARecordPastTheLimitFromAnEarlierRunIsAskedForAgainAndReplaced)
{
    State().OnlineWordTable = {{QStringLiteral("huge"), QStringLiteral(" 1) ") + QString(StoredEntryLimit, QLatin1Char('m'))}};
    State().OnlineWordCount = 1;
    Serve(QStringLiteral("huge"), Pages::English(QStringLiteral("huge"), {QStringLiteral("very big")}));
    EXPECT_EQ(LookUp(QStringLiteral("huge")), OnlineLookup::Requested);
    EXPECT_EQ(LookUp(QStringLiteral("huge")), OnlineLookup::FromCache);
    EXPECT_TRUE(Shown().startsWith(QStringLiteral("huge  1) very big;")));
    ASSERT_EQ(State().OnlineWordCount, 1);
    EXPECT_EQ(State().OnlineWordTable.at(0).Entry, QStringLiteral("  1) very big;###"));
}

TEST_F(OnlineLookupTest, ProgressFollowsThePageWhileLoading)
{
    const QString big = Pages::English(QStringLiteral("big"), {QString(40000, QLatin1Char('m'))});
    Serve(QStringLiteral("big"), big);
    QList<int> values;
    m_view.progress = 0;
    QObject::connect(&m_page, &WebPage::ProgressChange, &m_page, [&] { values.append(m_view.progress); });
    LookUp(QStringLiteral("big"));
    ASSERT_FALSE(values.isEmpty());
    EXPECT_EQ(values.last(), 0) << "the end of loading resets the bar";
    EXPECT_TRUE(values.contains(100));
}

} // namespace
