#include <gtest/gtest.h>

#include <cmath>

#include "NumberReading.h"
#include "TestSupport.h"

namespace {

QString Written(const QString& codes)
{
    QString text;
    for (QChar c : codes)
        text += NumberReader::CodeToCharacter(c);
    return text;
}

struct Reading {
    NumberReader::Mode mode;
    const char* input;
    const char* codes;
    const char* written; // nullptr: not checked
};

TEST(NumberReadingTest, ReadingsGiveTheirCodesAndWrittenForms)
{
    const Reading cases[] = {
        {NumberReader::Cardinal, "0", "0", "零"},
        {NumberReader::Cardinal, "10", "s", "十"},
        {NumberReader::Cardinal, "22", "2s2", "二十二"},
        {NumberReader::Cardinal, "110", "1b1s", "一百一十"},
        {NumberReader::Cardinal, "202", "lb02", "两百零二"},
        {NumberReader::Cardinal, "1010", "1q01s", "一千零一十"},
        {NumberReader::Cardinal, "2222", "nqlb2s2", "两千两百二十二"},
        {NumberReader::Cardinal, "10015", "1w01s5", "一万零一十五"},
        {NumberReader::Cardinal, "12345", "1wnq3b4s5", "一万两千三百四十五"},
        {NumberReader::Cardinal, "20000", "nw", "两万"},
        {NumberReader::Cardinal, "150000", "s5w", "十五万"},
        {NumberReader::Cardinal, "1001000", "1bw01q", "一百万零一千"},
        {NumberReader::Cardinal, "1201000", "1b2sw01q", "一百二十万零一千"},
        {NumberReader::Cardinal, "10020000", "1q0nw", "一千零两万"},
        {NumberReader::Cardinal, "105000000", "1y0vbw", "一亿零五百万"},
        {NumberReader::Cardinal, "150000000", "1y5qw", "一亿五千万"},
        {NumberReader::Cardinal, "100005000", "1y05q", "一亿零五千"},
        {NumberReader::Cardinal, "2000000000000", "nz", "两兆"},
        {NumberReader::Cardinal, "1234567890123", "1znq3b4s5y6q7b8s9w01b2s3",
         "一兆两千三百四十五亿六千七百八十九万零一百二十三"},
        {NumberReader::Cardinal, "-12.25", "fs2d25", "负十二点二五"},
        {NumberReader::Cardinal, "5.5", "vd5", "五点五"},
        {NumberReader::Cardinal, "15.9", "svd9", "十五点九"},
        {NumberReader::Ordinal, "2", "t2", "第二"},
        {NumberReader::Ordinal, "12", "ts2", "第十二"},
        {NumberReader::Ordinal, "100", "t1b", "第一百"},
        {NumberReader::Percent, "50", "p5s", "百分之五十"},
        {NumberReader::Percent, "100", "pb", "百分之百"},
        {NumberReader::Telephone, "010-1234", "0a0a234", "零一零一二三四"},
        // Beyond the worked readings: group ends, zeros and decimals.
        {NumberReader::Cardinal, "100000", "sw", "十万"},
        {NumberReader::Cardinal, "110000", "s1w", "十一万"},
        {NumberReader::Cardinal, "1000100", "1bw01b", "一百万零一百"},
        {NumberReader::Cardinal, "10005", "1w05", "一万零五"},
        {NumberReader::Cardinal, "3.05", "3d05", "三点零五"},
        {NumberReader::Cardinal, "-0.5", "f0d5", "负零点五"},
        {NumberReader::Cardinal, "19.5", "sid5", "十九点五"},
        {NumberReader::Cardinal, "10000000000000", "sz", "十兆"},
        {NumberReader::Cardinal, "1000000000000", "1z", "一兆"},
        {NumberReader::Cardinal, "2", "2", "二"},
        {NumberReader::Cardinal, "212", "lb1s2", "两百一十二"},
        {NumberReader::Cardinal, "1,234", "1qlb3s4", "一千两百三十四"},
        {NumberReader::Cardinal, ".25", "0d25", "零点二五"},
        {NumberReader::Ordinal, "2.5", "t2", nullptr}, // half to even
        {NumberReader::Percent, "300", "p3b", "百分之三百"},
        {NumberReader::Telephone, "+86 (10) 1x", "86a0a", nullptr},
        {NumberReader::Telephone, "no digits", "", ""},
    };
    for (const Reading& c : cases) {
        SCOPED_TRACE(c.input);
        NumberReader reader;
        const QString codes = reader.Read(c.mode, QString::fromUtf8(c.input));
        EXPECT_EQ(codes, QString::fromLatin1(c.codes));
        EXPECT_TRUE(reader.Finished);
        if (c.written) {
            EXPECT_EQ(Written(codes), QString::fromUtf8(c.written));
        }
    }
}

TEST(NumberReadingTest, ALaterReadingStartsFromAFreshState)
{
    NumberReader reader;
    reader.Read(NumberReader::Cardinal, QStringLiteral("-3.5"));
    EXPECT_EQ(reader.Read(NumberReader::Cardinal, QStringLiteral("15")), QStringLiteral("s5"));
    EXPECT_EQ(reader.NumberParts[1], QString());
}

TEST(NumberReadingTest, NumbersFromTenToTheSixteenReadNothing)
{
    NumberReader reader;
    reader.ReadNumber(1e16);
    EXPECT_EQ(reader.SoundCodes, QString());
    EXPECT_FALSE(reader.Finished);
}

TEST(NumberReadingTest, DecimalTextIsPlainWithAtMostFifteenDigits)
{
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},          {-0.0, "0"},         {1e13, "10000000000000"}, {0.1 + 0.2, "0.3"},
        {3.05, "3.05"},      {0.00001, "0.00001"}, {123456.789, "123456.789"},
        {1.0 / 3, "0.333333333333333"},           {-12.25, "-12.25"},  {-0.05, "-0.05"},
        {9999999999999.999, "10000000000000"}, {1e20, "100000000000000000000"},
    };
    for (const auto& [value, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(NumberReader::DecimalText(value), QString::fromLatin1(text));
    }
}

TEST(NumberReadingTest, FifteenNinesJustBelowAPowerOfTenKeepEveryDigit)
{
    // 9.99999999999999 up to 99999999999999.9: k nines before the point, 15 - k after it.
    for (int k = 1; k <= 14; ++k) {
        const QString text = QString(k, u'9') + u'.' + QString(15 - k, u'9');
        SCOPED_TRACE(text.toStdString());
        const std::optional<double> value = ParseNumber(text);
        ASSERT_TRUE(value);
        EXPECT_EQ(NumberReader::DecimalText(*value), text);
        NumberReader reader;
        const QString codes = reader.Read(NumberReader::Cardinal, text);
        EXPECT_TRUE(codes.endsWith(QStringLiteral("id") + QString(15 - k, u'9'))) << codes.toStdString();
        EXPECT_EQ(codes.count(u'9') + codes.count(u'i'), 15);
    }
    NumberReader reader;
    EXPECT_EQ(Written(reader.Read(NumberReader::Cardinal, QStringLiteral("9999999999999.99"))),
        u"九兆九千九百九十九亿九千九百九十九万九千九百九十九点九九"_qs);
}

TEST(NumberReadingTest, EnglishOrdinalsCoverTheirTableAndNothingElse)
{
    const std::pair<int, const char*> cases[] = {
        {1, "the first"},        {12, "the twelth"},      {23, "the twenty-third"},
        {24, ""},                {29, ""},                {30, "the thirtieth"},
        {31, ""},                {90, "the ninetieth"},   {100, "the hundredth"},
        {0, ""},                 {110, ""},               {-1, ""},
    };
    for (const auto& [n, text] : cases) {
        SCOPED_TRACE(n);
        EXPECT_EQ(NumberReader::EnglishOrdinal(n), QString::fromLatin1(text));
    }
}

TEST(NumberReadingTest, OneParserDecidesWhatIsANumber)
{
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"12", 12.0},        {" 12 ", 12.0},      {"-5", -5.0},         {"+5", 5.0},
        {"- 5", -5.0},       {"1,234", 1234.0},   {"12,345,678", 12345678.0},
        {"1,234.5", 1234.5}, {".5", 0.5},         {"3.", 3.0},          {"007", 7.0},
        {"12,34", std::nullopt},   {"1,2345", std::nullopt}, {",123", std::nullopt},
        {"1,,234", std::nullopt},  {"1e5", std::nullopt},    {"1E5", std::nullopt},
        {"abc", std::nullopt},     {".", std::nullopt},      {"", std::nullopt},
        {"  ", std::nullopt},      {"1.2.3", std::nullopt},  {"--5", std::nullopt},
        {"5-", std::nullopt},      {"1.234,5", std::nullopt}, {"0x10", std::nullopt},
        {"١٢", std::nullopt},      {"inf", std::nullopt},    {"nan", std::nullopt},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseNumber(QString::fromUtf8(text)), value);
    }
}

TEST(NumberReadingTest, TheLimitIsReadAndTheNextNumberIsBeyondIt)
{
    const std::optional<double> limit = ParseNumber(QStringLiteral("10000000000000"));
    const std::optional<double> beyond = ParseNumber(QStringLiteral("10000000000001"));
    ASSERT_TRUE(limit && beyond);
    EXPECT_FALSE(std::fabs(*limit) > NumberReader::Limit);
    EXPECT_TRUE(std::fabs(*beyond) > NumberReader::Limit);
    EXPECT_TRUE(std::fabs(-*beyond) > NumberReader::Limit);
}

TEST(NumberReadingTest, EveryCodeHasAWrittenForm)
{
    for (QChar c : QStringLiteral("0123456789avilnbqswyzdftp"))
        EXPECT_FALSE(NumberReader::CodeToCharacter(c).isEmpty()) << c.toLatin1();
    EXPECT_TRUE(NumberReader::CodeToCharacter(u'x').isEmpty());
    EXPECT_TRUE(NumberReader::CodeToCharacter(u'e').isEmpty());
}

} // namespace
