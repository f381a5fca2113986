#pragma once
// Everyday sentences and their search: the learner picks one of twenty topics and gets its
// sentences, or types English or Chinese keywords and gets every sentence of the course that
// holds all of them. A clicked sentence is shown as pinyin, Chinese and English and spoken
// syllable by syllable; one selected character of it opens the pop-up with the reading it has
// in this sentence, a short Chinese selection goes to the dictionaries. The ask box mails the
// learner's own sentence to the tutor. The rules live in SentenceSearch.h.

#include <QStringList>

#include "ToolWindow.h"

class ComboBox;
class FenPeiTiao;
class ListView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RichTextBox;

class SentencesSingle : public ToolWindow {
    Q_OBJECT
public:
    SentencesSingle();

    QWidget* FirstFocus() override;

protected:
    void Form_Load() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    // "Ask us" going off while the question is mailed leaves the keys with the question.
    QWidget* KeysAfter(QWidget* control) override;

private:
    void Combo2_Click();
    void Command3_Click();
    void Command1_Click();
    // Send ("Ask us") is on while no sentence mail is going.
    void FollowOutbox();
    void ListView1_Click();
    void RichTextBox1_MouseUp(double x, double y);
    void AddRow(int position, const QString& text);

    QLabel* Label2{nullptr}; // number of listed sentences
    QComboBox* Combo2{nullptr};
    ComboBox* Combo1{nullptr};
    QPushButton* Command3{nullptr};
    RichTextBox* RichTextBox1{nullptr};
    ListView* ListView1{nullptr};
    QPushButton* Command6{nullptr};
    QLineEdit* Text2{nullptr};
    QPushButton* Command1{nullptr};
    FenPeiTiao* FenPeiTiao1{nullptr};

    bool SentenceShown{false};
    int ChineseStart{0};
    int m_shownPosition{0}; // the shown sentence's table position
    QStringList m_syllables; // its syllables, 0-based
    QStringList m_history;
};
