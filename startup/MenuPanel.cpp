#include "MenuPanel.h"

#include <QLabel>
#include <QPainter>
#include <QPalette>

#include "Background.h"
#include "Begin.h"
#include "ControlKit.h"
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

QLabel* MenuPanel::AddTitle(const QString& name, const QString& text)
{
    return Kit::Label(this, name, {240, 120, 3000, 420}, text,
        {.points = 15, .weight = QFont::Bold, .ink = QColor(0xa6, 0x1e, 0x1e)});
}

void MenuPanel::Form_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    // A panel that has just hidden itself for a tool window can hold the window system's
    // focus a moment longer: a key meant for the tool must not end the program here.
    if (!isVisible())
        return;
    if (keyCode == Keys::Escape) {
        if (Begin* menu = Forms::Find<Begin>())
            menu->Common01();
    } else {
        Background::MinimiseOnF4(keyCode);
    }
}

void MenuPanel::mouseMoveEvent(QMouseEvent* e)
{
    if (Begin* menu = Forms::Find<Begin>())
        menu->Form_MouseMove();
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
