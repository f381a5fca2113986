#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TextFilters.h"

namespace {
struct TextCase {
    QString in;
    QString out;
};

template <typename F> void ExpectAll(F f, std::initializer_list<TextCase> cases)
{
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        EXPECT_EQ(f(c.in), c.out);
    }
}
} // namespace

TEST(TextFiltersTest, ChineseCharacterIsTheSignedSixteenBitTest)
{
    struct Case {
        char16_t unit;
        bool chinese;
    };
    const Case cases[] = {{u'a', false}, {u'7', false}, {u' ', false}, {u'\u00B7', false}, {u'\u01F4', false},
        {u'\u01F5', true}, {u'\u0416', true}, {u'\u3000', true}, {u'\u3042', true}, {u'\uFF21', true},
        {u'你', true}, {u'\uCAB1', true}, {u'\uFFFF', true}, {u'\uFF0C', false}, {u'\u3002', false},
        {u'\uFF1B', false}, {u'\uFF1A', false}, {u'\u201C', false}, {u'\u201D', false}, {u'\uFF01', false},
        {u'\uFF1F', false}, {u'\u3001', false}, {u'\u2026', false}, {u'\uFF08', false}, {u'\uFF09', false},
        {u'\u2018', false}, {u'\u2019', false}, {u'\u3010', false}, {u'\u3011', false}, {u'\u300A', false},
        {u'\u300B', false}, {u'\u2014', false}, {u'\u2013', true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.unit));
        EXPECT_EQ(IsChineseCharacter(QChar(c.unit)), c.chinese);
    }
}

TEST(TextFiltersTest, HanziTests)
{
    struct Case {
        QString in;
        bool hasNonHanzi;
        QString hanziOnly;
    };
    const Case cases[] = {{u"你好"_qs, false, u"你好"_qs}, {u"你，好"_qs, true, u"你好"_qs}, {"", false, ""},
        {u"你好, world!"_qs, true, u"你好"_qs}, {u"你。好"_qs, true, u"你好"_qs}, {u"好7"_qs, true, u"好"_qs},
        {u"好 "_qs, true, u"好"_qs}, {u"好·"_qs, true, u"好"_qs}, {u"ひらがな"_qs, false, u"ひらがな"_qs},
        {u"\u3000"_qs, false, u"\u3000"_qs}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        EXPECT_EQ(HasNonHanzi(c.in), c.hasNonHanzi);
        EXPECT_EQ(HanziOnly(c.in), c.hanziOnly);
    }
}

TEST(TextFiltersTest, StrippingAndBlanks)
{
    ExpectAll(StripPunctuation, {{"h.ao3", "hao3"}, {"ni (you)", "ni you"}, {u"？！，（）。/.()\\"_qs, ""},
                                    {u"a；b"_qs, u"a；b"_qs}});
    ExpectAll(StripBracketsAndMarks, {{"a.b/c", "a.b/c"}, {u"(你好)？！，。"_qs, u"你好。"_qs}});
    ExpectAll(StripParenthesized, {{"a (b) c;d", "a  cd"}, {"(x)", ""}, {"a)b", "ab"}, {"a (b (c) d) e", "a  d e"},
                                      {"  open (never closed", "open"}});
    ExpectAll(CollapseSpaces, {{"   ", " "}, {" a  b ", " a b "}, {"a\t\tb", "a\t\tb"}, {"", ""}});
    ExpectAll([](const QString& s) { return BlankTrim(s); }, {{"  a b  ", "a b"}, {"\ta\u3000", "\ta\u3000"}, {"   ", ""}});
}

TEST(TextFiltersTest, PadNumberAndWeekdays)
{
    struct Pad {
        qint16 n;
        const char* out;
    };
    for (const Pad& p : {Pad{7, "  7"}, Pad{0, "  0"}, Pad{9, "  9"}, Pad{10, " 10"}, Pad{42, " 42"}, Pad{99, " 99"},
             Pad{100, "100"}, Pad{1234, "1234"}, Pad{-5, "  -5"}}) {
        SCOPED_TRACE(p.n);
        EXPECT_EQ(PadNumber(p.n), QString::fromLatin1(p.out));
    }
    struct Day {
        bool chinese;
        qint16 day;
        QString out;
    };
    for (const Day& d : {Day{false, 4, "Wednsday"}, Day{false, 1, "Sunday"}, Day{false, 7, "Saturday"},
             Day{true, 1, u"星期日"_qs}, Day{true, 2, u"星期一"_qs}, Day{true, 7, u"星期六"_qs}, Day{true, 8, ""},
             Day{false, 0, ""}}) {
        SCOPED_TRACE(testing::Message() << d.chinese << d.day);
        EXPECT_EQ(WeekdayText(d.chinese, d.day), d.out);
    }
}
