#pragma once
// Lesson task 2: the learner types the pinyin of each new character of the viewed lesson,
// picks the character from the candidate pages and is told whether it is right; the asked
// character is spoken. Passes run over all the new characters; on the frontier a pass of at
// least 80 % finishes the task, a lower one starts the pass again. The rules live in
// TypingRules; this window shows them and takes its keys itself (the desktop input method is
// switched off for it, or it would swallow the letters).
//
// Who calls whom: the course panel's launcher loads it with the related-expressions list
// below it; the window fills that list through RelatedExpressionsHook(). The list sets
// FocusLost when the learner clicks it and hands the focus back.

#include <QString>
#include <QVector>

#include "LessonTaskWindow.h"
#include "Timer.h"
#include "TypingRules.h"

class QLabel;
class QMouseEvent;

class Typing : public LessonTaskWindow {
    Q_OBJECT
public:
    Typing();

    void SetLessonLabel(const QString& text) override;

    // Set when the window loses the focus (and by the related list when it is clicked): the
    // next click speaks the asked character anew instead of replaying the last sound.
    bool FocusLost{false};
    // Keys and clicks are taken only while it is true (not while a verdict blinks).
    bool InputEnabled{false};

    // The click on the window or on Label1, Label3, Label4.
    void SpeakOnClick();

protected:
    void Task_Load() override;
    void Task_Unload() override;
    void Form_QueryUnload(bool& cancel) override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyUp(int& keyCode, int shift) override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void LoadLessonCharacters();
    void NextCharacter();
    void SpeakAskedCharacter();
    void SelectCandidate(int k);
    void AppendPinyinLetter(QChar letter);
    void DeletePinyinLetter();
    void NextCandidatePage();
    void PreviousCandidatePage();
    void ShowInput();
    void FillRelatedList(const QString& character);
    void Label11_Click();
    void Timer1_Timer();
    void Timer5_Timer();
    bool OnImage3(const QPoint& pos) const;

    QLabel* Label1{nullptr};
    QLabel* Label2{nullptr};
    QLabel* Label3{nullptr};
    QLabel* Label4{nullptr};
    QLabel* Label5{nullptr};
    QLabel* Label6{nullptr};
    QLabel* Label7{nullptr};
    QLabel* Label8{nullptr};
    QLabel* Label10{nullptr};
    QLabel* Label11{nullptr};
    QLabel* Label16{nullptr};
    QLabel* Label17{nullptr};
    QLabel* Label18{nullptr};
    QLabel* Label19{nullptr};
    QLabel* Label20{nullptr};
    QLabel* Shape1{nullptr};
    QLabel* Image1{nullptr};
    QLabel* Image3{nullptr};
    QLabel* Image4{nullptr};
    Timer* Timer1{nullptr};
    Timer* Timer5{nullptr};

    QVector<AskedCharacter> m_asked;
    int m_index{0};       // 1..n
    qint32 m_position{0}; // in the pass, shown in Label17
    qint32 m_correct{0};
    qint32 m_wrong{0};
    int m_rate{0};
    int m_blinkTicks{0};
    bool m_pinyinShown{true};
    bool m_noCharacters{false};
    bool m_closePressed{false};
    bool m_escapePressed{false}; // Esc went down while input was open
    QString m_savedHint;
    PinyinInput m_input;
};
