#pragma once
// The reading helper: the learner's own Chinese text (pasted, or opened from a .txt or .rtf
// file), kept from one use to the next in Record/Reading.rtf. A selection of 1 to 4
// characters is looked up in the dictionaries, up to 20 are read aloud from pinyin found in
// the course's tables by the pair rule, Ctrl with one character opens the pop-up, and
// "Change color" colours looked-up selections at random. Rules: ReadingRules.h.

#include <memory>

#include "ReadingRules.h"
#include "ToolWindow.h"

class PairReader;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class RichTextBox;
class Timer;

class ReadingHelper : public ToolWindow, private ReadingSelectionActions {
    Q_OBJECT
public:
    ReadingHelper();
    ~ReadingHelper() override;

    // The whole text in 24-point black "Microsoft Sans Serif", neither bold nor italic, the
    // caret at the start.
    void FormatText();
    // Saves the text to Record/Reading.rtf when it changed since the last save; a failure
    // shows the disk warning (or says the text is too large to keep) and leaves the change
    // pending for the close. A saved file that could not be loaded is never written over.
    void SaveReading();
    // Finds the pinyin of text, one character per turn of the event loop with the progress
    // shown, keeps it as the last annotated text's pinyin and reads it aloud.
    void AnnotatePinyin(const QString& text);

protected:
    void Form_Load() override;
    void Tool_Unload() override;

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    // Opens a file into the box; why it was not opened, empty when it was.
    QString OpenReading(const QString& path);
    void Check1_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void RichTextBox1_Change();
    void RichTextBox1_MouseUp(int button, int shift, double x, double y);
    void RichTextBox1_KeyDown(int keyCode, int shift);
    // The box refused a text pasted in or the formatting of the whole text (format): the
    // learner is told why.
    void RichTextBox1_Refused(bool format, const QString& why);
    void AnnotateStep();
    void ShowProgress(bool on);

    // ReadingSelectionActions
    void ShowPopup(const QString& ch) override;
    QString LookUpOnline(const QString& word, int charIndex, const QString& context) override;
    void LookUpLocal(const QString& word) override;
    void StartAnnotation(const QString& text) override;
    void Replay(const QString& pinyin) override;
    void Colour(int start, int length) override;
    void Collapse(int caret) override;

    RichTextBox* RichTextBox1{nullptr};
    QPushButton* Command1{nullptr}; // "Close"
    QPushButton* Command2{nullptr}; // "Clear"
    QPushButton* Command3{nullptr}; // "Clear + paste"
    QPushButton* Command4{nullptr}; // "Paste"
    QPushButton* Command5{nullptr}; // "Open"
    QCheckBox* Check1{nullptr};     // "Change color"
    QLabel* Label2{nullptr};        // "Looking for Pinyin"
    QProgressBar* ProgressBar1{nullptr};
    Timer* Timer1{nullptr}; // 60 s autosave clock
    Timer* Timer2{nullptr}; // 100 ms before the pinyin look-up starts

    ReadingAutosave m_autosave;
    QString m_lastText;   // the last annotated text
    QString m_lastPinyin; // its pinyin
    std::unique_ptr<PairReader> m_reader; // the running annotation; dropped to cancel it
    double m_mouseX{0};   // the pointer of the last mouse-up in the box (twips)
    double m_mouseY{0};
};
