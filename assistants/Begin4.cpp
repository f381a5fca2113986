#include "Begin4.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "AppState.h"
#include "Background.h"
#include "Begin.h"
#include "Dictionary.h"
#include "DictionaryOnline.h"
#include "Forms.h"
#include "ToolStacks.h"
#include "ToolWindow.h"
#include "Twips.h"

namespace {
const QStringList PanelFont{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")};
}

Begin4::Begin4()
    : MenuPanel(QStringLiteral("Begin4"))
{
    SetCaption(QStringLiteral("Begin4"));
    SetSize(ClientWidth, ClientHeight);

    Label1.Add(2, Kit::Label(this, Label1.Name(2), {420, 420, 0, 0}, QStringLiteral("Assistants"),
                      {.font = PanelFont, .points = 12, .ink = palette().color(QPalette::WindowText)}));
    for (const ToolLauncher& row : ToolLaunchers()) {
        Label1.Add(row.LabelIndex, Kit::Label(this, Label1.Name(row.LabelIndex), {420, row.LabelTop, 0, 0},
                                       QLatin1String(row.Caption),
                                       {.font = PanelFont, .points = 8.25, .ink = row.Red ? QColor(Qt::red) : QColor(Qt::black)}));
        QPushButton* open = Kit::Button(this, QLatin1String(row.Button), {3450, row.ButtonTop, 975, 285},
            QStringLiteral("Open"), {.font = PanelFont, .points = 8.25});
        const ToolLauncher* launcher = &row;
        connect(open, &QPushButton::clicked, this, [this, launcher] { OpenTool(*launcher); });
    }
}

void Begin4::OpenTool(const ToolLauncher& row)
{
    AppState& s = State();
    s.CurrentActivity = row.Code;
    s.QuizOpen = 0;
    Form* tool = Forms::Load(QLatin1String(row.Tool));
    if (!tool)
        return;
    const bool pair = row.Second[0] != '\0';
    Form* second = pair ? Forms::Load(QLatin1String(row.Second)) : nullptr;
    Dictionary* dictionary = Forms::Find<Dictionary>();
    DictionaryOnline* online = Forms::Find<DictionaryOnline>();
    Background* main = Forms::Find<Background>();

    ToolStackSizes sizes;
    sizes.ScreenWidth = float(Twips::ScreenWidth());
    sizes.ScreenHeight = float(Twips::ScreenHeight());
    sizes.Pixel = float(Twips::PerPixelY());
    sizes.ToolWidth = float(tool->Width());
    sizes.ToolHeight = float(tool->Height());
    sizes.DictionaryWidth = dictionary ? float(dictionary->Width()) : 0;
    sizes.DictionaryHeight = dictionary ? float(dictionary->Height()) : 0;
    sizes.OnlineHeight = online ? float(online->Height()) : 0;
    sizes.SecondWidth = second ? float(second->Width()) : 0;
    const ToolStackPlaces at = PlaceToolStack(row, sizes);

    if (pair) {
        tool->Move(at.Left, at.ToolTop);
        tool->SetSize(at.ToolWidth, tool->Height());
        if (second)
            second->Move(at.SecondLeft, at.ToolTop);
        if (dictionary)
            dictionary->Move(at.Left, at.DictionaryTop);
        tool->Show(Form::Modeless, main);
        if (second)
            second->Show(Form::Modeless, main);
        if (dictionary)
            dictionary->Show(Form::Modeless, main);
    } else {
        tool->Move(at.Left, at.ToolTop);
        tool->Show(Form::Modeless, main);
        if (dictionary) {
            dictionary->Move(at.Left, at.DictionaryTop);
            dictionary->Show(Form::Modeless, main);
        }
    }
    if (online) {
        online->Move(at.Left, at.OnlineTop);
        online->Show(Form::Modeless, main);
    }
    // A window that cannot take the focus still leaves the stack shown and the menus hidden.
    QWidget* focus = tool;
    if (auto* toolWindow = qobject_cast<ToolWindow*>(tool))
        focus = toolWindow->FirstFocus();
    if (focus) {
        focus->activateWindow();
        focus->setFocus();
    }
    HideMenus();
}

void Begin4::HideMenus()
{
    Hide();
    if (Begin* menu = Forms::Find<Begin>())
        menu->Hide();
}
