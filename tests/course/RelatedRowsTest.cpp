// The related-expressions list's rows for its three callers, how a word is spoken, and the
// new-words review's counter and buttons.

#include <gtest/gtest.h>

#include "AppState.h"
#include "NewwordsReview.h"
#include "RelatedRows.h"
#include "TestSupport.h"

namespace {

struct Entry {
    const char* chinese;
    const char* english; // as stored: one blank at each end
    const char* pinyin;
    qint16 kind;
    qint16 number;
};

class RelatedRowsTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const Entry vocabulary[] = {
            {"好", " good ", "h.ao3", 1, 1},            // 1
            {"好", " to like ", "h.ao4", 1, 1},         // 2
            {"你好", " hello ", "n.i3 h.ao3", 1, 1},    // 3
            {"你", " you ", "n.i3", 1, 1},              // 4
            {"好人", " good person ", "h.ao3 r.en2", 1, 2}, // 5
            {"您好", " hello ", "n.in2 h.ao3", 1, 2},   // 6
            {"你们", " you (plural) ", "n.i3 m.en0", 1, 2}, // 7
            {"问好", " to greet ", "w.en4 h.ao3", 1, 3}, // 8
            {"好", " well ", "h.ao3", 2, 7},            // 9: additional vocabulary
        };
        AppState& s = State();
        for (const Entry& e : vocabulary) {
            s.WordText[0] << QString::fromUtf8(e.chinese);
            s.WordText[1] << QString::fromUtf8(e.english);
            s.WordPinyin << QString::fromUtf8(e.pinyin);
            s.WordSource[0] << e.kind;
            s.WordSource[1] << e.number;
        }
        s.WordCount = s.WordCountCopy = 9;
        s.LessonEntryCount = 8;
        s.ViewedLesson = 4;
        s.LessonWords = {QStringList{u"你好"_qs, u"好"_qs, u"你们好"_qs, u"第.一"_qs},
            QStringList{"hello", "good", "hello all", "first"},
            QStringList{"n.i3 h.ao3", "h.ao3", "n.i3 m.en0 h.ao3", "d.i4 y.i1"}};
        s.LessonWordCount = 4;
    }

    static QStringList Chinese(const QList<RelatedRow>& rows)
    {
        QStringList list;
        for (const RelatedRow& r : rows)
            list << r.Chinese + QLatin1Char('/') + r.English;
        return list;
    }
};

TEST_F(RelatedRowsTest, TheReviewListsByTheLengthsOfWordAndEntry)
{
    const struct {
        const char* name;
        const char* word;
        const char* english;
        QStringList expected;
    } cases[] = {
        {"one character: its other meanings and every longer word holding it", "好", "good",
            {u"好/to like"_qs, u"你好/hello"_qs, u"好人/good person"_qs, u"您好/hello"_qs, u"问好/to greet"_qs,
                u"好/well"_qs}},
        {"a word: its characters whatever they mean, then words sharing its last or first character", "你好",
            "hello",
            {u"好/good"_qs, u"好/to like"_qs, u"你/you"_qs, u"你们/you (plural)"_qs, u"问好/to greet"_qs,
                u"好/well"_qs}},
        {"meanings are compared exactly", "你好", "Hello",
            {u"好/good"_qs, u"好/to like"_qs, u"你好/hello"_qs, u"你/you"_qs, u"您好/hello"_qs,
                u"你们/you (plural)"_qs, u"问好/to greet"_qs, u"好/well"_qs}},
        {"nothing related", "猫", "cat", {}},
        {"an empty word", "", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Chinese(ReviewRelatedRows(QString::fromUtf8(c.word), QString::fromUtf8(c.english))), c.expected);
    }
}

TEST_F(RelatedRowsTest, RowsCarryTheirPinyinAndSource)
{
    const QList<RelatedRow> rows = ReviewRelatedRows(u"你好"_qs, QStringLiteral("hello"));
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows[0], (RelatedRow{u"好"_qs, u"hǎo"_qs, QStringLiteral("good"), QStringLiteral("h.ao3"), 1, 1}));
    EXPECT_EQ(rows.last(), (RelatedRow{u"好"_qs, u"hǎo"_qs, QStringLiteral("well"), QStringLiteral("h.ao3"), 2, 7}));

    State().WordCountCopy = 8; // the pinyin table ends before entry 9
    const RelatedRow beyond = ReviewRelatedRows(u"你好"_qs, QStringLiteral("hello")).last();
    EXPECT_EQ(beyond.Chinese, u"好"_qs);
    EXPECT_EQ(beyond.Pinyin, QString());
    EXPECT_EQ(beyond.HiddenPinyin, QString());
}

TEST_F(RelatedRowsTest, FillsStopAtTheirLimits)
{
    AppState& s = State();
    for (int k = 0; k < 30; ++k) {
        s.WordText[0] << u"好"_qs + QString::number(k);
        s.WordText[1] << QStringLiteral(" x%1 ").arg(k);
        s.WordPinyin << QStringLiteral("h.ao3");
        s.WordSource[0] << 2;
        s.WordSource[1] << 1;
    }
    s.WordCount = s.WordCountCopy = s.LessonEntryCount = qint16(s.WordText[0].size());
    EXPECT_EQ(ReviewRelatedRows(u"好"_qs, QStringLiteral("good")).size(), 20);
    EXPECT_EQ(TypingRelatedRows(u"好"_qs, false).size(), 10);
    EXPECT_EQ(ReadAfterRelatedRows(u"好"_qs, true, 1, false, true).size(), 10);
}

TEST_F(RelatedRowsTest, TheTypingTaskListsEveryEntryHoldingTheCharacterWithoutPinyin)
{
    const QList<RelatedRow> rows = TypingRelatedRows(u"你"_qs, false);
    EXPECT_EQ(Chinese(rows), (QStringList{u"你好/hello"_qs, u"你/you"_qs, u"你们/you (plural)"_qs}));
    for (const RelatedRow& r : rows) {
        EXPECT_EQ(r.Pinyin, QString());
        EXPECT_FALSE(r.HiddenPinyin.isEmpty()) << "still spoken";
    }
    EXPECT_EQ(TypingRelatedRows(u"你"_qs, true)[0].Pinyin, u"nǐ hǎo"_qs);
}

TEST_F(RelatedRowsTest, TheReadAfterListStartsWithTheWordsOwnEntryAndNeverRepeatsIt)
{
    const struct {
        const char* name;
        const char* word;
        int entry;
        bool fromLesson;
        bool wholeWord;
        QStringList expected;
    } cases[] = {
        {"a course word", "好", 1, false, true,
            {u"好/good"_qs, u"好/to like"_qs, u"你好/hello"_qs, u"好人/good person"_qs, u"您好/hello"_qs,
                u"问好/to greet"_qs}},
        {"the same character from another entry", "好", 2, false, true,
            {u"好/to like"_qs, u"好/good"_qs, u"你好/hello"_qs, u"好人/good person"_qs, u"您好/hello"_qs,
                u"问好/to greet"_qs}},
        {"a lesson word among the lesson's words", "好", 2, true, true,
            {u"好/good"_qs, u"你好/hello"_qs, u"你们好/hello all"_qs}},
        {"a character read out of a longer entry: its entry alone", "们", 7, false, false,
            {u"你们/you (plural)"_qs}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Chinese(ReadAfterRelatedRows(QString::fromUtf8(c.word), true, c.entry, c.fromLesson, c.wholeWord)),
            c.expected);
    }
    const RelatedRow own = ReadAfterRelatedRows(u"你好"_qs, true, 1, true, true)[0];
    EXPECT_EQ(own, (RelatedRow{u"你好"_qs, u"nǐ hǎo"_qs, QStringLiteral("hello"), QStringLiteral("ni3 hao3"), 1, 4}));
    EXPECT_EQ(ReadAfterRelatedRows(u"好"_qs, false, 1, false, true)[0].Pinyin, QString());
}

TEST_F(RelatedRowsTest, AWordIsSpokenByItsLength)
{
    const QString symbols = State().AppPath + QStringLiteral("Phonetic Symbols/");
    const struct {
        const char* chinese;
        const char* pinyin;
        bool sequence;
        QString spoken; // the queue's text or the file
        const char* tone;
    } cases[] = {
        {"你好", "n.i3 h.ao3", true, QStringLiteral("ni3 hao3"), ""},
        {"好", "h.ao3", false, symbols + QStringLiteral("H/hao3.wav"), "3"},
        {"吗", "m.a0", false, symbols + QStringLiteral("M/ma1.wav"), "0"},
        {"（吗）", "m.a0", false, symbols + QStringLiteral("M/ma1.wav"), "0"},
        {"吗", "ma", false, symbols + QStringLiteral("M/ma.wav"), "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chinese);
        const WordSound sound = SoundOfWord(QString::fromUtf8(c.chinese), QString::fromUtf8(c.pinyin));
        EXPECT_EQ(sound.Sequence, c.sequence);
        EXPECT_EQ(c.sequence ? sound.Pinyin : sound.Path, c.spoken);
        if (!c.sequence) {
            EXPECT_EQ(sound.Tone, QLatin1String(c.tone));
        }
    }
}

TEST(NewwordsReviewTest, TheCounterListAndButtonsFollowTheWord)
{
    EXPECT_EQ(ReviewCounterAtLoad(0), "0 / 0 ");
    EXPECT_EQ(ReviewCounter(3, 12), "3 / 12");
    EXPECT_EQ(ReviewListItems(QStringList{u"你好"_qs, u"谢谢"_qs}, 2), (QStringList{u"1. 你好"_qs, u"2. 谢谢"_qs}));

    const struct {
        const char* name;
        int current, count;
        ReviewButtons expected;
    } cases[] = {
        {"first", 1, 3, {false, true}},
        {"middle", 2, 3, {true, true}},
        {"last", 3, 3, {true, false}},
        {"single", 1, 1, {false, false}},
        {"empty", 0, 0, {false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReviewButtonsAt(c.current, c.count), c.expected);
    }
}

} // namespace
