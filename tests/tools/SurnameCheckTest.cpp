#include <gtest/gtest.h>

#include <vector>

#include "SurnameCheck.h"
#include "TestSupport.h"

namespace {

int RowOf(const std::vector<SurnameData>& rows, const char* surname)
{
    for (int i = 0; i < int(rows.size()); ++i)
        if (QString::fromUtf8(rows[i].Surname) == QString::fromUtf8(surname))
            return i;
    return -1;
}

// The program's own table passes the check in the content_check test; here each fault is
// made in a copy of it.
TEST(SurnameCheckTest, FaultyBearersAreFound)
{
    struct Change {
        const char* surname;
        const char* bearers;
    };
    struct Case {
        const char* name;
        std::vector<Change> changes;
        int errors;
        const char* firstError; // its beginning
    };
    const Case cases[] = {
        {"a name of another surname", {{"李", "李白、杜甫"}}, 1, "surnames:4 (李)"},
        {"the surname alone", {{"周", "周"}}, 1, "surnames:5 (周)"},
        {"a two-character surname in the row of its first character", {{"欧", "欧阳修"}, {"赵", ""}}, 1,
            "surnames:145 (欧)"},
        {"three names", {{"李", "李白、李清照、李贺"}}, 2, "surnames:4 (李)"},
        {"one row too many left empty", {{"赵", ""}}, 2, "surnames: 81 rows name 0 bearers, 80 expected"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<SurnameData> rows(SurnameRows().begin(), SurnameRows().end());
        for (const Change& change : c.changes)
            rows[RowOf(rows, change.surname)].Bearers = change.bearers;
        QStringList errors;
        ContentCheck::CheckSurnameBearers(rows, errors);
        ASSERT_EQ(errors.size(), c.errors) << errors.join(u'\n').toStdString();
        EXPECT_TRUE(errors.first().startsWith(QString::fromUtf8(c.firstError))) << errors.first().toStdString();
    }
}

// Each case changes one row's pinyin, and maybe its surname, in a copy of the program's table.
TEST(SurnameCheckTest, WrongReadingsAreFound)
{
    ContentCheck::Readings readings;
    ASSERT_TRUE(ContentCheck::LoadReadings(VELMORA_SOURCE_DIR "/content/Data/readings.txt", readings));
    const struct {
        const char* surname;
        const char* pinyin;
        const char* error; // empty: clean
        const char* newSurname = nullptr;
    } cases[] = {
        {"赵", "zh.ao4", ""},
        {"赵", "zh.ao3", "surnames:1 (赵): 赵 read zhao3, known: zhao4"},
        {"褚", "zh.u3", "surnames:11 (褚): the surname is read chu3, not zhu3"},
        {"纪", "j.i3", ""},
        {"令狐", "l.ing4 h.u2", "surnames:189 (令狐): the surname is read ling2 hu2, not ling4 hu2"},
        // A reading the character has, but not as a surname.
        {"石", "d.an4", "surnames:132 (石): the surname is read shi2, not dan4"},
        {"万", "m.o4", "surnames:119 (万): the surname is read wan4, not mo4"},
        {"沈", "ch.en2", "surnames:14 (沈): the surname is read shen3, not chen2"},
        // A character of several readings whose surname reading nobody set.
        {"钱", "sh.an4", "surnames:2 (单): 单 has several readings, and no surname reading is set for it", "单"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pinyin);
        std::vector<SurnameData> rows(SurnameRows().begin(), SurnameRows().end());
        SurnameData& row = rows[RowOf(rows, c.surname)];
        row.Pinyin = c.pinyin;
        if (c.newSurname)
            row.Surname = c.newSurname;
        QStringList errors;
        ContentCheck::CheckSurnameReadings(rows, readings, errors);
        EXPECT_EQ(errors, *c.error ? QStringList{QString::fromUtf8(c.error)} : QStringList());
    }
}

} // namespace
