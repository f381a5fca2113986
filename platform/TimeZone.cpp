#include "TimeZone.h"

#include <QLocale>
#include <QTimeZone>
#include <optional>

#include "Clock.h"

namespace {
std::optional<TimeZone::Information>& Pinned()
{
    static std::optional<TimeZone::Information> pinned;
    return pinned;
}
} // namespace

namespace TimeZone {

Information Describe(const QTimeZone& zone, const QDateTime& at)
{
    Information info;
    if (!zone.isValid())
        return info;
    info.bias = -zone.standardTimeOffset(at) / 60;
    info.standardBias = 0;
    info.standardName = zone.displayName(QTimeZone::StandardTime, QTimeZone::ShortName, QLocale::c()).left(32);
    // Daylight saving counts when the zone keeps it today: it is in force now, or the next
    // change of offset comes within a year (zones that gave it up long ago have none).
    const QTimeZone::OffsetData next = zone.nextTransition(at);
    const bool keepsDaylight = zone.isDaylightTime(at)
        || (next.atUtc.isValid() && next.atUtc < at.addDays(366) && next.daylightTimeOffset != 0);
    if (!keepsDaylight) {
        info.result = 0;
        return info;
    }
    info.daylightName = zone.displayName(QTimeZone::DaylightTime, QTimeZone::ShortName, QLocale::c()).left(32);
    if (zone.isDaylightTime(at)) {
        info.daylightBias = -zone.daylightTimeOffset(at) / 60;
        info.result = 2;
    } else {
        // Out of season: the saving the zone will take at its next change.
        info.daylightBias = next.atUtc.isValid() && next.daylightTimeOffset != 0 ? -next.daylightTimeOffset / 60 : -60;
        info.result = 1;
    }
    return info;
}

Information Query()
{
    if (Pinned())
        return *Pinned();
    return Describe(QTimeZone::systemTimeZone(), Clock::Now());
}

void Override(const Information& info) { Pinned() = info; }
void ClearOverride() { Pinned().reset(); }

} // namespace TimeZone
