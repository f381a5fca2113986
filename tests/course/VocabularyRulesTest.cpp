// The vocabulary test's rules without the window, with the program's random source scripted:
// the shuffle, the meanings, the options and their distractors, and the rate. Also the random
// source itself: seeded once, so drawing again never repeats a sequence.

#include <QSet>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Clock.h"
#include "TestSupport.h"
#include "VocabularyRules.h"
#include "WrongOptions.h"

namespace {
// Draws come from a list, then from a fallback value.
class ScriptedRandom {
public:
    explicit ScriptedRandom(QList<double> values, double then = 0.0)
        : m_values(std::move(values))
        , m_then(then)
    {
        Random::UseScript([this] { return m_values.isEmpty() ? m_then : m_values.takeFirst(); });
    }
    ~ScriptedRandom() { Random::UseGenerator(); }
    qsizetype Left() const { return m_values.size(); }

private:
    QList<double> m_values;
    double m_then;
};

// Slot k of 8 (Int(Rnd * 8) = k) and index i of n (Int(Rnd * n) + 1 = i).
double Slot8(int k) { return (k + 0.5) / 8; }
double IndexOf(int i, int n) { return (i - 0.5) / n; }

class VocabularyRulesTest : public AppFixture {
protected:
    void SetLessonWords(const QList<std::array<const char*, 3>>& words)
    {
        AppState& s = State();
        for (const auto& w : words)
            for (int c = 0; c < 3; ++c)
                s.LessonWords[size_t(c)].append(QString::fromUtf8(w[size_t(c)]));
        s.LessonWordCount = qint16(words.size());
    }
};

QStringList Texts(const QVector<VocabularyOption>& options)
{
    QStringList out;
    for (const VocabularyOption& o : options)
        out.append(o.Text);
    return out;
}
} // namespace

TEST_F(VocabularyRulesTest, ShuffleDrawsEachWordOnceWithoutReplacement)
{
    SetLessonWords({{"你", "you", "n.i3"}, {"我", "I", "w.o3"}, {"他", "he", "t.a1"}, {"好", "good", "h.ao3"}});
    {
        // Int(Rnd * m) + 1 from the m words left: 3rd of 4, 1st of 3, 2nd of 2, 1st of 1.
        ScriptedRandom script({IndexOf(3, 4), IndexOf(1, 3), IndexOf(2, 2), IndexOf(1, 1)});
        const QVector<TestWord> words = ShuffledTestWords();
        ASSERT_EQ(words.size(), 4);
        EXPECT_EQ(words[0], (TestWord{"他", "he", "ta1"})); // the pinyin loses its tone dots
        EXPECT_EQ(words[1].Chinese, "你");
        EXPECT_EQ(words[2].Chinese, "好");
        EXPECT_EQ(words[3].Chinese, "我");
    }
    Random::Seed(7);
    for (int run = 0; run < 20; ++run) {
        QSet<QString> seen;
        for (const TestWord& w : ShuffledTestWords())
            seen.insert(w.Chinese);
        EXPECT_EQ(seen.size(), 4);
    }
}

TEST_F(VocabularyRulesTest, Meanings)
{
    struct Case {
        const char* english;
        QStringList meanings;
    };
    const Case cases[] = {
        {" good; well; fine ", {"good", "well", "fine"}},
        {" teacher ", {"teacher"}},
        {" I;; me; ", {"I", "me"}},   // empty meanings dropped while others remain
        {" ; ", {""}},                // nothing but empty meanings: one empty meaning
        {"", {""}},
        {"a;b;c;d;e;f;g;h;i;j", {"a", "b", "c", "d", "e", "f", "g", "h"}}, // one per option
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        EXPECT_EQ(WordMeanings(QString::fromUtf8(c.english)), c.meanings);
    }
}

TEST_F(VocabularyRulesTest, MeaningsTakeFreeSlotsAndDistractorsComeFromOtherRows)
{
    const QVector<TestWord> words = {{"我", "I; me", "wo3"}, {"你", "you", "ni3"}, {"好", "good; well", "hao3"}};
    // Meanings: "I" to slot 5; "me" draws 5 (taken) then 2. Distractors for slots 0,1,3,4,6,7:
    // row 1 (the word itself, drawn again) then 2; row 3 piece 2; row 2; ...
    ScriptedRandom script({Slot8(5), Slot8(5), Slot8(2), IndexOf(1, 3), IndexOf(2, 3), IndexOf(3, 3), IndexOf(2, 2),
                              IndexOf(2, 3), IndexOf(3, 3), IndexOf(1, 2), IndexOf(2, 3), IndexOf(2, 3)},
        IndexOf(2, 3));
    const QVector<VocabularyOption> options = VocabularyOptions(words, 1);
    EXPECT_EQ(Texts(options), (QStringList{" you ", " well ", " me ", " you ", " good ", " I ", " you ", " you "}));
    EXPECT_EQ(options[5].Tag, "我");
    EXPECT_EQ(options[2].Tag, "我");
    for (int k : {0, 1, 3, 4, 6, 7})
        EXPECT_EQ(options[k].Tag, "") << k;
    EXPECT_TRUE(IsRightOption({" me ", "我  "}, "我"));
    EXPECT_FALSE(IsRightOption({" I ", ""}, "我"));
}

TEST_F(VocabularyRulesTest, NoDistractorReadsLikeOneOfTheMeanings)
{
    // Row 2 reads "me", one of the word's meanings, and is drawn first for every option: it is
    // drawn again until another row comes.
    const QVector<TestWord> words = {{"我", "I; me", "wo3"}, {"咱", "me", "zan2"}, {"你", "you", "ni3"}};
    QList<double> draws{Slot8(0), Slot8(1)};
    for (int k = 0; k < 6; ++k)
        draws += {IndexOf(2, 3), IndexOf(2, 3), IndexOf(3, 3)};
    ScriptedRandom script(draws);
    const QVector<VocabularyOption> options = VocabularyOptions(words, 1);
    EXPECT_EQ(Texts(options), (QStringList{" I ", " me ", " you ", " you ", " you ", " you ", " you ", " you "}));
    EXPECT_EQ(script.Left(), 0);

    // A source that only ever offers such a distractor gives up after a bounded number of
    // draws and leaves the option empty.
    ScriptedRandom stuck({Slot8(0), Slot8(1)}, IndexOf(2, 3));
    const QVector<VocabularyOption> empty = VocabularyOptions(words, 1);
    for (int k = 2; k < 8; ++k)
        EXPECT_EQ(empty[k], VocabularyOption{}) << k;
}

TEST_F(VocabularyRulesTest, ASingleWordTakesItsDistractorsFromTheLessonEntries)
{
    AppState& s = State();
    s.WordText[0] = QStringList{"我", "书", "我", "车"};
    s.WordText[1] = QStringList{" I; me ", " book ", " me ", " car; vehicle "};
    s.LessonEntryCount = 3; // 车 lies beyond the lesson entries
    const QVector<TestWord> words = {{"我", "I; me", "wo3"}};
    // The course's entries keep a blank at each end: a distractor shows its leading blanks
    // removed and one blank added. Entry 1 and 3 are the word itself (drawn again); entry 2 is taken.
    QList<double> draws{Slot8(0), Slot8(1)};
    for (int k = 0; k < 6; ++k)
        draws += {IndexOf(1, 3), IndexOf(3, 3), IndexOf(2, 3)};
    ScriptedRandom script(draws);
    EXPECT_EQ(Texts(VocabularyOptions(words, 1)),
        (QStringList{" I ", " me ", " book  ", " book  ", " book  ", " book  ", " book  ", " book  "}));

    s.LessonEntryCount = 0;
    ScriptedRandom nothing({Slot8(3)}, 0.0);
    const QVector<VocabularyOption> lonely = VocabularyOptions({{"我", " I ", "wo3"}}, 1);
    EXPECT_EQ(Texts(lonely), (QStringList{"", "", "", " I ", "", "", "", ""}));
}

// Two meanings say the same past "to", their bracketed notes and examples, case, blanks and end
// marks; an empty sense is no meaning in common.
TEST_F(VocabularyRulesTest, MeaningsAreComparedByTheirSense)
{
    const struct {
        const char* english;
        const char* other;
        bool shared;
    } cases[] = {
        {"to give back; to return", "to return (something borrowed)", true},
        {"minute; cent", "minute (length of time)", true},
        {"except; besides", "apart from; besides (in 除了…以外); beyond", true},
        {"last (上个月: last month)", " Last. ", true},
        {"(after a verb) to succeed in", "to  succeed in", true},
        {"to go", "to go out", false},
        {"tomato", "potato", false},
        {"(polite)", "(plural)", false},
        {"", ";", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.english) + " / " + c.other);
        EXPECT_EQ(SharesMeaning(QString::fromUtf8(c.english), QString::fromUtf8(c.other)), c.shared);
        EXPECT_EQ(SharesMeaning(QString::fromUtf8(c.other), QString::fromUtf8(c.english)), c.shared);
    }
}

// A word that says what the asked word means, or has its Chinese, never gives it a wrong option:
// the draw takes another word, from the test's rows or, for a test of one word, from the
// course's lesson entries.
TEST_F(VocabularyRulesTest, NoWrongOptionSharesAMeaningWithTheWord)
{
    const struct {
        const char* name;
        QVector<TestWord> words;
        QStringList entryChinese, entryEnglish; // the course's lesson entries
        int otherDraw;                          // of the rows or entries that may not be taken
    } cases[] = {
        {"a near-synonym of the lesson", {{"还", "to give back; to return", "huan2"}, {"归还", "to return (something borrowed)", "gui1huan2"}, {"书", "book", "shu1"}}, {}, {}, 2},
        {"the same Chinese read otherwise", {{"还", "to give back", "huan2"}, {"还", "also; still", "hai2"}, {"书", "book", "shu1"}}, {}, {}, 2},
        {"a lesson entry of one word", {{"还", "to give back; to return", "huan2"}}, {"还", "归还", "书"}, {" also ", " to return (something borrowed) ", " book "}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        State().WordText[0] = c.entryChinese;
        State().WordText[1] = c.entryEnglish;
        State().LessonEntryCount = qint16(c.entryChinese.size());
        const int n = int(std::max(c.words.size(), c.entryChinese.size()));
        // Each distractor draws the word itself (rows) or the same Chinese (entries), then the
        // word that shares a meaning, then the book.
        QList<double> draws;
        for (int k = 0; k < kVocabularyOptions; ++k)
            draws += {IndexOf(1, n), IndexOf(c.otherDraw, n), IndexOf(3, n)};
        draws.prepend(Slot8(0));
        if (c.words[0].English.contains(';'))
            draws.insert(1, Slot8(1));
        ScriptedRandom script(draws);
        const QVector<VocabularyOption> options = VocabularyOptions(c.words, 1);
        const int meanings = int(WordMeanings(c.words[0].English).size());
        for (int k = meanings; k < kVocabularyOptions; ++k)
            EXPECT_EQ(options[k].Text.trimmed(), QStringLiteral("book")) << k;
    }
}

TEST_F(VocabularyRulesTest, RateRoundsHalfToEven)
{
    EXPECT_EQ(VocabularyRate(3, 1), 75);
    EXPECT_EQ(VocabularyRate(1, 7), 12);
    EXPECT_EQ(VocabularyRate(1, 1), 50);
    EXPECT_EQ(VocabularyRate(17, 18), 49);
    EXPECT_EQ(VocabularyRate(0, 1), 0);
}

TEST_F(VocabularyRulesTest, TheRandomSourceIsSeededOnce)
{
    // Randomize() again, at the same clock reading, goes on with the sequence instead of
    // starting it over.
    Random::Seed(99);
    const double a = Random::Rnd();
    Random::Randomize();
    const double b = Random::Rnd();
    Random::Seed(99);
    EXPECT_EQ(Random::Rnd(), a);
    Random::Randomize();
    EXPECT_EQ(Random::Rnd(), b);
    for (int k = 0; k < 200; ++k) {
        const int i = Random::Index(8);
        const int slot = Random::Slot(8);
        EXPECT_TRUE(i >= 1 && i <= 8 && slot >= 0 && slot <= 7);
    }
}
