#include "ToolStacks.h"

#include "StackGeometry.h"

const QList<ToolLauncher>& ToolLaunchers()
{
    static const QList<ToolLauncher> rows{
        {1, "Command7", 1, "Chinese phonetic symbols", 1110, 1080, false, 11, "Alphabet1", "", false},
        {2, "Command1", 3, "Numbers", 1560, 1530, false, 12, "Figure", "", true},
        {3, "Command2", 4, "Everyday Chinese and Search Engine", 2010, 1980, false, 13, "SentencesSingle", "", true},
        {4, "Command4", 5, "Dialogs", 2460, 2430, false, 14, "Spoken", "", true},
        {5, "Command3", 0, "Chinese surnames", 2940, 2910, false, 15, "Surname", "", true},
        {6, "Command5", 6, "Intensive spoken training online", 3420, 3390, true, 16, "Chat", "", true},
        {7, "Command6", 7, "Writing Chinese characters", 3900, 3870, false, 17, "WriteCharacter", "Samples", true},
        {8, "Command8", 8, "Chinese Reading Helper", 4400, 4350, false, 18, "ReadingHelper", "", true},
    };
    return rows;
}

const ToolLauncher* ToolLauncherForButton(const QString& button)
{
    for (const ToolLauncher& row : ToolLaunchers())
        if (button == QLatin1String(row.Button))
            return &row;
    return nullptr;
}

ToolStackPlaces PlaceToolStack(const ToolLauncher& row, const ToolStackSizes& sizes)
{
    const bool pair = row.Second[0] != '\0';
    StackRequest request;
    request.ScreenWidth = sizes.ScreenWidth;
    request.ScreenHeight = sizes.ScreenHeight;
    request.Pixel = sizes.Pixel;
    request.TaskWidth = sizes.ToolWidth;
    request.TaskHeight = sizes.ToolHeight;
    if (pair)
        request.CentringWidth = sizes.DictionaryWidth;
    request.Above = {sizes.DictionaryHeight};
    request.Below = {sizes.OnlineHeight};
    request.AboveGrowth = {sizes.DictionaryGrowth};
    request.BelowGrowth = {sizes.OnlineGrowth};
    request.Raised = row.Raised;
    request.WorkTop = sizes.WorkTop;
    request.WorkHeight = sizes.WorkHeight;
    const StackPlaces stack = PlaceStack(request);

    ToolStackPlaces places;
    places.Left = stack.Left;
    places.ToolTop = stack.TaskTop;
    places.DictionaryTop = stack.AboveTops[0];
    places.OnlineTop = stack.BelowTops[0];
    places.DictionaryHeight = stack.AboveHeights[0];
    places.OnlineHeight = stack.BelowHeights[0];
    places.ToolWidth = pair ? sizes.DictionaryWidth - sizes.SecondWidth : sizes.ToolWidth;
    places.SecondLeft = pair ? places.Left + places.ToolWidth : 0;
    return places;
}
