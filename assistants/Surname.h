#pragma once
// The surnames tool: 190 Chinese surnames in a list (index, surname, pinyin, famous bearers).
// A click on a row speaks that surname (one character: its syllable file; two: the syllable
// queue) and shows it large with its pinyin, and asks the on-line dictionary when its
// automatic look-up box is ticked. Every header click sorts by that column and flips the
// direction. The famous-bearers column stays empty: the program names no real person.

#include <QList>

#include "SurnameTable.h"
#include "ToolWindow.h"

class ListView;
class QLabel;
class QPushButton;
class Timer;

class Surname : public ToolWindow {
    Q_OBJECT
public:
    Surname();

protected:
    void Form_Load() override;

private:
    void ListView1_Click();
    void ListView1_ColumnClick(int column);
    void Timer1_Timer();
    // Lists the rows in the present sort order, the row of selectedIndex selected.
    void FillList(int selectedIndex);

    ListView* ListView1{nullptr};
    QLabel* Label1{nullptr}; // the chosen surname
    QLabel* Label3{nullptr}; // its pinyin
    QLabel* Label4{nullptr};
    QPushButton* Command1{nullptr};
    Timer* Timer1{nullptr}; // 800 ms: the notice of missing sounds

    QList<SurnameRecord> m_rows; // in the list's order
    QList<SurnameRecord> m_byIndex; // row n at [n - 1]: the sound survives any re-sorting
    SurnameSort m_sort;
};
