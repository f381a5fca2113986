#include "ToolPlaceholder.h"

#include <QLabel>
#include <QPushButton>

#include "ControlKit.h"
#include "Forms.h"
#include "Twips.h"

namespace {

struct PlaceholderSpec {
    const char* name;
    double width;
    double height;
    const char* partner;
    ToolWindow::Role role;
};

// The tools' own sizes (twips), which the stack arithmetic depends on.
constexpr PlaceholderSpec Placeholders[] = {
    {"Chat", 11550, 6600, "", ToolWindow::Role::Tool},
    {"WriteCharacter", 7725, 6375, "Samples", ToolWindow::Role::Tool},
    {"Samples", 3900, 6375, "WriteCharacter", ToolWindow::Role::Companion},
    {"ReadingHelper", 11550, 6600, "", ToolWindow::Role::Tool},
};

} // namespace

ToolPlaceholder::ToolPlaceholder(const QString& formName, double width, double height, const QString& partner,
    Role role)
    : ToolWindow(formName, width, height, role)
    , m_partner(partner)
{
    SetCaption(formName);
    Kit::Label(this, QStringLiteral("Label1"), {300, 300, width - 600, 400}, formName, {.points = 12});
    m_close = Kit::Button(this, QStringLiteral("Command1"), {width - 1500, height - 700, 1200, 400},
        QStringLiteral("Close"));
    connect(m_close, &QPushButton::clicked, this, &ToolPlaceholder::CloseTool);
}

void ToolPlaceholder::Form_Resize()
{
    // The writing pad is narrowed to share the dictionary's width with the samples.
    if (m_close)
        Twips::Place(m_close, Width() - 1500, Height() - 700, 1200, 400);
}

void ToolPlaceholder::CloseTool()
{
    // The samples close by closing the writing pad, which takes them along.
    if (Form* partner = Forms::Find(m_partner); partner && m_partner == QLatin1String("WriteCharacter"))
        partner->Unload();
    else
        ToolWindow::CloseTool();
}

void ToolPlaceholder::Tool_Unload()
{
    if (m_partner == QLatin1String("Samples"))
        Forms::Unload(m_partner);
}

void RegisterToolPlaceholders()
{
    for (const PlaceholderSpec& p : Placeholders) {
        const QString name = QLatin1String(p.name);
        if (Forms::HasFactory(name))
            continue;
        Forms::RegisterFactory(name, [=] {
            return new ToolPlaceholder(name, p.width, p.height, QLatin1String(p.partner), p.role);
        });
    }
}
