#pragma once
// The questions notepad above the dictionary during text study. The learner writes questions
// about the language; they are kept in Record/Question.txt (saved five minutes after the
// first unsaved change and on closing) and "Send" mails them to the tutor. The rules live in
// QuestionNotes; the mail goes through core's TutorMail.

#include "Form.h"
#include "TextBoxes.h"

class QPushButton;
class Timer;

// The notepad's text box: a multi-line box that reports a mouse press and the loss of the
// focus, as the old text box's events did, and takes from a paste only what it can hold.
class NoteBox : public PlainTextBox {
    Q_OBJECT
public:
    explicit NoteBox(QWidget* parent = nullptr);
    // The text with CR LF between lines, as the old box gave it.
    QString Text() const;
    void SetText(const QString& text);

signals:
    void MouseDown();
    void LostFocus();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
};

class Notepad : public Form {
    Q_OBJECT
public:
    Notepad();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_Resize() override;
    // Send going off while a mail is on its way leaves the keys with the questions.
    QWidget* KeysAfter(QWidget* control) override;

private:
    void Text1_Change();
    void Text1_MouseDown();
    void Text1_LostFocus();
    void Timer1_Timer();
    void Command1_Click();
    // Writes the questions when they changed since the last save.
    void SaveQuestions();
    // Send is on while no mail of questions is going.
    void FollowOutbox();

    NoteBox* Text1{nullptr};
    QPushButton* Command1{nullptr};
    Timer* Timer1{nullptr}; // 60 s; the questions are saved at its fifth tick

    bool m_changed{false};
    qint16 m_ticks{0};
};
