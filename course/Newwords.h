#pragma once
// The review of the viewed lesson's new words (CurrentActivity 8): one word at a time, large,
// with its tone-marked pinyin and meaning, spoken, with its related expressions listed below;
// the window's free surface is a pad the learner writes on with the mouse (left button draws,
// any other button clears). It is no lesson step: it records nothing and never warns.
//
// Who calls whom: the course panel's review row opens it above Expressions_Related, which it
// fills with Common02 for every word shown; closing hands back through the task protocol
// (step 8: player closed, Dictionary hidden, the list unloaded, menus shown).

#include <QPixmap>
#include <QPoint>

#include "ControlKit.h"
#include "LessonTaskWindow.h"

class QComboBox;
class QLabel;
class QPushButton;
class Timer;

class Newwords : public LessonTaskWindow {
    Q_OBJECT
public:
    Newwords();

    void SetLessonLabel(const QString& text) override;

    // The number (from 1) of the word shown; 0 before the first.
    qint16 CurrentWord{0};
    // False until loading has finished: "Playback" speaks only then.
    bool Ready{false};
    // True while the left button is held down on the pad.
    bool MouseHeld{false};

protected:
    void Task_Load() override;
    void Task_Unload() override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Sets the list's index and shows that word, as setting the old list's index did.
    void SetListIndex(int index);
    void Combo1_Click();
    void SpeakCurrentWord();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command6_Click();
    void Timer1_Timer();
    void DrawPoint(const QPoint& at);
    void FitPad();

    QComboBox* Combo1{nullptr};
    QPushButton* Command1{nullptr}; // Close
    QPushButton* Command2{nullptr}; // >>
    QPushButton* Command3{nullptr}; // Playback
    QPushButton* Command6{nullptr}; // <<
    QLabel* Label11{nullptr};       // "Lesson n"
    QLabel* Label3{nullptr};        // counter
    QLabel* Label2{nullptr};
    QLabel* Label4{nullptr};
    // 0 the Chinese word, 1 its pinyin, 2 its meaning, 3 the writing hint; the mouse passes
    // through them to the pad.
    Kit::ControlRow<QLabel> Label1{this, "Label1"};
    Timer* Timer1{nullptr}; // 500 ms after loading: the first word

    QPixmap m_pad;    // what has been written
    QPoint m_lastPoint;
};
