// The typing task's rules without the window: which characters a lesson asks and with which
// syllable, the rate, and the candidate input on a small character table.

#include <gtest/gtest.h>

#include "AppState.h"
#include "CharacterTable.h"
#include "TestSupport.h"
#include "TypingRules.h"

namespace {
struct Word {
    const char* chinese;
    const char* pinyin;
};

void SetLessonWords(const QList<Word>& words)
{
    AppState& s = State();
    for (QStringList& column : s.LessonWords)
        column.clear();
    for (const Word& w : words) {
        s.LessonWords[0].append(QString::fromUtf8(w.chinese));
        s.LessonWords[1].append(QStringLiteral(" meaning "));
        s.LessonWords[2].append(QString::fromUtf8(w.pinyin));
    }
    s.LessonWordCount = qint16(words.size());
}

// Vocabulary rows: Chinese, source kind and number. Lesson rows count as lesson entries up to
// the first row of kind 2.
void SetVocabulary(const QList<std::tuple<const char*, qint16, qint16>>& rows)
{
    AppState& s = State();
    qint16 lessonEntries = 0;
    for (const auto& [chinese, kind, number] : rows) {
        s.WordText[0].append(QString::fromUtf8(chinese));
        s.WordText[1].append(QStringLiteral(" x "));
        s.WordSource[0].append(kind);
        s.WordSource[1].append(number);
        s.WordPinyin.append(QString());
        if (kind == 1)
            ++lessonEntries;
    }
    s.WordCount = s.WordCountCopy = qint16(rows.size());
    s.LessonEntryCount = lessonEntries;
}

class TypingRulesTest : public AppFixture {};
} // namespace

TEST_F(TypingRulesTest, LessonNewCharacters)
{
    // Lessons 1 and 2 precede lesson 3; the extra vocabulary (kind 2, numbers 1 and 2) comes
    // after the lesson entries and must not remove anything.
    const QList<std::tuple<const char*, qint16, qint16>> vocabulary = {
        {"你好", 1, 1}, {"我", 1, 1}, {"老师", 1, 2}, {"学生", 1, 3}, {"大学", 1, 4}, {"生日", 2, 1}, {"人们", 2, 2}};
    struct Case {
        const char* name;
        qint16 lesson;
        QList<Word> words;
        const char* expected;
    };
    const Case cases[] = {
        {"each character once, at its first place", 1, {{"你好", ""}, {"好人", ""}, {"你们", ""}}, "你好人们"},
        {"lesson 1 removes nothing", 1, {{"我", ""}, {"老师", ""}}, "我老师"},
        {"earlier lessons removed", 3, {{"你们", ""}, {"老人", ""}, {"学生", ""}}, "们人学生"},
        {"the scan stops at the viewed lesson", 2, {{"学生", ""}, {"老师", ""}}, "学生老师"},
        {"the extra vocabulary is never scanned", 5, {{"生日", ""}, {"人们", ""}}, "日人们"},
        {"punctuation dropped", 1, {{"好(的)。", ""}}, "好的"},
        {"no words", 3, {}, ""},
    };
    SetVocabulary(vocabulary);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        State().ViewedLesson = c.lesson;
        SetLessonWords(c.words);
        EXPECT_EQ(LessonNewCharacters(), QString::fromUtf8(c.expected));
    }
}

TEST_F(TypingRulesTest, EachCharacterTakesTheSyllableAtItsPlaceInTheFirstWordHoldingIt)
{
    State().ViewedLesson = 1;
    SetLessonWords({{"你好", "n.i3 h.ao3"}, {"好人", "h.ao4r.en2"}, {"谢谢", "xi.e4 xi.e0"}, {"三个人", "s.an1"},
        {"的", "d.e"}});
    const QVector<AskedCharacter> expected = {{"你", "n.i3"}, {"好", "h.ao3"}, {"人", "r.en2"}, {"谢", "xi.e4"},
        {"三", "s.an1"}, {"个", ""}, {"的", ""}};
    EXPECT_EQ(LessonCharacters(), expected);
}

TEST_F(TypingRulesTest, ACharacterBeyondTheBasicPlaneIsAskedWhole)
{
    // 𠮷 (U+20BB7, two UTF-16 units) and 𠀀 (U+20000) share their first unit.
    SetVocabulary({{"𠀀", 1, 1}});
    State().ViewedLesson = 2;
    SetLessonWords({{"𠮷人", "j.i2 r.en2"}, {"𠀀𠮷", "q.iu1 j.i2"}});
    const QVector<AskedCharacter> expected = {{"𠮷", "j.i2"}, {"人", "r.en2"}};
    EXPECT_EQ(LessonCharacters(), expected);
}

TEST_F(TypingRulesTest, SyllableAtTakesNoMoreSyllablesThanTheWordHasCharacters)
{
    EXPECT_EQ(SyllableAt("n.i3 h.ao3", 2, 2), "h.ao3");
    EXPECT_EQ(SyllableAt("n.i3 h.ao3 m.a0", 3, 2), "");
    EXPECT_EQ(SyllableAt("n.i3", 2, 2), "");
    EXPECT_EQ(SyllableAt("", 1, 1), "");
}

TEST_F(TypingRulesTest, AskedSoundPathPlaysTheNeutralToneAsTheFirst)
{
    const QString root = State().AppPath + "Phonetic Symbols/";
    EXPECT_EQ(AskedSoundPath("h.ao3"), root + "H/hao3.wav");
    EXPECT_EQ(AskedSoundPath("m.en0"), root + "M/men1.wav");
    EXPECT_EQ(AskedSoundPath(""), "");
}

TEST_F(TypingRulesTest, RatesRoundHalfToEven)
{
    struct Case {
        qint64 right, wrong;
        int rate;
    };
    const Case cases[] = {{4, 1, 80}, {11, 3, 79}, {1, 7, 12}, {3, 5, 38}, {3, 1, 75}, {1, 0, 100}, {0, 3, 0}, {0, 0, 0},
        {7, 1, 88}, {1, 199, 0}, {3, 197, 2}, {2'000'000'000, 0, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.right << "/" << c.wrong);
        EXPECT_EQ(CorrectnessRate(c.right, c.wrong), c.rate);
    }
    EXPECT_EQ(CountersLine(1, 0, 100), "Correct: 1 , Wrong: 0 , Correctness Rate: 100 %");
}

namespace {
CharacterRecord Record(const char* ch, const QStringList& readings)
{
    CharacterRecord r;
    r.Character = QString::fromUtf8(ch);
    for (const QString& reading : readings)
        r.Readings.append(ReadingsFromSyllables(reading));
    return r;
}

class CandidateTest : public AppFixture {
protected:
    void SetTable(const QVector<CharacterRecord>& records)
    {
        State().CharacterTable = records;
        State().CharacterCount = qint16(records.size());
    }
    // "ma" and "man": 妈 ma1, 马 ma3, 吗 ma0; 满 man3; 麻 ma2 (a second reading "mo1");
    // 么 me0 (longer only through its second reading "mo")...
    void SetMaTable()
    {
        SetTable({Record("满", {"m.an3"}), Record("妈", {"m.a1"}), Record("忙", {"m.ang2"}), Record("马", {"m.a3"}),
            Record("吗", {"m.a0", "m.a2"}), Record("摩", {"m.o2", "m.a1"}), Record("嘛", {"m.an2", "m.a0"})});
    }
};

QStringList Characters(const QVector<TypingCandidate>& list)
{
    QStringList out;
    for (const TypingCandidate& c : list)
        out.append(c.Character);
    return out;
}
} // namespace

TEST_F(CandidateTest, ExactGroupThenLongerGroupInTableOrder)
{
    SetMaTable();
    const auto& table = std::as_const(State().CharacterTable);
    // 嘛 has a longer reading first and an exact one after: it stands in both groups.
    EXPECT_EQ(Characters(FindTypingCandidates("ma", table, 7)),
        (QStringList{"妈", "马", "吗", "摩", "嘛", "满", "忙", "嘛"}));
    // The first matching reading of each character is taken: 吗 ma0, not ma2.
    const auto ma = FindTypingCandidates("ma", table, 7);
    EXPECT_EQ(ma[2], (TypingCandidate{"吗", "m", "ma", "0", "1"}));
    EXPECT_EQ(Characters(FindTypingCandidates("man", table, 7)), (QStringList{"满", "嘛", "忙"}));
    EXPECT_EQ(Characters(FindTypingCandidates("ma", table, 2)), (QStringList{"妈", "满"}));
    EXPECT_TRUE(FindTypingCandidates("x", table, 7).isEmpty());
    EXPECT_TRUE(FindTypingCandidates("", table, 7).isEmpty());
}

TEST_F(CandidateTest, PagesOfNineWithTheirHints)
{
    QVector<CharacterRecord> records;
    const char* chars[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
    for (const char* c : chars)
        records.append(Record(c, {"y.i1"}));
    struct Case {
        const char* name;
        int count;
        const char* asked;
        int pages;
        const char* pageText;
        const char* hint;
    };
    const Case cases[] = {
        {"9: one page", 9, "一", 1, " 1 一  2 二  3 三  4 四  5 五  6 六  7 七  8 八  9 九 ",
            "Press space bar to select the first Chinese character."},
        {"9, asked not first", 9, "五", 1, " 1 一  2 二  3 三  4 四  5 五  6 六  7 七  8 八  9 九 ",
            "Press number key to select the correct Chinese character."},
        {"10: two pages", 10, "一", 2, " 1 一  2 二  3 三  4 四  5 五  6 六  7 七  8 八  9 九  +/-",
            "Press space bar to select the first Chinese character."},
        {"10, asked not first", 10, "十", 2, " 1 一  2 二  3 三  4 四  5 五  6 六  7 七  8 八  9 九  +/-",
            "Press +(=)/- or number key to select the correct Chinese character."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetTable(records.mid(0, c.count));
        PinyinInput input;
        input.SetAsked(QString::fromUtf8(c.asked));
        input.Append('y');
        input.Append('i');
        EXPECT_EQ(input.PageCount(), c.pages);
        EXPECT_EQ(input.PageText(), QString::fromUtf8(c.pageText));
        EXPECT_EQ(input.Hint(), QString::fromUtf8(c.hint));
        EXPECT_EQ(input.TypedText(), "yi ");
    }

    // The second page of ten: one entry numbered 1; paging past either end is ignored.
    SetTable(records);
    PinyinInput input;
    input.SetAsked("十");
    input.Append('y');
    input.Append('i');
    EXPECT_FALSE(input.PreviousPage());
    ASSERT_TRUE(input.NextPage());
    EXPECT_EQ(input.PageText(), " 1 十  +/-");
    EXPECT_EQ(input.Hint(), "Press space bar to select the first Chinese character.");
    EXPECT_FALSE(input.NextPage());
    ASSERT_NE(input.Pick(1), nullptr);
    EXPECT_EQ(input.Pick(1)->Character, "十");
    EXPECT_EQ(input.Pick(2), nullptr);
    ASSERT_TRUE(input.PreviousPage());
    EXPECT_EQ(input.Hint(), "Press +(=)/- or number key to select the correct Chinese character.");
    EXPECT_EQ(input.Pick(9)->Character, "九");
}

TEST_F(CandidateTest, LettersBackspaceAndPicking)
{
    SetMaTable();
    PinyinInput input;
    input.SetAsked("满");
    EXPECT_FALSE(input.Delete());
    input.Append('M');
    EXPECT_EQ(input.Typed(), "m");
    for (QChar c : QStringLiteral("anxyz"))
        input.Append(c);
    EXPECT_EQ(input.Typed(), "manxy");
    EXPECT_FALSE(input.Append('q'));
    EXPECT_EQ(input.Hint(), "Such a Pinyin doesn't exist.");
    EXPECT_EQ(input.PageText(), "");
    EXPECT_EQ(input.Pick(1), nullptr);

    input.Delete();
    input.Delete();
    EXPECT_EQ(input.Typed(), "man");
    EXPECT_EQ(input.PageText(), " 1 满  2 嘛  3 忙 ");
    EXPECT_EQ(input.Hint(), "Press space bar to select the first Chinese character.");
    ASSERT_NE(input.Pick(3), nullptr);
    EXPECT_EQ(*input.Pick(3), (TypingCandidate{"忙", "m", "mang", "2", "2"}));
    EXPECT_EQ(input.Pick(4), nullptr);

    // Backspace down to nothing: no page, nothing to pick, the typing hint back.
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(input.Delete());
    EXPECT_EQ(input.Typed(), "");
    EXPECT_EQ(input.TypedText(), " ");
    EXPECT_EQ(input.PageText(), "");
    EXPECT_EQ(input.Hint(), "Input the Pinyin of the Chinese Charater in the small box on the left.");
    EXPECT_EQ(input.Pick(1), nullptr);
}
