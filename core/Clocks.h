#pragma once
// The two clocks of the main window: local time and Beijing time (UTC+8, no daylight saving),
// each with the weekday in English and Chinese, 上午/下午 and "hh:mm AM/PM".

#include <QDateTime>
#include <QString>

#include "TimeZone.h"

namespace Clocks {

// "hh:mm AM/PM" on the 12-hour clock (00:05 gives "12:05 AM"), whatever the locale says.
QString Time12(int hour, int minute);

// Weekdays numbered from 1 (Sunday) to 7 (Saturday), as WeekdayText names them.
int WeekdayNumber(const QDate& date);

// The local offset from UTC in minutes, east positive, from the zone record; the zone's name
// is appended to zoneName. A failed query gives 0.
qint32 LocalOffset(const TimeZone::Information& info, QString& zoneName);

struct ClockTexts {
    QString LocalWeekdayEnglish;
    QString LocalWeekdayChinese;
    QString BeijingWeekdayEnglish;
    QString BeijingWeekdayChinese;
    QString Local;   // caption of the local clock
    QString Beijing; // caption of the Beijing clock
};

// One clock tick at the local moment now; beijingOffset is 480 minus the local offset.
ClockTexts Tick(const QDateTime& now, qint16 beijingOffset);

} // namespace Clocks
