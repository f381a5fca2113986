#pragma once
// The local time zone in the shape the old time-zone query gave it: biases in minutes with
// UTC = local time + bias, the zone's standard and daylight names, and a result code
// (-1 failure, 0 no daylight saving known, 1 standard time now, 2 daylight time now).

#include <QDateTime>
#include <QString>

namespace TimeZone {

struct Information {
    int result{-1};
    int bias{0};
    int standardBias{0};
    int daylightBias{0};
    QString standardName;
    QString daylightName;
};

// The system zone at the clock's present moment (Clock::Now()).
Information Query();
// The same for a given zone and moment (the rule Query uses).
Information Describe(const QTimeZone& zone, const QDateTime& at);

// Tests pin the answer of Query(); ClearOverride() returns to the system zone.
void Override(const Information& info);
void ClearOverride();

} // namespace TimeZone
