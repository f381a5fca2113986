#include "MenuPanel.h"

#include <QPainter>
#include <QPalette>

#include "Forms.h"
#include "Twips.h"

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

void MenuPanel::UseTitledLook()
{
    m_titleRule = true;
    QFont panelFont(QStringLiteral("Noto Sans CJK SC"));
    panelFont.setPointSize(9);
    setFont(panelFont);
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

void MenuPanel::paintEvent(QPaintEvent* e)
{
    Form::paintEvent(e);
    QPainter p(this);
    p.setPen(QColor(0xc9, 0xb2, 0x86));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_titleRule) {
        p.setPen(QPen(QColor(0xe4, 0xbe, 0x62), 1.5));
        const int y = Twips::ToPixelsY(570);
        p.drawLine(Twips::ToPixelsX(240), y, width() - Twips::ToPixelsX(240), y);
    }
}
