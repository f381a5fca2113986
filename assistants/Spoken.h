#pragma once
// The dialogue tool: six rows of Chinese and English (row 0 the computer's line, rows 1 to 5 a
// page of found opening lines or of replies), a choose and a hear button per row, the two
// roles, a search box with its history, paging, a value bar that follows the sound, Close.
// The flow itself is DialogFlow; this window shows its screen and plays through the shared
// player as sound owner 6. Close and Esc wait while a line plays; the window frame's close
// always closes (and stops the sound).

#include "ControlKit.h"
#include "DialogFlow.h"
#include "SharedPlayer.h"
#include "ToolWindow.h"

class ComboBox;
class FenPeiTiao;
class QLabel;
class QPushButton;
class QRadioButton;
class RichTextBox;
class Timer;

class Spoken : public ToolWindow, public PlayDoneReceiver {
    Q_OBJECT
public:
    Spoken();
    ~Spoken() override;

    // Play-done of sound owner 6: the dialogue moves on.
    void Common02() { m_flow->Common02(); }
    void PlayDone() override { Common02(); }
    QWidget* FirstFocus() override;

protected:
    void Form_Load() override;
    void Tool_Unload() override;
    void CloseTool() override;
    void Form_KeyDown(int& keyCode, int shift) override;

private:
    void Command3_Click();
    void Command6_Click();
    void Combo1_Click();
    void Timer1_Timer();
    void RichTextBox1_MouseUp(int index, double x, double y);
    void Render();

    Kit::ControlRow<RichTextBox> RichTextBox1{this, "RichTextBox1"}; // rows 0..5
    Kit::ControlRow<QPushButton> Command1{this, "Command1"};         // choose, rows 1..5
    Kit::ControlRow<QPushButton> Command2{this, "Command2"};         // hear, rows 0..5
    QRadioButton* Option1{nullptr}; // "First person"
    QRadioButton* Option2{nullptr}; // "Second person"
    ComboBox* Combo1{nullptr};
    QPushButton* Command3{nullptr}; // Search
    QPushButton* Command4{nullptr}; // Previous page
    QPushButton* Command5{nullptr}; // Next page
    QPushButton* Command6{nullptr}; // Close
    QLabel* Label2{nullptr};        // page label
    FenPeiTiao* FenPeiTiao1{nullptr};
    Timer* Timer1{nullptr}; // 40 ms: the value bar

    // Declared before the flow, which plays and draws through them.
    std::unique_ptr<DialogPlayer> m_player;
    std::unique_ptr<DialogRandom> m_random;
    DialogFlow* m_flow{nullptr};
    std::array<DialogRow, 6> m_shownRows; // what the row boxes hold
    std::array<bool, 6> m_rowWritten{};
};
