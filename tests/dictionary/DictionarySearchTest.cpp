#include <gtest/gtest.h>

#include "BlankTrim.h"
#include "DictionaryFixture.h"
#include "DictionaryRules.h"
#include "Module3Rtf.h"
#include "VocabularySearch.h"

namespace {

QStringList W(std::initializer_list<const char16_t*> words)
{
    QStringList out;
    for (const char16_t* w : words)
        out << QString::fromUtf16(w);
    return out;
}

QStringList Column(const QVector<HitRow>& rows, QString HitRow::*column)
{
    QStringList out;
    for (const HitRow& row : rows)
        out << row.*column;
    return out;
}

using SearchTest = DictionaryFixture;

TEST_F(SearchTest, QueriesAreClassifiedAndFindTheirEntries)
{
    struct Case {
        const char16_t* word;
        bool exact;
        QueryKind kind;
        const char16_t* handedBack;
        QStringList hits;
    };
    const QStringList lesson3 = W({u"你好", u"好", u"我们", u"去", u"好吗"});
    const QStringList hao3 = W({u"你好", u"好", u"好吗", u"好(的)", u"好", u"好好"});
    const Case cases[] = {
        {u"3", false, QueryKind::LessonNumber, u"3", lesson3},
        {u"03", false, QueryKind::LessonNumber, u"3", lesson3},
        {u"3.9", false, QueryKind::LessonNumber, u"3", lesson3},
        {u"0", false, QueryKind::LessonNumber, u"0", {}},
        {u"92", false, QueryKind::LessonNumber, u"92", {}},
        {u"-2.5", false, QueryKind::LessonNumber, u"-3", {}},
        // Beyond 16 bits, and beyond a double: no hits, never a failure.
        {u"99999999999", false, QueryKind::LessonNumber, u"99999999999", {}},
        {u"1e999", false, QueryKind::LessonNumber, u"inf", {}},
        {u"hao3", false, QueryKind::Pinyin, u"hao3", hao3},
        {u"HAO3", false, QueryKind::Pinyin, u"HAO3", hao3},
        {u" hao3", false, QueryKind::Pinyin, u" hao3", {}},
        {u"ao3", false, QueryKind::Pinyin, u"ao3", {}},
        {u"wo3  men0", false, QueryKind::Pinyin, u"wo3  men0", W({u"我们"})},
        {u"a3b4", false, QueryKind::Pinyin, u"a3b4", {}},
        {u"ma", false, QueryKind::English, u"ma", {}},
        {u"go", false, QueryKind::English, u"go", W({u"走", u"走开"})},
        {u"GO", false, QueryKind::English, u"GO", W({u"走", u"走开"})},
        {u"to walk", false, QueryKind::English, u"to walk", W({u"走"})},
        {u"good", false, QueryKind::English, u"good", W({u"好"})},
        {u"你好？", false, QueryKind::Chinese, u"你好？", {}},
        {u"好", false, QueryKind::Chinese, u"好", hao3},
        {u"好", true, QueryKind::Chinese, u"好", W({u"好", u"好"})},
        {u"好的", false, QueryKind::Chinese, u"好的", W({u"好(的)"})},
        {u"好的", true, QueryKind::Chinese, u"好的", {}},
        {u"好(的)", true, QueryKind::Chinese, u"好(的)", W({u"好(的)"})},
        {u"？", false, QueryKind::Chinese, u"？", {}},
    };
    VocabularyIndex index;
    index.Build(State());
    for (const Case& c : cases) {
        const QString word = QString::fromUtf16(c.word);
        SCOPED_TRACE(word.toStdString() + (c.exact ? " exact" : ""));
        const VocabularyQuery q = ClassifyQuery(word);
        EXPECT_EQ(q.Kind, c.kind);
        EXPECT_EQ(q.Word, QString::fromUtf16(c.handedBack));
        EXPECT_EQ(Words(SearchVocabularyLinear(State(), q, c.exact)), c.hits);
        EXPECT_EQ(Words(index.Search(State(), q, c.exact)), c.hits);
    }
}

TEST_F(SearchTest, TheIndexAgreesWithTheScanOnEveryPieceOfTheTable)
{
    // Every word, syllable, English word and prefix of them that the table holds, in both
    // exactness modes: the index only narrows the candidates, never the answer.
    QStringList queries{u"a"_qs, u"g"_qs, u"go;"_qs, u"o"_qs, u"1"_qs, u"h"_qs, u"ll"_qs, u"ß"_qs, u"to  go"_qs,
        u"go away x"_qs, u"hao3  ma0"_qs, u"ni3 hao3 "_qs, u"a 𐐨x"_qs, u"a 𐐀X"_qs, u"𐐨"_qs, u"aB𐐨"_qs,
        u"x; AB𐐨"_qs, u"ab𐐨x"_qs};
    // Letters beyond 16 bits fold as pairs in the comparison.
    AddWord(u"𐐀字", u" a 𐐀x; ab𐐀 ", u"z.i4", 2, 1);
    const AppState& s = State();
    for (int k = 0; k < s.WordCount; ++k) {
        const QString& chinese = s.WordText[0][k];
        for (int n = 1; n <= chinese.size(); ++n)
            queries << chinese.left(n) << chinese.mid(n - 1, 1);
        for (const QString& piece : s.WordText[1][k].split(QLatin1Char(' '), Qt::SkipEmptyParts))
            queries << piece << piece.left(1) << piece.left(2) << piece.toUpper();
        for (const QString& piece : s.WordPinyin[k].split(QLatin1Char(' ')))
            queries << QString(piece).remove(QLatin1Char('.')) << piece;
        // Whole phrases and syllable runs: keys after every blank inside them.
        queries << BlankTrim(s.WordText[1][k]) << QString(s.WordPinyin[k]).remove(QLatin1Char('.')).toUpper();
    }
    VocabularyIndex index;
    index.Build(s);
    for (const QString& word : std::as_const(queries))
        for (const bool exact : {false, true}) {
            SCOPED_TRACE(word.toStdString());
            const VocabularyQuery q = ClassifyQuery(word);
            EXPECT_EQ(index.Search(s, q, exact), SearchVocabularyLinear(s, q, exact));
        }
}

TEST_F(SearchTest, TheIndexFollowsANewVocabulary)
{
    VocabularySearch search;
    QString word = QStringLiteral("evening");
    EXPECT_EQ(search.Search(State(), ClassifyQuery(word), false).size(), 1);
    ResetState();
    AddWord(u"晚", u" evening ", u"w.an3", 1, 1);
    AddWord(u"晚上", u" evening ", u"w.an3 sh.ang4", 1, 1);
    EXPECT_EQ(Words(search.Search(State(), ClassifyQuery(word), false)), W({u"晚", u"晚上"}));
}

TEST_F(SearchTest, HitRowsCarryTheSixColumns)
{
    DictionaryRules rules;
    QString word = QStringLiteral("hao3");
    const SearchOutcome out = rules.Search(word, false);
    ASSERT_EQ(out.Rows.size(), 6);
    EXPECT_EQ(Column(out.Rows, &HitRow::Index), (QStringList{u"  1"_qs, u"  2"_qs, u"  3"_qs, u"  4"_qs, u"  5"_qs, u"  6"_qs}));
    const HitRow& fourth = out.Rows[3];
    EXPECT_EQ(fourth.Chinese, u"好(的)"_qs);
    EXPECT_EQ(fourth.English, u" OK "_qs);
    EXPECT_EQ(fourth.Pinyin, u"h.ao3 d.e0"_qs);
    EXPECT_EQ(fourth.Origin1, u"2"_qs);
    EXPECT_EQ(fourth.Origin2, u"7"_qs);
    EXPECT_EQ(MakeHitRow(12, 1).Index, u" 12"_qs);
    EXPECT_EQ(MakeHitRow(123, 1).Index, u"123"_qs);
}

TEST_F(SearchTest, TheHitOpenedIsTheWordItselfOrTheViewedLessonsDuringTheVocabularyTest)
{
    struct Case {
        const char16_t* word;
        bool vocabularyTest;
        qint16 viewedLesson;
        int openRow;
        bool scroll;
    };
    const Case cases[] = {
        {u"好", false, 0, 2, false},  // the first hit whose word is exactly the query
        {u"hao3", false, 0, 0, false}, // pinyin, English and lesson queries open nothing
        {u"3", false, 0, 0, false},
        {u"好的", false, 0, 0, false},
        // During the test: the first hit of the viewed lesson, whatever its word.
        {u"好", true, 12, 5, true},
        {u"好", true, 3, 1, true},
        {u"好", true, 40, 0, false},
        {u"好", true, 7, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.word).toStdString() + " " + std::to_string(c.viewedLesson));
        State().VocabularyTestOpen = c.vocabularyTest ? -1 : 0;
        State().ViewedLesson = c.viewedLesson;
        DictionaryRules rules;
        QString word = QString::fromUtf16(c.word);
        const SearchOutcome out = rules.Search(word, false);
        EXPECT_EQ(out.Result, SearchOutcome::Found);
        EXPECT_EQ(out.OpenRow, c.openRow);
        EXPECT_EQ(out.ScrollIntoView, c.scroll);
    }
}

TEST_F(SearchTest, ARepeatedWordIsNotSearchedAgainUntilASearchFails)
{
    DictionaryRules rules;
    struct Step {
        const char16_t* word;
        SearchOutcome::Kind result;
        const char16_t* box;
    };
    const Step steps[] = {
        {u"好", SearchOutcome::Found, u"好"},
        {u"好", SearchOutcome::Ignored, u"好"},
        {u"go", SearchOutcome::Found, u"go"},
        {u"好", SearchOutcome::Found, u"好"}, // another word came in between
        {u"xyz", SearchOutcome::NotFound, u"Sorry 对不起."},
        {u"xyz", SearchOutcome::NotFound, u"Sorry 对不起."}, // a failure is tried again at once
        {u"好", SearchOutcome::Found, u"好"},
        {u"", SearchOutcome::Ignored, u""},
        {u"Sorry 对不起.", SearchOutcome::Ignored, u"Sorry 对不起."},
        {u"Search  搜索", SearchOutcome::Ignored, u"Search  搜索"},
        {u"0", SearchOutcome::NotFound, u"Sorry 对不起."},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(QString::fromUtf16(step.word).toStdString());
        QString word = QString::fromUtf16(step.word);
        const SearchOutcome out = rules.Search(word, false);
        EXPECT_EQ(out.Result, step.result);
        EXPECT_EQ(out.SearchBoxText, QString::fromUtf16(step.box));
        EXPECT_EQ(rules.ShowingHits, step.result == SearchOutcome::Found || (step.result == SearchOutcome::Ignored
                                                                                 && !rules.LastSearchWord.isEmpty()));
        if (step.result == SearchOutcome::NotFound) {
            EXPECT_TRUE(rules.LastSearchWord.isEmpty());
        }
    }
}

TEST_F(SearchTest, AnIgnoredSearchTakesTheFocusOnlyWhileTheWindowIsActive)
{
    DictionaryRules rules;
    QString word;
    EXPECT_FALSE(rules.Search(word, false).FocusSearchBox); // a new window is not active
    rules.Inactive = false;
    EXPECT_TRUE(rules.Search(word, false).FocusSearchBox);
    rules.Inactive = true;
    EXPECT_FALSE(rules.Search(word, false).FocusSearchBox);
}

TEST_F(SearchTest, TheHistoryTakesNewWordsAtTheTopAndNeverTwiceInAnyCase)
{
    DictionaryRules rules;
    struct Step {
        const char16_t* word;
        bool added;
        const char16_t* box;
        QStringList history;
    };
    const Step steps[] = {
        {u"go", true, u"go", W({u"go"})},
        {u"好", true, u"好", W({u"好", u"go"})},
        {u"GO", false, u"GO", W({u"好", u"go"})}, // in the list already: not added, not moved
        {u"03", true, u"3", W({u"3", u"好", u"go"})}, // a lesson number goes in as its whole number
        {u"3.5", false, u"3.5", W({u"3", u"好", u"go"})},
        {u"xyz", false, u"Sorry 对不起.", W({u"3", u"好", u"go"})}, // no hits, no history
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(QString::fromUtf16(step.word).toStdString());
        QString word = QString::fromUtf16(step.word);
        const SearchOutcome out = rules.Search(word, false);
        EXPECT_EQ(out.HistoryAdded, step.added);
        EXPECT_EQ(out.SearchBoxText, QString::fromUtf16(step.box));
        EXPECT_EQ(rules.History, step.history);
    }
}

TEST_F(SearchTest, ASearchSetsLocateAfterTheWordAndGivesEachHitAnEmptyExampleSlot)
{
    DictionaryRules rules;
    rules.ExampleCache = QStringList{u"old"_qs};
    QString word = QStringLiteral("hao3");
    rules.Search(word, false);
    EXPECT_EQ(rules.LocateFrom, 5);
    EXPECT_EQ(rules.ExampleCache, QStringList(6));
}

} // namespace
