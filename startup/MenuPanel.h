#pragma once
// A panel that the start menu shows beside itself: borderless, of the panels' size, Esc exits
// the program through the menu, F4 minimises it, mouse moves go on to the menu (which clears
// its hover), and the window manager's close does nothing (the menu hides and unloads panels).
// Panels draw a single thin border.

#include "Form.h"

class QLabel;

class MenuPanel : public Form {
    Q_OBJECT
public:
    static constexpr double PanelWidth = 4920;
    static constexpr double PanelHeight = 5655;

    explicit MenuPanel(const QString& formName);

protected:
    // The look of the settings and About panels: a rule drawn under the title line, and the
    // panels' own font for every control.
    void UseTitledLook();
    // The title of such a panel at its top left: 15 point, bold, in the panels' accent colour.
    QLabel* AddTitle(const QString& name, const QString& text);

    void Form_KeyDown(int& keyCode, int shift) override;
    void Form_CloseRequested() override {}
    void mouseMoveEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    bool m_titleRule{false};
};
