#pragma once
// Sentence finding (lesson step 5): a three-choice question on each line of the lesson text,
// in order, by sound (which Chinese sentence is spoken) or by meaning (which English sentence
// the Chinese says). The line is spoken again and again, half a second per syllable plus two
// seconds, until the next question. A wrong answer shows the correction until "Next". At the
// frontier a run below 80 % starts again from the first line. The rules live in SentenceQuiz.
//
// Who calls whom: the course panel's launcher opens it below the dictionary; the shared
// player's end for owner 13 reaches Common02 through the play-done receiver; the task
// protocol records the step at a passing run and closes the window.

#include <QVector>

#include "ControlKit.h"
#include "LessonTaskWindow.h"
#include "SentenceQuiz.h"
#include "SharedPlayer.h"

class FenPeiTiao;
class QLabel;
class QPushButton;
class RichTextBox;
class Timer;

class FindSentence : public LessonTaskWindow, public PlayDoneReceiver {
    Q_OBJECT
public:
    FindSentence();

    void SetLessonLabel(const QString& text) override;

    // Stops the sentence's bar (also the play-done method of owner 13).
    void Common02();
    void PlayDone() override { Common02(); }
    // Disables the three answer buttons.
    void Common05();

    // The question on show: its line (1-based in the lesson) and the option that is right.
    int LineIndex() const { return m_lineIndex; }
    int CorrectOption() const { return m_question.Correct; }
    bool SoundQuestion() const { return m_question.Sound; }

protected:
    void Task_Load() override;
    void Task_Unload() override;
    bool WorkRemains() const override;

private:
    void StartQuiz();
    void NextQuestion();
    void EndRun();
    void ShowCorrection();
    void UpdateRate();
    void Append(const QStringList& rtf);

    void Command1_Click();
    void Command2_Click(int option);
    void Command4_Click();
    void RichTextBox1_MouseUp(int button, int shift, double x, double y);
    void CollapseSelection();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void Timer6_Timer();

    RichTextBox* RichTextBox1{nullptr};
    Kit::ControlRow<QPushButton> Command2{this, "Command2"}; // A, B, C
    QPushButton* Command1{nullptr};                          // Close
    QPushButton* Command4{nullptr};                          // Next
    QLabel* Label1{nullptr};                                 // the question number
    QLabel* Label2{nullptr};                                 // the feedback of a wrong answer
    Kit::ControlRow<QLabel> Label3{this, "Label3"};          // No., Options:, the pass mark, the task
    QLabel* Label4{nullptr};                                 // the rate
    QLabel* Label6{nullptr};                                 // "Lesson n"
    FenPeiTiao* FenPeiTiao1{nullptr};
    Timer* Timer1{nullptr}; // 100 ms: the bar follows the syllable queue
    Timer* Timer2{nullptr}; // 2000 ms: speaks the sentence
    Timer* Timer4{nullptr}; // 500 ms: empties the bar after the sentence
    Timer* Timer5{nullptr}; // the sentence's length: waits for its end
    Timer* Timer6{nullptr}; // 200 ms: starts a new run

    int m_lineIndex{0};
    int QuestionCount{0};
    int RightCount{0};
    int WrongCount{0};
    SentenceRecord m_line;
    QuizQuestion m_question;
};
