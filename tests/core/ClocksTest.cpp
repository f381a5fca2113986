#include <gtest/gtest.h>

#include "Clocks.h"
#include "TestSupport.h"
#include "TextFilters.h"

namespace {
QDateTime At(int y, int mo, int d, int h, int mi) { return QDateTime(QDate(y, mo, d), QTime(h, mi)); }
TimeZone::Information Zone(int result, int bias, int standardBias, int daylightBias)
{
    TimeZone::Information i;
    i.result = result;
    i.bias = bias;
    i.standardBias = standardBias;
    i.daylightBias = daylightBias;
    i.standardName = QStringLiteral("Standard");
    i.daylightName = QStringLiteral("Daylight");
    return i;
}
} // namespace

TEST(ClocksTest, TwelveHourTimeIsBuiltByHand)
{
    struct Case {
        int h, m;
        const char* text;
    };
    for (const Case c : {Case{0, 0, "12:00 AM"}, Case{0, 40, "12:40 AM"}, Case{9, 5, "09:05 AM"}, Case{11, 59, "11:59 AM"},
             Case{12, 0, "12:00 PM"}, Case{15, 7, "03:07 PM"}, Case{23, 59, "11:59 PM"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Clocks::Time12(c.h, c.m), c.text);
    }
}

TEST(ClocksTest, WeekdaysRunFromSundayWithTheirOwnSpelling)
{
    EXPECT_EQ(Clocks::WeekdayNumber(QDate(2026, 3, 1)), 1); // a Sunday
    EXPECT_EQ(Clocks::WeekdayNumber(QDate(2026, 3, 7)), 7); // a Saturday
    EXPECT_EQ(WeekdayText(false, 4), "Wednsday");
    EXPECT_EQ(WeekdayText(true, 4), "星期三");
    EXPECT_EQ(WeekdayText(true, 1), "星期日");
    EXPECT_EQ(WeekdayText(false, 0), "");
}

TEST(ClocksTest, LocalOffsetFollowsTheZoneRecord)
{
    struct Case {
        const char* what;
        TimeZone::Information info;
        int offset;
        const char* name;
    };
    const Case cases[] = {
        {"no daylight saving known", Zone(0, -60, 0, -60), 60, "Standard"},
        {"standard time", Zone(1, 300, 0, -60), -300, "Standard"},
        {"daylight time", Zone(2, 300, 0, -60), -240, "Daylight"},
        {"standard bias counts", Zone(1, -60, -30, 0), 90, "Standard"},
        {"failure", Zone(-1, -60, 0, 0), 0, ""},
        {"unknown result", Zone(7, -60, 0, 0), 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString name = QStringLiteral(">");
        EXPECT_EQ(Clocks::LocalOffset(c.info, name), c.offset);
        EXPECT_EQ(name, QStringLiteral(">") + c.name);
    }
}

TEST(ClocksTest, WorkedExampleAndTheDayRollOvers)
{
    struct Case {
        const char* what;
        QDateTime now;
        int localOffset;
        const char* local;
        const char* beijing;
    };
    const Case cases[] = {
        {"UTC+1, Monday 15:25", At(2026, 3, 2, 15, 25), 60,
            "Local Time  本地时间：Monday  星期一  下午 03:25 PM", "Beijing Time  北京时间：Monday  星期一  下午 10:25 PM"},
        {"UTC+1, Monday 17:40: next day in Beijing", At(2026, 3, 2, 17, 40), 60,
            "Local Time  本地时间：Monday  星期一  下午 05:40 PM", "Beijing Time  北京时间：Tuesday  星期二  上午 12:40 AM"},
        {"Beijing itself", At(2026, 3, 4, 8, 3), 480,
            "Local Time  本地时间：Wednsday  星期三  上午 08:03 AM", "Beijing Time  北京时间：Wednsday  星期三  上午 08:03 AM"},
        {"UTC+10, Sunday 00:30: Saturday in Beijing", At(2026, 3, 1, 0, 30), 600,
            "Local Time  本地时间：Sunday  星期日  上午 12:30 AM", "Beijing Time  北京时间：Saturday  星期六  下午 10:30 PM"},
        {"UTC-5, Saturday 11:30: Sunday in Beijing", At(2026, 3, 7, 11, 30), -300,
            "Local Time  本地时间：Saturday  星期六  上午 11:30 AM", "Beijing Time  北京时间：Sunday  星期日  上午 12:30 AM"},
        {"failed query: local plus 480", At(2026, 3, 3, 12, 0), 0,
            "Local Time  本地时间：Tuesday  星期二  下午 12:00 PM", "Beijing Time  北京时间：Tuesday  星期二  下午 08:00 PM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Clocks::ClockTexts t = Clocks::Tick(c.now, static_cast<qint16>(480 - c.localOffset));
        EXPECT_EQ(t.Local, QString::fromUtf8(c.local));
        EXPECT_EQ(t.Beijing, QString::fromUtf8(c.beijing));
    }
}
