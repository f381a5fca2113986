#pragma once
// The loading window: shown modally by the start menu at start-up, it fills the course tables
// (LoadCourseTables) 200 ms after it loads, showing each step's caption and progress bar, then
// unloads itself and starts the start menu's Timer2. It ignores Esc and the window manager's
// close, so the course never opens on half-loaded tables. Loaded at any other time than
// start-up (CurrentActivity other than -1) it loads nothing.

#include "ControlKit.h"
#include "Form.h"
#include "LoadingSteps.h"

class QLabel;
class QProgressBar;
class Timer;

class LoadData : public Form, public LoadProgress {
    Q_OBJECT
public:
    LoadData();

    // Makes the window known to the form registry under its name.
    static void Register();

    // Label1(0) title, Label1(2), (3), (4), (1): captions of steps 1 to 4.
    Kit::ControlRow<QLabel> Label1{this, "Label1"};
    QProgressBar* ProgressBar1{nullptr}; // step 4
    QProgressBar* ProgressBar2{nullptr}; // step 1
    QProgressBar* ProgressBar3{nullptr}; // step 2
    QProgressBar* ProgressBar4{nullptr}; // step 3
    Timer* Timer1{nullptr};

    // LoadProgress: steps 1 to 4 map to the bars and captions above. The window repaints at
    // most once a frame (16 ms): a bar shows its step's value from the next frame on.
    void SetMaximum(int step, int maximum) override;
    int Maximum(int step) const override;
    int Value(int step) const override;
    void SetValue(int step, int value) override;
    void SetCaption(int step, const QString& text) override;
    void ProcessEvents() override;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_CloseRequested() override;
    void paintEvent(QPaintEvent* e) override;

private:
    void Timer1_Timer();
    QProgressBar* Bar(int step) const;
    QLabel* Caption(int step) const;

    int m_value[5]{}; // each step's value, shown by its bar from the next frame on
    qint64 m_lastRepaintMs{-1}; // Clock::Msecs() of the last repaint, -1 before the first
};
