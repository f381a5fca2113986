#pragma once
// The start menu's items and the panels they open: one table for the menu, which opens and
// unloads the panels, and for the main window, which hides and shows the open panel with
// itself.

#include <QString>
#include <array>

struct MenuItem {
    const char* panel;  // the form opened beside the menu; empty for the exit
    qint16 activity;    // CurrentActivity while that panel is open
    const char* pinyin; // the panel's Chinese name, spoken when it opens
};

// Items 1-4 open a panel (course, assistants, settings, about); item 5 is the exit.
inline constexpr std::array<MenuItem, 6> MenuItems{{
    {"", 0, ""},
    {"Begin1", 0, "ke4 cheng2"},
    {"Begin4", 10, "zhu4 shou3"},
    {"Setting", 20, "she4 zhi4"},
    {"frmAbout", 30, "guan1 yu2"},
    {"", 0, ""},
}};
inline constexpr int ExitItem = 5;

// The panel open for CurrentActivity, or an empty name when the activity has none.
inline QString PanelOfActivity(qint16 activity)
{
    for (int item = 1; item < ExitItem; ++item)
        if (MenuItems[item].activity == activity)
            return QLatin1String(MenuItems[item].panel);
    return {};
}
