#include "Begin4.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "AppState.h"
#include "Background.h"
#include "Begin.h"
#include "Dictionary.h"
#include "DictionaryOnline.h"
#include "FormEvents.h"
#include "Forms.h"
#include "ToolStacks.h"
#include "Timer.h"
#include "ToolWindow.h"
#include "Twips.h"

namespace {
constexpr int kReplaceInterval = 200;
constexpr int kReplaceTimes = 3;

const QStringList PanelFont{QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Noto Sans CJK SC")};
}

Begin4::Begin4()
    : MenuPanel(QStringLiteral("Begin4"))
{
    // The panel fills the start menu's card as the other panels do: the rows keep their
    // places, the card's bottom stays white below the last one.

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
    m_replaceTimer = new Timer(this, kReplaceInterval, false);
    connect(m_replaceTimer, &Timer::Tick, this, &Begin4::ReplaceTimer_Tick);
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

    PlaceTool(row);
    tool->Show(Form::Modeless, main);
    if (second)
        second->Show(Form::Modeless, main);
    if (dictionary)
        dictionary->Show(Form::Modeless, main);
    if (online)
        online->Show(Form::Modeless, main);
    // Shown windows may have frames now: their outer sizes decide the places.
    PlaceTool(row);
    m_openStack = &row;
    m_replaceTicks = 0;
    m_replaceTimer->SetEnabled(true);
    // A window that cannot take the focus still leaves the stack shown and the menus hidden.
    QWidget* focus = tool;
    if (auto* toolWindow = qobject_cast<ToolWindow*>(tool))
        focus = toolWindow->FirstFocus();
    if (focus)
        FormEvents::GiveFocus(focus);
    HideMenus();
}

bool Begin4::PlaceTool(const ToolLauncher& row)
{
    Form* tool = Forms::Find(QLatin1String(row.Tool));
    if (!tool || tool->IsUnloading())
        return false;
    const bool pair = row.Second[0] != '\0';
    Form* second = pair ? Forms::Find(QLatin1String(row.Second)) : nullptr;
    Dictionary* dictionary = Forms::Find<Dictionary>();
    DictionaryOnline* online = Forms::Find<DictionaryOnline>();

    // Outer sizes, frames included: each window's title bar gets its own room in the column.
    // Each window at its own size, whatever the learner did to it in an earlier stack.
    const auto outer = [](const Form* f) { return f ? OuterSizeInStack(StackShapeOf(*f)) : StackOuterSize{}; };
    ToolStackSizes sizes;
    sizes.ScreenWidth = float(Twips::ScreenWidth());
    sizes.ScreenHeight = float(Twips::ScreenHeight());
    sizes.Pixel = float(Twips::PerPixelY());
    sizes.WorkTop = float(Twips::WorkAreaTop());
    sizes.ToolWidth = outer(tool).Width;
    sizes.ToolHeight = outer(tool).Height;
    sizes.DictionaryWidth = outer(dictionary).Width;
    sizes.SecondWidth = outer(second).Width;
    // The dictionary windows are measured at their own heights: they grow into the room this
    // screen leaves.
    sizes.WorkHeight = float(Twips::WorkAreaHeight());
    sizes.DictionaryHeight = outer(dictionary).Height;
    sizes.OnlineHeight = outer(online).Height;
    if (dictionary)
        sizes.DictionaryGrowth = float(Dictionary::MostGrowth);
    if (online)
        sizes.OnlineGrowth = float(DictionaryOnline::MostGrowth);
    const ToolStackPlaces at = PlaceToolStack(row, sizes);
    tool->TakeOwnShape();
    tool->Move(at.Left, at.ToolTop);
    if (pair) {
        SetStackWidth(*tool, sizes.ToolWidth, at.ToolWidth);
        if (second) {
            second->TakeOwnShape();
            second->Move(at.SecondLeft, at.ToolTop);
        }
    }
    if (dictionary) {
        dictionary->Growth.SetExtra(at.DictionaryHeight - sizes.DictionaryHeight);
        dictionary->Move(at.Left, at.DictionaryTop);
    }
    if (online) {
        online->Growth.SetExtra(at.OnlineHeight - sizes.OnlineHeight);
        online->Move(at.Left, at.OnlineTop);
    }
    return true;
}

void Begin4::ReplaceTimer_Tick()
{
    if (!m_openStack || !PlaceTool(*m_openStack) || ++m_replaceTicks >= kReplaceTimes) {
        m_replaceTimer->SetEnabled(false);
        m_openStack = nullptr;
    }
}

void Begin4::HideMenus()
{
    Hide();
    if (Begin* menu = Forms::Find<Begin>())
        menu->Hide();
}
