#pragma once
// Lesson task 3: a timed multiple-choice test of the viewed lesson's new words. Each word is
// shown and spoken, eight English options are offered (its meanings among distractors), and
// the learner has 20 one-second ticks of the value bar to click a right one. Every word is
// asked once, in a random order; the pass mark on the frontier is 50 %. The rules live in
// VocabularyRules; the local dictionary above the window shows the word's entry meanwhile.
//
// Who calls whom: the course panel's Common02 loads it; the shared player (owner 12) and the
// syllable queue's end (activity 3) reach Common05 through its play-done receiver.

#include <QString>
#include <QVector>

#include "ControlKit.h"
#include "LessonTaskWindow.h"
#include "SharedPlayer.h"
#include "Timer.h"
#include "VocabularyRules.h"

class FenPeiTiao;
class QLabel;
class QMouseEvent;
class QPushButton;

class Vocabulary : public LessonTaskWindow, public PlayDoneReceiver {
    Q_OBJECT
public:
    Vocabulary();

    void SetLessonLabel(const QString& text) override;

    // The word's sound has been heard to its end: it is repeated two seconds later.
    void Common05();
    void PlayDone() override { Common05(); }

protected:
    void Task_Load() override;
    void Task_Unload() override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void Command2_Click();
    void AskNextWord();
    void AfterAnswer();
    void Label2_MouseUp(int index);
    void Label2_MouseMove(int index);
    void ClearHover();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void SpeakWord();
    void SetCount(int element, int value);
    void Paint(int option, const QColor& ink);

    QLabel* Label1{nullptr};
    QLabel* Label5{nullptr};
    QLabel* Label6{nullptr};
    QLabel* Label7{nullptr};
    QLabel* Label9{nullptr};
    Kit::ControlRow<QLabel> Label2{this, "Label2"};
    Kit::ControlRow<QLabel> Label3{this, "Label3"};
    Kit::ControlRow<QLabel> Label4{this, "Label4"};
    Kit::ControlRow<QLabel> Label8{this, "Label8"};
    FenPeiTiao* FenPeiTiao1{nullptr};
    QPushButton* Command2{nullptr};
    QPushButton* Command5{nullptr};
    Timer* Timer1{nullptr};
    Timer* Timer2{nullptr};
    Timer* Timer3{nullptr};
    Timer* Timer4{nullptr};

    QVector<TestWord> TestWords;
    int WordIndex{0};
    int RightCount{0};
    int WrongCount{0};
    int MeaningCount{0};
    QVector<VocabularyOption> m_options;
    float BarStep{0};
    bool AnswersOpen{false};
    int HoverOption{-1};
};
