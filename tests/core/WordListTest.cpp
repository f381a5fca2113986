#include <gtest/gtest.h>

#include "BlankTrim.h"
#include "Module3WordList.h"
#include "TestSupport.h"

namespace {
struct Case {
    const char* in;
    const char* out;
};
void Check(QString (*routine)(const QString&), std::initializer_list<Case> cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        const QString in = QString::fromUtf8(c.in);
        const QString copy = in;
        EXPECT_EQ(routine(in), QString::fromUtf8(c.out));
        EXPECT_EQ(in, copy);
    }
}
} // namespace

TEST(WordListTest, RemoveDots)
{
    Check(RemoveDots, {{"h.ao", "hao"}, {" . . ", ""}, {"", ""}, {" zh.ong1 ", "zhong1"}, {"\t.a", "\ta"}});
}

TEST(WordListTest, RemoveParenthesized)
{
    Check(RemoveParenthesized, {{"你好 (ni3 hao3)", "你好"}, {"a(b(c)d)e", "ade"}, {"a(b", "a"}, {"a)b", "ab"},
                                   {"好（hao3）", "好"}, {"a（b)c", "ac"}, {"a(b）c", "ac"}, {"(x) y ", "y"}});
}

TEST(WordListTest, TextBeforeFirstDot)
{
    Check(TextBeforeFirstDot, {{"h.ao", "h"}, {"a.b.c", "a"}, {".ao", ""}, {"hao", ""}, {"", ""}, {"  .x", "  "}});
}

TEST(WordListTest, AfterLeadingDots)
{
    Check(AfterLeadingDots, {{"..ao", "ao"}, {"h.ao", "h.ao"}, {"...", ""}, {"", ""}, {". a ", " a "}});
}

TEST(WordListTest, BlankTrimKeepsTabsAndTheIdeographicSpace)
{
    Check(BlankTrim, {{"  a b  ", "a b"}, {"\ta\t", "\ta\t"}, {"\u3000中\u3000 ", "\u3000中\u3000"}, {"   ", ""}});
}
