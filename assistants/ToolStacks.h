#pragma once
// The Assistants menu's eight rows and the stack each row's "Open" button builds: the tool
// window between the local dictionary (above) and the on-line dictionary (below), one pixel
// apart, as one table, and where each window of a stack goes. The column arithmetic itself is
// PlaceStack (core), shared with the course's stacks.
//
// Opening a tool, as Begin4 performs it from the table: CurrentActivity := Code and
// QuizOpen := False before the tool loads; load Tool (then Second); place the tool and show
// it owned by the main window; place and show Dictionary, then DictionaryOnline; focus the
// tool (its FirstFocus); hide the Assistants menu and the start menu.

#include <QList>
#include <QString>

struct ToolLauncher {
    int Row;              // 1..8, top to bottom
    const char* Button;   // the row's "Open" button
    int LabelIndex;       // the row's Label1 element
    const char* Caption;
    double LabelTop;      // twips
    double ButtonTop;     // twips
    bool Red;             // the row's caption in red
    qint16 Code;          // CurrentActivity while the tool is open
    const char* Tool;     // the window placed in the stack
    const char* Second;   // the window beside it (the samples beside the writing pad), or ""
    bool Raised;          // the stack 260 twips above the centre (all but the alphabet)
};

// The eight rows, top to bottom.
const QList<ToolLauncher>& ToolLaunchers();
// The row opened by that button ("Command7"), or nullptr.
const ToolLauncher* ToolLauncherForButton(const QString& button);

// The sizes a stack is computed from, read anew at every opening (twips; pixel: the screen's
// vertical twips per pixel).
struct ToolStackSizes {
    float ScreenWidth{0};
    float ScreenHeight{0};
    float Pixel{15};
    float ToolWidth{0};
    float ToolHeight{0};
    float DictionaryWidth{0};
    float DictionaryHeight{0};
    float OnlineHeight{0};
    float SecondWidth{0}; // the window beside the tool, when the row has one
    float WorkTop{0};     // the work area's top
    // The most each dictionary window grows, and the work area's height it grows into.
    float DictionaryGrowth{0};
    float OnlineGrowth{0};
    float WorkHeight{0};
};

struct ToolStackPlaces {
    float Left{0};      // the tool and both dictionary windows
    float ToolTop{0};   // the second window's top too
    float ToolWidth{0}; // changed only where the pair shares the dictionary's width
    float SecondLeft{0};
    float DictionaryTop{0};
    float OnlineTop{0};
    float DictionaryHeight{0}; // the heights the dictionary windows take, grown where they may
    float OnlineHeight{0};
};

// Where the windows of a row's stack go. The tool is centred across the screen and the three
// heights (without the gaps) down it; a row with a second window centres the dictionary's
// width instead and gives the tool that width less the second window's, the second window
// standing at the tool's right edge. A stack reaching above the work area's top comes down
// until its dictionary's frame is inside; nothing else is clamped to the screen. The
// dictionary windows grow into the room a tall work area leaves, as PlaceStack says.
ToolStackPlaces PlaceToolStack(const ToolLauncher& row, const ToolStackSizes& sizes);
