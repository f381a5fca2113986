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

} // namespace
