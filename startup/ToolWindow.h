#pragma once
// The base of every assistant tool window (the pinyin alphabet, numbers, everyday sentences,
// dialogues, surnames, chat, writing pad and samples, reading helper). The Assistants menu
// loads a tool, stacks it between the two dictionary windows and hides itself and the start
// menu; the base gives every tool the rest of that contract:
//   - Esc closes the tool (CloseTool: an unload unless the tool refuses) when the key is
//     released: the close shows the start menu again, which ends the program on Esc's release,
//     and a key pressed in the tool must not end there. F4 minimises the whole program;
//   - unloading a tool runs the tool's own Tool_Unload first, then the return to the menu:
//     CurrentActivity := 10, both dictionary windows hidden, the start menu and the
//     Assistants menu shown again (ReturnToAssistants).
// A companion window (the stroke samples beside the writing pad) takes the keys but leaves
// the return to the window it accompanies.

#include "Form.h"

class ToolWindow : public Form {
    Q_OBJECT
public:
    enum class Role { Tool, Companion };

    // Where the Assistants menu puts the focus once the stack is shown: the window itself
    // unless a tool names one of its controls.
    virtual QWidget* FirstFocus() { return this; }

    // CurrentActivity := 10; Dictionary and DictionaryOnline hidden; Begin and Begin4 shown.
    // The focus is not moved to any of the menus' rows.
    static void ReturnToAssistants();

protected:
    // width and height: the tool's fixed size in twips; the menu's stack arithmetic reads it.
    ToolWindow(const QString& formName, double width, double height, Role role = Role::Tool);

    // Esc and the tool's own Close button: unloads the window. Tools that may not close at
    // some moment (a line still playing) override it and refuse.
    virtual void CloseTool();
    // What the tool's own unload does before the return to the menu (stop its sound, save).
    virtual void Tool_Unload() {}

    // F4 minimises. A tool overriding it calls this for the other keys.
    void Form_KeyDown(int& keyCode, int shift) override;
    // Esc closes. A tool overriding it calls this for the other keys.
    void Form_KeyUp(int& keyCode, int shift) override;
    void Form_Unload() final;

private:
    Role m_role;
};
