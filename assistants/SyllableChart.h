#pragma once
// The fixed table of Mandarin syllables behind the pinyin alphabet window: for one initial
// letter, every syllable the window can show and play, split where its tone mark goes
// ("bi|an"), with four flags saying which tones exist ("bi|an1011": biān, biǎn, biàn).

#include <QString>
#include <QStringList>

struct SyllableChartState {
    QString ChartLetter;         // one upper-case letter
    qint16 ChartSyllableCount{0};
    QStringList SyllableChart;   // entry k at [k - 1]
};

// Fills the chart with ChartLetter's entries in their order; any other letter (I, U, V
// included) changes nothing.
void FillSyllableChart(SyllableChartState& chart);
