#pragma once
// The fill-in-the-blank exercise (lesson step 4). The lesson text is shown with one Chinese
// character of every sentence line replaced by "__"; the learner fills the blanks in text
// order by clicking one of the candidates below the text; resting on a candidate for 400 ms
// speaks it. After the last blank the exercise is graded (pass mark 80) and Result1 lists
// every blank. The rules live in BlankExercise.
//
// Who calls whom: the course panel's launcher opens it with Result1 below it; Result1 reads
// Blanks and Graded and selects a blank here; the task protocol records the step at a passing
// grade and closes the window.

#include <QList>

#include "BlankExercise.h"
#include "ControlKit.h"
#include "LessonTaskWindow.h"

class QLabel;
class QMouseEvent;
class QPushButton;
class RichTextBox;
class Timer;

class Exercise3 : public LessonTaskWindow {
    Q_OBJECT
public:
    Exercise3();

    void SetLessonLabel(const QString& text) override;

    // The blanks in text order (blank i at [i - 1]); Graded once the last one is filled.
    const QList<BlankRecord>& Blanks() const { return m_blanks; }
    bool Graded() const { return m_graded; }
    // Selects blank i (1-based) in the text where it was made.
    void SelectBlank(int i);
    // The candidates' and the result rows' sound: the first reading of CharacterTable record
    // index (1-based) on the shared player, nobody told at its end; nothing for 0.
    static void SpeakCharacter(int index);
    // The CharacterTable record of ch (1-based), 0 when it has none.
    static int CharacterIndex(const QString& ch);

protected:
    void Task_Load() override;
    void Task_Unload() override;
    bool WorkRemains() const override { return CurrentBlank <= m_blanks.size(); }
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void BuildExercise();
    void ShowCandidates(const QStringList& candidates);
    void NextBlank();
    void SelectNextBlank();
    void GradeExercise();
    void SetHover(int k);

    void Label1_MouseMove(int k);
    void Label1_MouseUp(int k);
    void Command2_Click();
    void RichTextBox1_MouseUp(int button, int shift, double x, double y);
    void CollapseSelection();
    void Timer2_Timer();

    RichTextBox* RichTextBox1{nullptr};
    Kit::ControlRow<QLabel> Label1{this, "Label1"}; // the candidates, 1..4
    QLabel* Label2{nullptr};                        // "Options:"
    Kit::ControlRow<QLabel> Label3{this, "Label3"}; // the task and the pass mark
    QLabel* Label4{nullptr};                        // the rate
    QLabel* Label6{nullptr};                        // "Lesson n"
    QLabel* Label14{nullptr};                       // "Correctness Rate"
    QPushButton* Command2{nullptr};                 // Close
    Timer* Timer2{nullptr};                         // 400 ms: speaks the candidate under the mouse

    QList<BlankRecord> m_blanks;
    bool m_graded{false};
    int CurrentBlank{1};
    int HoverIndex{0};
    int BlankSelStart{0};
    // Each candidate label's character in CharacterTable (1-based), 0 when it has none.
    int m_tags[CandidateLabels + 1]{};
};
