#pragma once
// The start menu: a borderless window whose face carries five items (course, assistants,
// settings, about, exit). It runs the start-up after the main window (the loading window,
// then the dictionary windows, then the course panel), opens one panel at a time beside
// itself and speaks its Chinese name, and owns the orderly exit of the whole program.
//
// Who calls whom: the loading window's unload enables Timer2; the panels (Begin1, Begin4,
// Setting, frmAbout, all MenuPanels) call Common01 on Esc and Form_MouseMove on their mouse
// moves; the main window's close calls ExitProgram.

#include <QPixmap>

#include "ControlKit.h"
#include "Form.h"
#include "MenuArt.h"

class QLabel;
class Timer;

class Begin : public Form {
    Q_OBJECT
public:
    Begin();

    // The menu's pictures for this screen, drawn once (the main window has them drawn early).
    static const MenuArt::Pictures& PrepareArt();
    // Starts drawing them on a worker thread, for PrepareArt to take when the menu is built.
    static void PrepareArtAhead();

    // Chooses the exit item: ends the program (a panel's Esc).
    virtual void Common01();
    // Clears the hover artwork (the selected item keeps its own). The panels forward their
    // mouse moves here.
    virtual void Form_MouseMove();
    // The dispatcher of the five items.
    void Image3_Click(int index);
    // The exit in its written order, also while the program is still starting: the window
    // manager's close of the menu or of the main window ends the program this way.
    void ExitProgram();

    // The item whose hover artwork is shown (0 none) and the item whose panel is open.
    qint16 HoverItem{0};
    qint16 SelectedItem{0};

    // Where every panel and the loading window lie: beside the items, inside the menu.
    static constexpr double PanelOffsetLeft = 6472;
    static constexpr double PanelOffsetTop = 2220;

    // 200 ms: the course panel after the loading window (which enables it as it unloads).
    Timer* Timer2{nullptr};

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_KeyUp(int& keyCode, int shift) override;
    void Form_CloseRequested() override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void Timer1_Timer();
    void Timer2_Timer();
    void Image3_MouseMove(int index);
    void MinimizeProgram();
    void PlacePanel(Form* panel) const;

    // Controls, indexed 1..5 as the form's control arrays.
    Kit::ControlRow<QLabel> Image3{this, "Image3"}; // the items
    Kit::ControlRow<QLabel> Image1{this, "Image1"}; // hover pictures (hidden holders)
    Kit::ControlRow<QLabel> Image2{this, "Image2"}; // selected pictures, 1..4 (hidden holders)
    QLabel* Image4{nullptr};
    Timer* Timer1{nullptr};

};
