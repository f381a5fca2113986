#pragma once
// The code-page help window, shown at start-up instead of the start menu when the system's
// code page cannot show Chinese. Three illustrated steps explain the change; the learner goes
// on to the start menu anyway or cancels the launch.

#include "Form.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QFrame;

class StartOrNot : public Form {
    Q_OBJECT
public:
    StartOrNot();

    QLabel* Label1{nullptr};
    QLabel* Label2{nullptr};
    QLabel* Label4{nullptr};
    QRadioButton* Option1{nullptr};
    QRadioButton* Option2{nullptr};
    QRadioButton* Option3{nullptr};
    QFrame* Picture1{nullptr};
    QLabel* Image1{nullptr};
    QLabel* Image2{nullptr};
    QLabel* Image3{nullptr};
    QPushButton* Command1{nullptr};
    QPushButton* Command2{nullptr};

    // The instruction of step 1..3.
    static QString StepText(int step);

protected:
    void Form_Load() override;
    void Form_KeyUp(int& keyCode, int shift) override;
    void Form_CloseRequested() override;
    void showEvent(QShowEvent* e) override;

private:
    void ShowStep(int step);
    void Option1_Click() { ShowStep(1); }
    void Option2_Click() { ShowStep(2); }
    void Option3_Click() { ShowStep(3); }
    void Command1_Click();
    void Command2_Click();

    bool m_keysGiven{false}; // the first show has given the keys to the chosen step
};
