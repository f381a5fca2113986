#pragma once
// The pinyin alphabet: the learner picks a group (an initial letter) and a syllable of it,
// sees its toned forms, hears a form repeated while the pointer rests on it (300 ms wait,
// play, 500 ms pause after each end, play again), sees the characters that share it, and
// looks it up in the local dictionary by clicking it. The syllables come from the chart.

#include <QString>
#include <array>

#include "ControlKit.h"
#include "SharedPlayer.h"
#include "SyllableChart.h"
#include "ToolWindow.h"

class QComboBox;
class QLabel;
class QPushButton;
class Timer;

class Alphabet1 : public ToolWindow, public PlayDoneReceiver {
    Q_OBJECT
public:
    Alphabet1();

    // Play-done of sound owner 7: the pause before the form is played again.
    void Common01();
    void PlayDone() override { Common01(); }
    // Shows chart entry index (1-based) in the four tone labels.
    void ShowSyllable(int index);
    // The menu focuses the next-syllable button.
    QWidget* FirstFocus() override;

protected:
    void Form_Load() override;
    void Tool_Unload() override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void Combo2_Click();
    void Combo1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Label4_MouseMove(int tone);
    void Label4_Click(int tone);
    void Timer1_Timer();
    void Timer2_Timer();
    void ColourToneLabels();

    QComboBox* Combo2{nullptr}; // the groups
    QComboBox* Combo1{nullptr}; // the syllables of the group
    QPushButton* Command1{nullptr};
    QPushButton* Command2{nullptr};
    QPushButton* Command3{nullptr};
    QPushButton* Command4{nullptr};
    QPushButton* Command5{nullptr};
    QLabel* Label2{nullptr};                        // "index / count"
    QLabel* Label5{nullptr};                        // the characters of the hovered form
    Kit::ControlRow<QLabel> Label4{this, "Label4"}; // the toned forms, 1..4
    Kit::ControlRow<QLabel> Label6{this, "Label6"}; // fixed captions
    Timer* Timer1{nullptr};                         // 500 ms: pause before playing again
    Timer* Timer2{nullptr};                         // 300 ms: wait before playing

    std::array<QString, 4> m_tags; // Label4's Tag: the characters of each toned form
    SyllableChartState m_chart;
    int m_index{1};     // current syllable
    int m_hovered{0};   // hovered tone label, 0 none
    int m_toneToPlay{1};
};
