#pragma once
// The stroke-order samples beside the writing pad: one of 863 characters chosen from a list
// (or stepped with "<<" and ">>") is shown large, its stroke file is drawn point by point on
// a 30 ms timer with a stroke counter, over and over, and each round pronounces it on the
// window's own player (never over the shared player). Choosing a character also looks it up
// in the local dictionary. The window accompanies WriteCharacter: closing either closes both,
// and the pad's unload takes the learner back to the Assistants menu. Rules: SampleRules.h.

#include "DotSurface.h"

#include "StrokeFile.h"
#include "ToolWindow.h"
#include "ZoomRules.h"

class QComboBox;
class QLabel;
class QPushButton;
class Timer;
class WavePlayer;

class Samples : public ToolWindow {
    Q_OBJECT
public:
    Samples();

    // Start/Stop: "Stop" stops the drawing and empties the counter; "Start" draws again from
    // the first record with the counter at 1. Either way the drawing is cleared.
    void Command2_Click();
    // Speaks the character's first reading, unless the shared player is playing or the
    // character has no record in the character table.
    void PronounceCharacter();

protected:
    void Form_Load() override;
    void Form_Resize() override;
    // Esc: closes the writing pad, which takes this window along.
    void CloseTool() override;
    void Tool_Unload() override;
    void paintEvent(QPaintEvent* e) override;

private:
    void Combo1_Click();
    void Command1_Click();
    void Command3_Click();
    void Timer1_Timer();
    void MMControl1_Done(int notifyCode);
    // Puts the list on item index and runs the selection, as setting the list index did.
    void SetListIndex(int index);
    void ClearDrawing();

    QComboBox* Combo1{nullptr};
    QPushButton* Command1{nullptr}; // "<<"
    QPushButton* Command2{nullptr}; // "Stop" / "Start"
    QPushButton* Command3{nullptr}; // ">>"
    QLabel* Label1{nullptr};        // the character, 72 pt
    QLabel* Label2{nullptr};        // the stroke counter
    QLabel* Label3{nullptr};        // "Penstrokes:"
    Timer* Timer1{nullptr};         // 30 ms, one record per tick
    WavePlayer* MMControl1{nullptr};

    StrokeData m_strokes;        // the character's records, as read
    StrokeAnimation m_animation; // position and stroke over m_strokes
    int CharacterIndex{0};       // its CharacterTable record, 0 for none
    DotSurface m_drawing;        // the plotted points, kept until cleared
};
