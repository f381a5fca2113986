#pragma once
// The number window's inputs without widgets: what "Text to Speech" makes of a mode's text
// (the checks of the cardinal input, the codes, the English caption of an ordinal), and the
// 100 ms deferral of a reading picked from a list.

#include <QObject>
#include <QString>
#include <functional>

#include "NumberReading.h"

class Timer;

struct PreparedReading {
    enum Refusal { None, NotANumber, TooLarge };
    Refusal refusal{None};
    QString codes;   // the sound codes; empty for a telephone text without digits
    QString caption; // the English ordinal (Label6), "" for the other modes
};

// The reading of text in mode. A text that is not a number, or a value beyond plus or minus
// 10^13, is refused and gives no codes; 10^13 itself is read.
PreparedReading PrepareReading(NumberReader::Mode mode, const QString& text);
// The warning shown for a refusal ("" for None).
QString RefusalMessage(PreparedReading::Refusal refusal);

// Picking an entry in a mode's list reads that mode 100 ms later, when the list has closed:
// the cardinal list through Timer3, the ordinal list through Timer1, the percent list through
// Timer2 and the telephone list through Timer4. Each timer stops itself before it reads.
class ReadingDeferrals : public QObject {
public:
    // The timers are children of form, named as its controls; read runs the mode's reading.
    ReadingDeferrals(QObject* form, std::function<void(NumberReader::Mode)> read);

    // An entry of mode's list was picked. The ordinal and percent lists read only while the
    // window is visible: selecting their first entry while the window loads reads nothing.
    void Picked(NumberReader::Mode mode, bool windowVisible);

    Timer* TimerOf(NumberReader::Mode mode) const;

private:
    std::function<void(NumberReader::Mode)> m_read;
    Timer* m_timers[4]{}; // Timer1 .. Timer4
};
