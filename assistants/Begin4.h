#pragma once
// The Assistants menu: the panel beside the start menu that lists the eight assistant tools,
// a caption and an "Open" button each. A button opens its tool as a stack centred on the
// screen (ToolStacks: the local dictionary above, the on-line dictionary below) and hides
// this panel and the start menu; the tool's unload shows them again (ToolWindow).
// Esc ends the program, F4 minimises it, mouse moves go on to the start menu (MenuPanel).

#include "ControlKit.h"
#include "MenuPanel.h"

class QLabel;
class Timer;
struct ToolLauncher;

class Begin4 : public MenuPanel {
    Q_OBJECT
public:
    Begin4();

private:
    // Opens the row's tool stack (the launchers Command1_Click ... Command8_Click).
    void OpenTool(const ToolLauncher& row);
    // Places the row's stack by the windows' outer sizes; false when its tool is not loaded.
    bool PlaceTool(const ToolLauncher& row);
    // The window manager adds the frames after the windows are shown: the stack is placed
    // again a few times, as the course panel does for its stacks.
    void ReplaceTimer_Tick();
    void HideMenus();

    Kit::ControlRow<QLabel> Label1{this, "Label1"}; // 2 the title, the rows' captions
    Timer* m_replaceTimer{nullptr};
    const ToolLauncher* m_openStack{nullptr};
    int m_replaceTicks{0};
};
