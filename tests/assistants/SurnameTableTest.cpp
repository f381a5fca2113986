#include <gtest/gtest.h>

#include <QSet>

#include "SurnameTable.h"
#include "TestSupport.h"

namespace {

SurnameRecord Row(const QList<SurnameRecord>& table, const QString& text)
{
    for (const SurnameRecord& s : table) {
        if (s.Text == text)
            return s;
    }
    return {};
}

TEST(SurnameTableTest, TheTableHoldsItsRowsWithTheirReadings)
{
    const QList<SurnameRecord> table = SurnameTable();
    ASSERT_EQ(table.size(), 190);
    QSet<QString> distinct;
    for (const SurnameRecord& s : table) {
        SCOPED_TRACE(s.Index);
        EXPECT_EQ(s.Text.size(), s.Index <= 180 ? 1 : 2);
        EXPECT_EQ(s.Sound.count(u' ') + 1, s.Text.size()); // one syllable per character
        EXPECT_FALSE(s.Marked.isEmpty());
        distinct.insert(s.Text);
    }
    EXPECT_EQ(distinct.size(), 190);
    EXPECT_EQ(table.first().Text, QStringLiteral("赵"));
    EXPECT_EQ(table.first().Marked, QStringLiteral("zhào"));
    EXPECT_EQ(table.last().Sound, QStringLiteral("si1 tu2"));
    EXPECT_EQ(Row(table, QStringLiteral("吕")).Marked, QStringLiteral("lǚ"));
}

class SurnameSoundTest : public AppFixture {};

TEST_F(SurnameSoundTest, EachRowPlaysItsOwnSound)
{
    const QList<SurnameRecord> table = SurnameTable();
    const struct {
        const char* surname;
        const char* file;
        const char* tone;
        const char* sequence;
    } cases[] = {
        {"赵", "Phonetic Symbols/Z/zhao4.wav", "4", ""},
        {"欧", "Phonetic Symbols/O/ou1.wav", "1", ""},
        {"司马", "", "", "si1 ma3"},
        {"欧阳", "", "", "ou1 yang2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.surname);
        const SurnameSound sound = SoundOf(Row(table, QString::fromUtf8(c.surname)));
        EXPECT_EQ(sound.File, *c.file ? Path(QString::fromLatin1(c.file)) : QString());
        EXPECT_EQ(sound.Tone, QString::fromLatin1(c.tone));
        EXPECT_EQ(sound.Sequence, QString::fromLatin1(c.sequence));
    }
}

TEST(SurnameTableTest, IndexesArePaddedToSortAsText)
{
    EXPECT_EQ(PadIndex(1), QStringLiteral("  1"));
    EXPECT_EQ(PadIndex(10), QStringLiteral(" 10"));
    EXPECT_EQ(PadIndex(99), QStringLiteral(" 99"));
    EXPECT_EQ(PadIndex(100), QStringLiteral("100"));
    EXPECT_LT(PadIndex(9), PadIndex(10));
    EXPECT_LT(PadIndex(99), PadIndex(100));
}

TEST(SurnameTableTest, EveryHeaderClickFlipsTheDirection)
{
    QList<SurnameRecord> rows = SurnameTable();
    SurnameSort sort;
    sort.Apply(rows);
    EXPECT_EQ(rows.first().Index, 1);

    sort.HeaderClicked(0);
    sort.Apply(rows);
    EXPECT_EQ(rows.first().Index, 190);
    sort.HeaderClicked(0);
    sort.Apply(rows);
    EXPECT_EQ(rows.first().Index, 1);

    // Sorted by pinyin, each row keeps its own number and so its own sound.
    sort.HeaderClicked(2);
    sort.Apply(rows);
    EXPECT_TRUE(sort.Descending);
    EXPECT_GE(rows.first().Marked.compare(rows.last().Marked, Qt::CaseInsensitive), 0);
    for (const SurnameRecord& s : rows)
        EXPECT_EQ(SurnameTable().at(s.Index - 1).Text, s.Text);
    sort.HeaderClicked(1);
    EXPECT_FALSE(sort.Descending);
    EXPECT_EQ(sort.Column, 1);
}

} // namespace
