#include <gtest/gtest.h>

#include <vector>

#include "AppState.h"
#include "CharacterTable.h"
#include "PairReading.h"
#include "TestSupport.h"

namespace {

struct Entry {
    const char* chinese;
    const char* pinyin;
};

class PairReadingTest : public AppFixture {
protected:
    void Words(const std::vector<Entry>& entries)
    {
        AppState& s = State();
        for (const Entry& e : entries) {
            s.WordText[0].append(QString::fromUtf8(e.chinese));
            s.WordText[1].append(QStringLiteral(" x "));
            s.WordPinyin.append(QString::fromUtf8(e.pinyin));
        }
        s.WordCount = s.WordCountCopy = qint16(s.WordText[0].size());
    }
    void Sentences(const std::vector<Entry>& entries)
    {
        AppState& s = State();
        for (const Entry& e : entries)
            s.SentenceTable.append({QString::fromUtf8(e.pinyin), QString::fromUtf8(e.chinese), QString(), 1});
        s.SentenceCount = qint16(s.SentenceTable.size());
    }
    // One character with one reading: a dotted syllable and its digit (0 for none).
    void Character(const char* ch, const char* dotted, char tone)
    {
        AppendCharacterRecord({QString::fromUtf8(ch), {MakeReading(QString::fromUtf8(dotted), tone ? QChar(tone) : QChar())}, {}});
    }
    void SetUp() override
    {
        AppFixture::SetUp();
        Character("我", "w.o", '3');
        Character("们", "m.en", '2');
        Character("好", "h.ao", '3');
        Character("吗", "m.a", '0');
        Character("的", "d.e", 0);
    }
};

TEST_F(PairReadingTest, EachCharacterTakesItsSyllableFromTheFirstEntryHoldingItsPair)
{
    Words({
        {"我们", "w.o3 m.en0"},
        {"我们的", "w.o4 m.en4 d.e0"},  // later: never used for 我们
        {"谢谢(你)", "x.ie4 x.ie0 n.i3"}, // brackets dropped before the match
        {"AB你好", "n.i3 h.ao3"},      // characters and syllables not lined up
    });
    Sentences({
        {"你好！你是老师吗？", "n.i3 h.ao3 n.i3 sh.i4 l.ao3 sh.i1 m.a0"},
        {"他们好吗", "t.a1 m.en1 h.ao4 m.a0"},
    });
    struct Case {
        const char* text;
        const char* syllables;
        const char* why;
    };
    const Case cases[] = {
        {"我们", "wo3men0", "the pair, then the carried syllable for the last character"},
        {"我们好", "wo3men1hao4", "们好 found in a sentence: 好 takes the syllable after it there"},
        {"我们我", "wo3men0wo3", "们我 found nowhere: the carried syllable, then the table"},
        {"是老", "shi4lao3", "positions counted without the sentence's punctuation"},
        {"谢你", "xie0ni3", ""},
        {"好吗", "hao4ma0", "the second sentence holds 好吗"},
        {"我a们", "wo3men2", "a Latin letter is skipped and breaks the pair"},
        {"我，们", "wo3men2", "so does a full-width comma"},
        {"龘", "", "a character found nowhere gives nothing"},
        {"吗", "ma1", "the neutral tone is read as the first"},
        {"的", "", "a reading without tone digit would run into the next syllable"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SCOPED_TRACE(c.why);
        EXPECT_EQ(ReadInPairs(QString::fromUtf8(c.text)), QString::fromUtf8(c.syllables));
    }
}

TEST_F(PairReadingTest, APairBeyondItsEntrysSyllablesGivesNoSyllable)
{
    Words({{"AB你好", "n.i3 h.ao3"}});
    // 你好 sits at characters 3 and 4 of an entry with two syllables: 你 gives nothing and
    // carries nothing, 好 comes from the character table.
    EXPECT_EQ(ReadInPairs(QStringLiteral("你好")), QStringLiteral("hao3"));
}

TEST_F(PairReadingTest, OnlyEntriesWithinTheCountsAreSearched)
{
    Words({{"我们", "w.o3 m.en0"}});
    Sentences({{"我们", "w.o1 m.en1"}});
    State().WordCount = 0;
    EXPECT_EQ(ReadInPairs(QStringLiteral("我们")), QStringLiteral("wo1men1"));
    State().SentenceCount = 0;
    EXPECT_EQ(ReadInPairs(QStringLiteral("我们")), QStringLiteral("wo3men2"));
}

TEST_F(PairReadingTest, StepsOneCharacterAtATimeWithItsProgress)
{
    Words({{"我们", "w.o3 m.en0"}});
    PairReader reader(QStringLiteral("我们a好"));
    std::vector<int> percents;
    std::vector<QString> syllables;
    while (reader.Step()) {
        percents.push_back(reader.Percent());
        syllables.push_back(reader.Syllables());
    }
    EXPECT_EQ(percents, (std::vector<int>{25, 50, 75, 100}));
    EXPECT_EQ(syllables, (std::vector<QString>{"wo3", "wo3men0", "wo3men0", "wo3men0hao3"}));
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Step());
    EXPECT_EQ(reader.Position(), 4);
}

} // namespace
