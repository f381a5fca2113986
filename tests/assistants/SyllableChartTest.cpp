#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>

#include "SyllableChart.h"
#include "TestSupport.h"

namespace {

TEST(SyllableChartTest, EachLetterHoldsItsSyllablesInTheirForm)
{
    const std::pair<char, int> counts[] = {
        {'A', 5},  {'B', 16}, {'C', 34}, {'D', 22}, {'E', 3},  {'F', 9},  {'G', 19}, {'H', 19},
        {'J', 14}, {'K', 18}, {'L', 24}, {'M', 19}, {'N', 23}, {'O', 2},  {'P', 17}, {'Q', 14},
        {'R', 14}, {'S', 35}, {'T', 19}, {'W', 9},  {'X', 14}, {'Y', 15}, {'Z', 36},
    };
    const QRegularExpression form(QStringLiteral("^[a-z]*\\|[aeiouv][a-z]*[01]{4}$"));
    QSet<QString> syllables;
    int total = 0;
    for (const auto& [letter, count] : counts) {
        SCOPED_TRACE(letter);
        SyllableChartState chart;
        chart.ChartLetter = QString(QLatin1Char(letter));
        FillSyllableChart(chart);
        ASSERT_EQ(chart.ChartSyllableCount, count);
        ASSERT_EQ(chart.SyllableChart.size(), count);
        for (const QString& entry : chart.SyllableChart) {
            EXPECT_TRUE(form.match(entry).hasMatch()) << entry.toStdString();
            const QString syllable = entry.left(entry.size() - 4).remove(u'|');
            // The head starts with the letter, except the syllables without an initial.
            if (!entry.startsWith(u'|')) {
                EXPECT_EQ(syllable.at(0).toUpper(), QLatin1Char(letter)) << entry.toStdString();
            }
            EXPECT_NE(entry.right(4), QStringLiteral("0000")) << entry.toStdString();
            syllables.insert(syllable);
        }
        total += count;
    }
    EXPECT_EQ(total, 400);
    EXPECT_EQ(syllables.size(), 400); // no syllable twice
}

TEST(SyllableChartTest, OtherLettersChangeNothing)
{
    SyllableChartState chart;
    chart.ChartLetter = QStringLiteral("O");
    FillSyllableChart(chart);
    const QStringList o = chart.SyllableChart;
    EXPECT_EQ(o, (QStringList{"|o1101", "|ou1011"}));
    for (const char* other : {"I", "U", "V", "", "ZH", "z", "1"}) {
        SCOPED_TRACE(other);
        chart.ChartLetter = QString::fromLatin1(other);
        FillSyllableChart(chart);
        EXPECT_EQ(chart.SyllableChart, o);
        EXPECT_EQ(chart.ChartSyllableCount, 2);
    }
}

} // namespace
