#include "Clocks.h"

#include "TextFilters.h"

namespace {
QString Meridiem(const QString& time12)
{
    return time12.endsWith(QLatin1String("AM")) ? QStringLiteral("上午") : QStringLiteral("下午");
}

QString TwoDigits(int n) { return QString::number(n).rightJustified(2, QLatin1Char('0')); }
} // namespace

namespace Clocks {

QString Time12(int hour, int minute)
{
    const int h12 = hour % 12 == 0 ? 12 : hour % 12;
    return TwoDigits(h12) + QLatin1Char(':') + TwoDigits(minute) + (hour < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM"));
}

int WeekdayNumber(const QDate& date) { return date.dayOfWeek() % 7 + 1; }

qint32 LocalOffset(const TimeZone::Information& info, QString& zoneName)
{
    switch (info.result) {
    case 0:
    case 1:
        zoneName += info.standardName.left(32);
        return -(info.bias + info.standardBias);
    case 2:
        zoneName += info.daylightName.left(32);
        return -(info.bias + info.daylightBias);
    default:
        return 0;
    }
}

ClockTexts Tick(const QDateTime& now, qint16 beijingOffset)
{
    ClockTexts c;
    const int d = WeekdayNumber(now.date());
    c.LocalWeekdayChinese = WeekdayText(true, static_cast<qint16>(d));
    c.LocalWeekdayEnglish = WeekdayText(false, static_cast<qint16>(d));
    const QString t = Time12(now.time().hour(), now.time().minute());
    c.Local = QStringLiteral("Local Time  本地时间：") + c.LocalWeekdayEnglish + QStringLiteral("  ")
        + c.LocalWeekdayChinese + QStringLiteral("  ") + Meridiem(t) + QLatin1Char(' ') + t;

    int m = static_cast<qint16>(now.time().hour() * 60 + now.time().minute() + beijingOffset);
    int beijingDay = 0;
    if (m < 0) {
        m += 1440;
        beijingDay = d == 1 ? 7 : d - 1;
    } else if (m > 1439) {
        m -= 1440;
        beijingDay = d == 7 ? 1 : d + 1;
    }
    if (beijingDay) {
        c.BeijingWeekdayChinese = WeekdayText(true, static_cast<qint16>(beijingDay));
        c.BeijingWeekdayEnglish = WeekdayText(false, static_cast<qint16>(beijingDay));
    } else {
        c.BeijingWeekdayChinese = c.LocalWeekdayChinese;
        c.BeijingWeekdayEnglish = c.LocalWeekdayEnglish;
    }
    const QString b = Time12(m / 60, m % 60);
    c.Beijing = QStringLiteral("Beijing Time  北京时间：") + c.BeijingWeekdayEnglish + QStringLiteral("  ")
        + c.BeijingWeekdayChinese + QStringLiteral("  ") + Meridiem(b) + QLatin1Char(' ') + b;
    return c;
}

} // namespace Clocks
