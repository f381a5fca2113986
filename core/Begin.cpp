#include "Begin.h"

#include <QPalette>

#include "Forms.h"

Begin::Begin()
    : Form(QStringLiteral("Begin"))
{
    SetBorderless(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(250, 247, 240));
    setPalette(pal);
    SetSize(11550, 8670);
    SetKeyPreview(true);
}

void Begin::Common01()
{
    Forms::Unload(QStringLiteral("Zoom"));
    Forms::Unload(QStringLiteral("Dictionary"));
    Forms::Unload(QStringLiteral("DictionaryOnline"));
    if (Form* background = Forms::Find(QStringLiteral("Background"))) {
        background->Hide();
        background->Unload();
    }
    Unload();
}

void Begin::Form_Unload()
{
    for (const char* panel : {"Begin1", "Begin4", "Setting", "frmAbout"})
        Forms::Unload(QString::fromLatin1(panel));
}

void Begin::Form_KeyDown(int& keyCode, int)
{
    if (keyCode == Keys::F4)
        Forms::Invoke(QStringLiteral("Background"), "MinimizeProgram");
}

void Begin::Form_KeyUp(int& keyCode, int)
{
    if (keyCode == Keys::Escape)
        Common01();
}

void Begin::Form_CloseRequested()
{
    // The window manager's close exits like the menu's exit item, so no window is left behind.
    Common01();
}
