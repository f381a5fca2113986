#pragma once
// The lesson text window. It shows the viewed lesson's text in three rows per line (pinyin,
// Chinese, English) and serves two lesson tasks: text study (CurrentActivity 1: the sentence
// list, each sentence spoken with its progress bar, characters and short words looked up by
// selecting them) and reading aloud after the teacher (CurrentActivity 6, the read-after
// engine). The rows and the progress rules live in LessonText.
//
// Who calls whom: the course panel's launchers open it in its stack; the main window's player
// (owner 2) and the syllable queue's end during reading aloud reach Common01 through the
// play-done receiver; the word list selects in RichTextBox1; closing hands back through the
// task protocol, which records a frontier text study as the window closes.

#include "LessonTaskWindow.h"
#include "LessonText.h"
#include "SharedPlayer.h"

class FenPeiTiao;
class QComboBox;
class QLabel;
class QPushButton;
class RichTextBox;
class Timer;

class Text : public LessonTaskWindow, public PlayDoneReceiver {
    Q_OBJECT
public:
    Text();

    void SetLessonLabel(const QString& text) override;
    void UseImage1Background() override;

    // The play-done call-back: the sentence's progress stops; during text study the bar
    // empties, during reading aloud the next word follows after Timer5's pause.
    void Common01();
    void PlayDone() override { Common01(); }

    // The lesson text; the word list selects its words here.
    RichTextBox* RichTextBox1{nullptr};

protected:
    void Task_Load() override;
    void Task_Unload() override;

private:
    void BuildText();
    void SetupStudyTask();
    void SetupReadAfterTask();
    // Sets the sentence list's index and runs its click, as setting the old list's index did.
    void SetListIndex(int index);
    void SelectSentence(int line);
    void SpeakSentence();

    // Reading aloud after the teacher, word by word (the segmentation is course/ReadAfter's).
    // "Playback" starts the reading; each word is highlighted, its related expressions listed
    // and its syllables spoken; Timer5 reads the next word after the pause that Common01 arms
    // when the syllable queue has spoken a word. At the end of the text the task is finished.
    void StartReading();
    void ReadNextWord();
    void HighlightAndSpeakWord(const QString& word, int entry, bool fromLesson, bool wholeWord);
    void FinishReadAfterTask();

    void Combo1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void RichTextBox1_MouseUp(int button, int shift, double x, double y);
    void RichTextBox1_KeyDown(int keyCode, int shift);
    void RichTextBox1_KeyUp(int keyCode, int shift);
    void CollapseSelection();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer5_Timer();

    QLabel* Label1{nullptr}; // counter
    QLabel* Label2{nullptr}; // "Lesson n"
    QLabel* Label3{nullptr}; // the task
    QLabel* Image1{nullptr}; // the reading-aloud background
    QComboBox* Combo1{nullptr};
    QPushButton* Command1{nullptr}; // Close
    QPushButton* Command2{nullptr}; // Playback
    QPushButton* Command3{nullptr}; // Previous
    QPushButton* Command4{nullptr}; // Next
    FenPeiTiao* FenPeiTiao1{nullptr};
    Timer* Timer1{nullptr}; // 500 ms: empties the finished bar
    Timer* Timer2{nullptr}; // 100 ms: the sentence's progress
    Timer* Timer5{nullptr}; // 3000 ms: the pause after each word read aloud
    // (The close 500 ms after reading aloud is the task protocol's own timer.)

    qint16 CurrentSentence{0};
    // Reading aloud: the text's length when reading started, the 1-based reading position
    // (0 once the end is reached) and where the next word's highlight is searched from.
    int TextLength{0};
    int ReadPos{0};
    int SearchFrom{0};
    SentenceProgress m_progress;
};
