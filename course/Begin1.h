#pragma once
// The course panel beside the start menu: the lesson list, the six step rows and the review
// row of the chosen lesson, coloured and enabled by the learner's progress, and the progress
// line. Each row's "Open" opens its study stack.
//
// Who calls whom: the start menu loads and shows it once; CompleteLessonStep reaches it as
// the ProgressView (SetLabel3, Common07); a closing task window shows it again and focuses a
// step button (FocusStepButton).

#include "ControlKit.h"
#include "MenuPanel.h"
#include "StudyProgress.h"

class QComboBox;
class QLabel;
class QPushButton;
class Timer;
struct StudyLauncher;

class Begin1 : public MenuPanel, public ProgressView {
    Q_OBJECT
public:
    Begin1();

    // Reads the progress, fills the lesson list and selects the learner's lesson.
    void Common09();
    // Colours and enables the rows of the viewed lesson.
    void Common07() override;
    void SetLabel3(const QString& text) override;
    // Opens the vocabulary test's stack.
    void Common02();

    // A lesson chosen in the list, by the learner or by program.
    void Combo1_Click();
    void Command1_Click(int index);
    void Label3_Click();
    // The focus on a row's "Open" button; the panel comes forward with it.
    void FocusStepButton(int index);

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    // Selects a list index and runs the same handling as the learner's pick.
    void SelectLesson(int index);
    void OpenStudyStack(const StudyLauncher& launcher);
    void ReplaceTimer_Tick();

    QLabel* Label1{nullptr};
    QComboBox* Combo1{nullptr};
    Kit::ControlRow<QPushButton> Command1{this, "Command1"}; // 0..5 the steps, 7 the review
    Kit::ControlRow<QLabel> Label2{this, "Label2"};          // row captions 0..5, 7..9
    QLabel* Label3{nullptr};                                 // the progress line
    // Places the open stack again once the window manager has framed its windows.
    Timer* m_replaceTimer{nullptr};

    int m_noSelection{-1}; // the list index of no selection
    const StudyLauncher* m_openStack{nullptr};
    int m_replaceTicks{0};
};
