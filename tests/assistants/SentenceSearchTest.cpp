#include <gtest/gtest.h>

#include "BlankTrim.h"
#include "SentenceSearch.h"
#include "TestSupport.h"

using namespace Sentences;

namespace {

SentenceRecord Sentence(const char16_t* chinese, const char* english, qint16 source = 1)
{
    return {QString(), QString::fromUtf16(chinese), QString::fromUtf8(english), source};
}

const QVector<SentenceRecord> Table{
    Sentence(u"我要一杯茶。", "I want a cup of tea."),     // 1
    Sentence(u"茶很好喝。", "Tea, please."),                // 2: "Tea" starts the line and touches a comma
    Sentence(u"你喝茶吗？", "Do you drink TEA or coffee?"), // 3
    Sentence(u"这是茶馆。", "This is a teahouse <<< note"), // 4: never listed
    Sentence(u"请喝茶。", "tea"),                           // 5: a lone word has no blank beside it
    Sentence(u"我喝咖啡。", "I drink coffee."),             // 6
};

TEST(SentenceSearch, KeywordsHoldBesideABlankWithoutCaseAndAllMustHold)
{
    const struct {
        const char16_t* text;
        QList<int> found;
    } cases[] = {
        {u"tea", {1, 3}},
        {u"TEA", {1, 3}},
        {u"drink coffee", {3, 6}},
        {u"teahouse", {}},
        {u"please", {2}},
        {u"喝茶", {3, 5}},
        {u"茶 喝", {2, 3, 5}},
        {u"茶馆", {}},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        QList<int> found;
        for (const Hit& h : Search(Table, int(Table.size()), text))
            found << h.Position;
        EXPECT_EQ(found, c.found);
    }
}

TEST(SentenceSearch, RowsShowTheColumnOfTheSearchLanguageAndTheBarFollowsEverySentence)
{
    QList<int> progress;
    const QList<Hit> chinese = Search(Table, 6, QStringLiteral("喝茶"), [&](int k) { progress << k; });
    ASSERT_EQ(chinese.size(), 2);
    EXPECT_EQ(chinese[0].Text, QStringLiteral("你喝茶吗？"));
    EXPECT_EQ(progress, (QList<int>{1, 2, 3, 4, 5, 6}));
    const QList<Hit> english = Search(Table, 6, QStringLiteral("please"));
    ASSERT_EQ(english.size(), 1);
    EXPECT_EQ(english[0].Text, QStringLiteral("Tea, please."));
    // Only the counted part of the table is searched.
    EXPECT_TRUE(Search(Table, 2, QStringLiteral("coffee")).isEmpty());
}

TEST(SentenceSearch, KeywordTextIsCleanedSplitAndCheckedForLength)
{
    const struct {
        const char16_t* typed;
        const char16_t* cleaned; // trimmed, as the search uses it
        QStringList keywords;
        const char* message;
    } cases[] = {
        {u"3 don't?", u"dont", {"dont"}, ""},
        {u"  hello, world! ", u"hello world", {"hello", "world"}, ""},
        {u"a_b^c`d~e", u"a_b^c`d~e", {"a_b^c`d~e"}, ""},
        {u"[x]{y}|z", u"xyz", {"xyz"}, ""},
        {u"你好，“朋友”！", u"你好朋友", {QStringLiteral("你好朋友")}, ""},
        {u"go", u"go", {"go"}, "The length of all English keywords must be more than two."},
        {u"go up", u"go up", {"go", "up"}, ""},
        {u"茶", u"茶", {QStringLiteral("茶")}, "The length of all Chinese keywords must be more than one."},
        {u"喝茶", u"喝茶", {QStringLiteral("喝茶")}, ""},
        {u"a  b", u"a  b", {"a", "", "b"}, ""},
    };
    for (const auto& c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        SCOPED_TRACE(typed.toStdString());
        const QString cleaned = BlankTrim(StripKeywordPunctuation(typed));
        EXPECT_EQ(cleaned, QString::fromUtf16(c.cleaned));
        const QStringList keywords = SplitKeywords(cleaned);
        EXPECT_EQ(keywords, c.keywords);
        EXPECT_EQ(KeywordLengthMessage(cleaned, keywords), QString::fromUtf8(c.message));
    }
    EXPECT_TRUE(IsEnglishSearch(QStringLiteral("tea")));
    EXPECT_FALSE(IsEnglishSearch(QStringLiteral("_tea")));
    EXPECT_FALSE(IsEnglishSearch(QStringLiteral("茶")));
}

TEST(SentenceSearch, CategoryCaptionsAndTheirContiguousRows)
{
    const QStringList captions = TopicCaptions();
    ASSERT_EQ(captions.size(), 21);
    EXPECT_EQ(captions[0], QStringLiteral("You can select a category."));
    EXPECT_EQ(captions[1], QStringLiteral("01) 问候            Greeting"));
    EXPECT_EQ(captions[5], QStringLiteral("05) 出租车        Taxi"));
    EXPECT_EQ(captions[8], QStringLiteral("08) 公共汽车  Bus"));
    EXPECT_EQ(captions[14], QStringLiteral("14) 理发店        Barber's"));
    EXPECT_EQ(captions[20], QStringLiteral("20) 邮局            Post Office"));
    const CaptionParts bus = SplitCaption(captions[8]);
    EXPECT_EQ(bus.Head, QStringLiteral("08) 公共汽车"));
    EXPECT_EQ(bus.English, QStringLiteral("Bus"));
    EXPECT_EQ(SplitCaption(captions[20]).English, QStringLiteral("Post Office"));

    // Lesson sentences, then the topic block at 3..8, then a stray topic-8 sentence beyond it.
    QVector<SentenceRecord> table;
    for (qint16 source : {5, 99, 98, 99, 99, 98, 100, 99, 99})
        table << Sentence(u"车", "bus", source);
    EXPECT_EQ(TopicRows(table, 2, 8, 8), (QVector<int>{2})); // stops at the first other topic
    EXPECT_EQ(TopicRows(table, 4, 8, 8), (QVector<int>{4, 5}));
    EXPECT_EQ(TopicRows(table, 3, 9, 9), (QVector<int>{7}));
    EXPECT_TRUE(TopicRows(table, 1, 0, 8).isEmpty()); // no topic sentences loaded
}

TEST(SentenceSearch, SyllableIndexSkipsPunctuation)
{
    const QString chinese = QStringLiteral("你好，朋友。");
    const struct {
        int p;
        int index;
    } cases[] = {{1, 1}, {2, 2}, {4, 3}, {5, 4}, {6, 4}, {0, 0}, {-3, 0}, {40, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.p);
        EXPECT_EQ(SyllableIndexAt(chinese, c.p), c.index);
    }
}

TEST(SentenceSearch, HistoryKeepsOneEntryPerExactText)
{
    QStringList history;
    EXPECT_TRUE(AddSearchHistory(history, QStringLiteral("tea")));
    EXPECT_FALSE(AddSearchHistory(history, QStringLiteral("tea")));
    EXPECT_TRUE(AddSearchHistory(history, QStringLiteral("Tea")));
    EXPECT_EQ(history, (QStringList{"tea", "Tea"}));
}

TEST(SentenceSearch, AskUsChecksInOrder)
{
    const QString prompt = AskPrompt;
    const struct {
        const char* tutor;
        const char* user;
        QString text;
        const char* message;
    } cases[] = {
        {"", "", QString(), "Please fill in your tutor's email address on Setting panel."},
        {"lee", "", QStringLiteral("Hi"), "Please fill in your name on Setting panel."},
        {"lee", "Ann", QStringLiteral("   "), "Please write out your sentences in the text box above."},
        {"lee", "Ann", prompt, "Please write out your sentences in the text box above."},
        {"lee", "Ann", QStringLiteral("Say: ") + prompt.toUpper(), "Please write out your sentences in the text box above."},
        {"lee", "Ann", QStringLiteral("How do I say 'ferry'?"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(AskUsProblem(QLatin1String(c.tutor), QLatin1String(c.user), c.text), QLatin1String(c.message));
    }
    EXPECT_EQ(AskUsSubject(QStringLiteral("Ann")), QStringLiteral("Ann: How to speak this sentence in Chinese?"));
}

} // namespace
