// The on-line dictionary's small rules: widening, the request address, the cache look-up,
// query kinds, the progress bar and the service setting.

#include "AppState.h"
#include "CharacterTable.h"
#include "OnlineRules.h"
#include "TestSupport.h"

namespace {

class OnlineRulesTest : public AppFixture {
protected:
    void TearDown() override
    {
        qputenv("VELMORA_ONLINE_SERVICE", "http://127.0.0.1:9");
        AppFixture::TearDown();
    }
    void SetUp() override
    {
        AppFixture::SetUp();
        qunsetenv("VELMORA_ONLINE_SERVICE");
        // 中 with phrases longest first, as the character table keeps them.
        CharacterRecord zhong;
        zhong.Character = QStringLiteral("中");
        zhong.Phrases = {QStringLiteral("华人民"), QStringLiteral("国人"), QStringLiteral("文"), QStringLiteral("国")};
        AppendCharacterRecord(zhong);
    }
};

TEST_F(OnlineRulesTest, WholeWordWidening)
{
    struct Case {
        const char* name;
        QString word;
        int charIndex;
        QString following;
        bool smart;
        QString expected;
    };
    const Case cases[] = {
        {"longest matching phrase wins", QStringLiteral("中"), 1, QStringLiteral("中国人很多"), true, QStringLiteral("中国人")},
        {"a shorter phrase when the longer does not match", QStringLiteral("中"), 1, QStringLiteral("中国很大"), true, QStringLiteral("中国")},
        {"the comparison is exact", QStringLiteral("中"), 1, QStringLiteral("中 国"), true, QStringLiteral("中")},
        {"not smart", QStringLiteral("中"), 1, QStringLiteral("中国人"), false, QStringLiteral("中")},
        {"no index", QStringLiteral("中"), 0, QStringLiteral("中国人"), true, QStringLiteral("中")},
        {"index past the table", QStringLiteral("中"), 2, QStringLiteral("中国人"), true, QStringLiteral("中")},
        {"three selected widen only to three or more", QStringLiteral("中国人"), 1, QStringLiteral("中国人民"), true,
         QStringLiteral("中国人")},
        {"stops at the first phrase shorter than the selection less one", QStringLiteral("中文课"), 1,
         QStringLiteral("中文课本"), true, QStringLiteral("中文课")},
        {"blanks stay for the caller to collapse", QStringLiteral(" 中 "), 0, QString(), true, QStringLiteral(" 中 ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WidenQuery(c.word, c.charIndex, c.following, c.smart), c.expected);
    }
}

TEST_F(OnlineRulesTest, SearchAddressEncodesTheQueryAsUtf8)
{
    struct Case {
        QString query;
        QString tail;
    };
    const Case cases[] = {
        {QStringLiteral("中文"), QStringLiteral("q=%E4%B8%AD%E6%96%87&simple=1")},
        {QStringLiteral("han4 yu3"), QStringLiteral("q=han4%20yu3&simple=1")},
        {QStringLiteral("a&b=c#d"), QStringLiteral("q=a%26b%3Dc%23d&simple=1")},
        {QStringLiteral("x+y/z?"), QStringLiteral("q=x%2By%2Fz%3F&simple=1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query.toStdString());
        EXPECT_EQ(OnlineService::SearchAddress(QStringLiteral("http://h.example"), c.query),
            QStringLiteral("http://h.example/en/search/?") + c.tail);
    }
}

TEST_F(OnlineRulesTest, ServiceAddressFromEnvironmentSettingOrDefault)
{
    EXPECT_EQ(OnlineService::ServiceAddress(), QLatin1String(OnlineService::DefaultAddress));
    WriteFile(QLatin1String(OnlineService::SettingFile), "\n  http://lexicon.example.net:8080/  \nignored\n");
    EXPECT_EQ(OnlineService::ServiceAddress(), QStringLiteral("http://lexicon.example.net:8080"));
    qputenv("VELMORA_ONLINE_SERVICE", "http://127.0.0.1:9");
    EXPECT_EQ(OnlineService::ServiceAddress(), QStringLiteral("http://127.0.0.1:9"));
    const QString label = OnlineService::SourceLabel();
    EXPECT_TRUE(label.startsWith(QLatin1Char('[')) && label.endsWith(QLatin1Char(']')));
}

TEST_F(OnlineRulesTest, CacheLookUpIgnoresCaseAndTakesTheFirst)
{
    AppState& s = State();
    s.OnlineWordTable = {{QStringLiteral("hello"), QStringLiteral(" first")}, {QStringLiteral("Hello"), QStringLiteral(" second")},
        {QStringLiteral("中文"), QStringLiteral(" x")}};
    s.OnlineWordCount = 3;
    EXPECT_EQ(FindOnlineWord(QStringLiteral("HELLO")), 1);
    EXPECT_EQ(FindOnlineWord(QStringLiteral("Hello")), 1);
    EXPECT_EQ(FindOnlineWord(QStringLiteral("中文")), 3);
    EXPECT_EQ(FindOnlineWord(QStringLiteral("hell")), 0);
    s.OnlineWordCount = 2; // only counted records are searched
    EXPECT_EQ(FindOnlineWord(QStringLiteral("中文")), 0);
}

TEST_F(OnlineRulesTest, QueryKinds)
{
    struct Case {
        QString query;
        bool chinese;
        bool pinyin;
    };
    const Case cases[] = {
        {QStringLiteral("中文"), true, false},
        {QStringLiteral("ni3 hao3"), false, true},
        {QStringLiteral("hello"), false, false},
        {QStringLiteral("42"), false, false},
        {QStringLiteral(" 4.5 "), false, false},
        {QStringLiteral("mp3"), false, true},
        {QString(), false, false},
        {QStringLiteral("Ā1"), false, true}, // code 256 is not Chinese
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query.toStdString());
        EXPECT_EQ(IsChineseQuery(c.query), c.chinese);
        EXPECT_EQ(IsPinyinQuery(c.query), c.pinyin);
    }
}

TEST_F(OnlineRulesTest, ProgressBarValue)
{
    struct Case {
        qint64 progress, max;
        int current, expected;
    };
    const Case cases[] = {
        {-1, 0, 70, 0}, {50, 200, 0, 25}, {1, 3, 0, 33}, {1, 8, 0, 12}, {3, 8, 0, 38},
        {300, 200, 40, 40}, {0, 100, 40, 40}, {10, 0, 40, 40}, {200, 200, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.progress << "/" << c.max);
        EXPECT_EQ(ProgressBarValue(c.progress, c.max, c.current), c.expected);
    }
}

TEST_F(OnlineRulesTest, LocateWalksTheOccurrencesAndWrapsPastTheHeading)
{
    const QString text = QStringLiteral("hello 1) hi;    [Lexicon Online]\r\nSay Hello.\r\nHELLO there");
    const QString query = QStringLiteral("hello");
    struct Step {
        int selStart, locateStart;
    };
    // From just after the heading (as a cache hit leaves it): the two later ones, then around.
    const Step steps[] = {{38, 44}, {46, 52}, {38, 44}};
    int start = int(query.size()) + 1;
    for (const Step& step : steps) {
        const LocateResult r = LocateNext(text, query, start, query);
        EXPECT_EQ(r.selStart, step.selStart);
        EXPECT_EQ(r.selLength, 5);
        EXPECT_EQ(r.locateStart, step.locateStart);
        start = r.locateStart;
    }
    // Nothing beyond the heading: the caret goes to the start and the start stays wrapped.
    const LocateResult none = LocateNext(QStringLiteral("hello only"), query, 3, QStringLiteral("hello"));
    EXPECT_EQ(none.selStart, -1);
    EXPECT_EQ(none.locateStart, 6);
    // A start taken from a caret at 0 searches from the top.
    EXPECT_EQ(LocateNext(text, QStringLiteral("say"), 0, query).selStart, 34);
    EXPECT_EQ(LocateNext(text, query, 500, query).selStart, 38);
}

TEST_F(OnlineRulesTest, HistoryKeepsEachWordOnceMostRecentFirst)
{
    QStringList history;
    for (const char* w : {"one", "two", "ONE", "three"})
        AddToHistory(history, QString::fromLatin1(w));
    EXPECT_EQ(history, (QStringList{QStringLiteral("three"), QStringLiteral("two"), QStringLiteral("one")}));
}

TEST_F(OnlineRulesTest, SelectionInTheResultBox)
{
    const QString text = QStringLiteral("中文课本 is a textbook");
    struct Case {
        const char* name;
        int start, length;
        bool fill;
        QString search;
        bool popup;
        QString previous, next;
    };
    const Case cases[] = {
        {"one character opens the pop-up with its neighbours", 1, 1, true, QStringLiteral("文"), true, QStringLiteral("中"),
         QStringLiteral("课")},
        {"no Chinese neighbour", 3, 1, true, QStringLiteral("本"), true, QStringLiteral("课"), QString()},
        {"first character", 0, 1, true, QStringLiteral("中"), true, QString(), QStringLiteral("文")},
        {"three characters only fill the search box", 0, 3, true, QStringLiteral("中文课"), false, {}, {}},
        {"a Latin word", 10, 8, true, QStringLiteral("textbook"), false, {}, {}},
        {"blanks around are trimmed", 4, 4, true, QStringLiteral("is"), false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SelectionLookup r = LookUpSelection(text, c.start, c.length, text.mid(c.start, c.length));
        EXPECT_EQ(r.fillSearchBox, c.fill);
        EXPECT_EQ(r.searchText, c.search);
        EXPECT_EQ(r.popup, c.popup);
        EXPECT_EQ(r.previous, c.previous);
        EXPECT_EQ(r.next, c.next);
        EXPECT_TRUE(r.moveCaret);
        EXPECT_EQ(r.caret, c.start + c.length);
    }
    const QString longChinese = QStringLiteral("一二三四五六");
    EXPECT_FALSE(LookUpSelection(longChinese, 0, 6, longChinese).fillSearchBox);
    EXPECT_TRUE(LookUpSelection(longChinese, 0, 6, longChinese).moveCaret);
    const QString longLatin = QString(20, QLatin1Char('a'));
    EXPECT_FALSE(LookUpSelection(longLatin, 0, 20, longLatin).fillSearchBox);
    EXPECT_FALSE(LookUpSelection(text, 4, 1, QStringLiteral(" ")).moveCaret);
}

} // namespace
