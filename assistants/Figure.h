#pragma once
// The number reader "Numbers": the learner types or picks a cardinal number, an ordinal, a
// percentage or a telephone number and presses "Text to Speech"; the reading appears as one
// clickable label per syllable (Label5 clones) and is spoken through the shared player, the
// sounding label red. Clicking a label looks its character up in the dictionaries. The
// cardinal and telephone inputs keep a history in the Record folder.
//
// The rules are widget-free: NumberReading (the codes), NumberInput (checks and deferred list
// readings), NumberBoard (labels, colours, the queue), NumberHistory (the two files).

#include <QString>

#include "ControlKit.h"
#include "NumberBoard.h"
#include "NumberHistory.h"
#include "NumberReading.h"
#include "SharedPlayer.h"
#include "ToolWindow.h"

class ComboBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class ReadingDeferrals;

class Figure : public ToolWindow, public PlayDoneReceiver {
    Q_OBJECT
public:
    Figure();

    // The shared player's end of a number sound (owner 16): the next code is spoken.
    void PlayDone() override { Play1(); }
    void Play1();
    // Shows the labels of codes and speaks them.
    void ShowAndSpeak(const QString& codes);
    // Writes the histories that changed.
    void SaveNumberLists();

    QLabel* Label1{nullptr};
    QLabel* Label2{nullptr};
    QLabel* Label3{nullptr};
    QLabel* Label4{nullptr};
    QLabel* Label6{nullptr};
    QLabel* Label7{nullptr};
    QLabel* Label8{nullptr};
    QLabel* Label13{nullptr};
    ComboBox* Combo2{nullptr};
    QComboBox* Combo3{nullptr};
    QComboBox* Combo6{nullptr};
    ComboBox* Combo12{nullptr};
    QPushButton* Command1{nullptr};
    QFrame* Shape1{nullptr};
    Kit::ControlRow<QPushButton> Command2{this, "Command2"}; // "Text to Speech", by mode
    Kit::ControlRow<QPushButton> Command3{this, "Command3"}; // "Clear": 0 cardinal, 5 telephone
    Kit::ControlRow<QLabel> Label5{this, "Label5"};          // 0 the template, 1..n the syllables

protected:
    void Form_Load() override;
    void Tool_Unload() override;

private:
    void Command1_Click() { CloseTool(); }
    void Command2_Click(int index);
    void Command3_Click(int index);
    void Label5_Click(int index);
    void Picked(NumberReader::Mode mode);

    // Brings the Label5 clones in line with the board: new ones for a new set of labels,
    // and every label's colour.
    void ShowBoard();

    ReadingDeferrals* m_deferrals{nullptr}; // Timer1 .. Timer4
    NumberBoard m_board;
    NumberHistory m_cardinal{QStringLiteral("cardinal.txt")};
    NumberHistory m_telephone{QStringLiteral("telephone.txt")};
    int m_shownGeneration{-1};
    int m_cloneCount{0};
};
