#include "ToolWindow.h"

#include "AppState.h"
#include "Background.h"
#include "Begin.h"
#include "FormEvents.h"
#include "Forms.h"
#include "MenuItems.h"

namespace {
constexpr qint16 AssistantsActivity = 10;
}

ToolWindow::ToolWindow(const QString& formName, double width, double height, Role role)
    : Form(formName)
    , m_role(role)
{
    SetSize(width, height);
    SetKeyPreview(true);
}

void ToolWindow::CloseTool() { Unload(); }

void ToolWindow::Form_KeyDown(int& keyCode, int shift)
{
    (void)shift;
    Background::MinimiseOnF4(keyCode);
}

void ToolWindow::Form_KeyUp(int& keyCode, int shift)
{
    (void)shift;
    if (keyCode == Keys::Escape)
        CloseTool();
}

void ToolWindow::Form_Unload()
{
    Tool_Unload();
    if (m_role == Role::Tool)
        ReturnToAssistants();
}

void ToolWindow::ReturnToAssistants()
{
    State().CurrentActivity = AssistantsActivity;
    // The dictionary windows live in a later folder: only what every form offers is used.
    for (const char* name : {"Dictionary", "DictionaryOnline"})
        if (Form* window = Forms::Find(QLatin1String(name)))
            window->Hide();
    if (Begin* menu = Forms::Find<Begin>())
        menu->Show();
    // The panel takes the activation back (its rows keep no focus): otherwise the window
    // manager hands it to the full-screen main window, where Esc and F4 reach nobody.
    if (Form* panel = Forms::Find(PanelOfActivity(AssistantsActivity))) {
        panel->Show();
        FormEvents::Activate(panel);
    }
}
