#include "MenuPanel.h"

#include <QPalette>

#include "Forms.h"

MenuPanel::MenuPanel(const QString& formName)
    : Form(formName)
{
    SetBorderless(true);
    SetKeyPreview(true);
    SetSize(PanelWidth, PanelHeight);
    setMouseTracking(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setAutoFillBackground(true);
}

void MenuPanel::Form_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    if (keyCode == Keys::Escape)
        Forms::Invoke(QStringLiteral("Begin"), "Common01");
    else if (keyCode == Keys::F4)
        Forms::Invoke(QStringLiteral("Background"), "MinimizeProgram");
}

void MenuPanel::mouseMoveEvent(QMouseEvent* e)
{
    Forms::Invoke(QStringLiteral("Begin"), "Form_MouseMove");
    Form::mouseMoveEvent(e);
}
