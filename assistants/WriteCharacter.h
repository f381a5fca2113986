#pragma once
// The writing pad beside the stroke-order samples: the learner writes with the mouse, a dot
// at every point the pointer passes while the left button is held (no lines between them,
// so fast moves leave gaps); any other button clears the pad. The dots stay until then: they
// are kept on the window, never stored. "Close" and Esc close the pad, which closes the
// samples too and takes the learner back to the Assistants menu.

#include "DotSurface.h"

#include "ToolWindow.h"

class QLabel;
class QPushButton;

class WriteCharacter : public ToolWindow {
    Q_OBJECT
public:
    WriteCharacter();

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Tool_Unload() override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void Command1_Click();
    void Plot(QPoint at);
    void ClearPad();

    QPushButton* Command1{nullptr}; // "Close"
    QLabel* Label1{nullptr};
    QLabel* Label2{nullptr};
    QLabel* Label3{nullptr};
    bool PenDown{false};
    DotSurface m_drawing;
};
