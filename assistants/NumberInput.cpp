#include "NumberInput.h"

#include <cmath>

#include "Timer.h"

PreparedReading PrepareReading(NumberReader::Mode mode, const QString& text)
{
    PreparedReading reading;
    NumberReader reader;
    if (mode == NumberReader::Telephone) {
        reading.codes = NumberReader::ReadTelephone(text);
        return reading;
    }
    const std::optional<double> value = ParseNumber(text);
    if (!value) {
        reading.refusal = PreparedReading::NotANumber;
        return reading;
    }
    switch (mode) {
    case NumberReader::Cardinal:
        if (std::fabs(*value) > NumberReader::Limit) {
            reading.refusal = PreparedReading::TooLarge;
            return reading;
        }
        reading.codes = reader.ReadCardinal(*value);
        break;
    case NumberReader::Ordinal: {
        reading.codes = reader.ReadOrdinal(*value);
        const double whole = std::nearbyint(*value);
        if (std::fabs(whole) <= 1000)
            reading.caption = NumberReader::EnglishOrdinal(static_cast<int>(whole));
        break;
    }
    default:
        reading.codes = reader.ReadPercent(*value);
        break;
    }
    return reading;
}

QString RefusalMessage(PreparedReading::Refusal refusal)
{
    switch (refusal) {
    case PreparedReading::NotANumber: return QStringLiteral("It's not a number!");
    case PreparedReading::TooLarge: return QStringLiteral("The number is too large! Please input a smaller number.");
    case PreparedReading::None: break;
    }
    return QString();
}

namespace {

// The timer that defers each mode, 1-based as the form's Timer1 .. Timer4.
int TimerNumber(NumberReader::Mode mode)
{
    switch (mode) {
    case NumberReader::Ordinal: return 1;
    case NumberReader::Percent: return 2;
    case NumberReader::Cardinal: return 3;
    case NumberReader::Telephone: return 4;
    }
    return 3;
}

} // namespace

ReadingDeferrals::ReadingDeferrals(QObject* form, std::function<void(NumberReader::Mode)> read)
    : QObject(form)
    , m_read(std::move(read))
{
    for (NumberReader::Mode mode :
        {NumberReader::Cardinal, NumberReader::Ordinal, NumberReader::Percent, NumberReader::Telephone}) {
        const int k = TimerNumber(mode);
        Timer* timer = new Timer(form, 100, false);
        timer->setObjectName(QStringLiteral("Timer%1").arg(k));
        connect(timer, &Timer::Tick, this, [this, timer, mode] {
            timer->SetEnabled(false);
            m_read(mode);
        });
        m_timers[k - 1] = timer;
    }
}

Timer* ReadingDeferrals::TimerOf(NumberReader::Mode mode) const { return m_timers[TimerNumber(mode) - 1]; }

void ReadingDeferrals::Picked(NumberReader::Mode mode, bool windowVisible)
{
    if ((mode == NumberReader::Ordinal || mode == NumberReader::Percent) && !windowVisible)
        return;
    TimerOf(mode)->SetEnabled(true);
}
