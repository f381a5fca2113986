#pragma once
// The start menu. Until the menu is built it stands here as a borderless window of its design
// size that Background opens; Esc (on key release) ends the program as the menu's exit item
// does, and F4 asks the main window to minimise.

#include "Form.h"

class Begin : public Form {
    Q_OBJECT
public:
    Begin();

    // The exit item: unloads the look-up windows, the main window and the menu with its panels.
    Q_INVOKABLE void Common01();

protected:
    void Form_Unload() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyUp(int& keyCode, int shift) override;
    void Form_CloseRequested() override;
};
