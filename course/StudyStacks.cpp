#include "StudyStacks.h"

#include "StackGeometry.h"

QString StudyWindowName(StudyWindow window)
{
    switch (window) {
    case StudyWindow::Notepad: return QStringLiteral("Notepad");
    case StudyWindow::Dictionary: return QStringLiteral("Dictionary");
    case StudyWindow::Text: return QStringLiteral("Text");
    case StudyWindow::WordsPanel: return QStringLiteral("WordsPanel");
    case StudyWindow::Typing: return QStringLiteral("Typing");
    case StudyWindow::Expressions_Related: return QStringLiteral("Expressions_Related");
    case StudyWindow::Vocabulary: return QStringLiteral("Vocabulary");
    case StudyWindow::Exercise3: return QStringLiteral("Exercise3");
    case StudyWindow::Result1: return QStringLiteral("Result1");
    case StudyWindow::FindSentence: return QStringLiteral("FindSentence");
    case StudyWindow::Newwords: return QStringLiteral("Newwords");
    }
    return {};
}

const QList<StudyLauncher>& StudyLaunchers()
{
    using W = StudyWindow;
    static const QList<StudyLauncher> launchers{
        {.Name = "OpenLessonText", .Button = 0, .Code = 1, .Task = W::Text,
            .Above = {W::Notepad, W::Dictionary}, .Below = {W::WordsPanel},
            .Companions = {W::WordsPanel, W::Notepad}, .ShownAfter = {W::Dictionary, W::WordsPanel, W::Notepad},
            .NotepadTakesTaskWidth = true},
        {.Name = "OpenTypingTask", .Button = 1, .Code = 2, .Task = W::Typing,
            .Above = {W::Dictionary}, .Below = {W::Expressions_Related},
            .Companions = {W::Expressions_Related}, .ShownAfter = {W::Expressions_Related, W::Dictionary}},
        {.Name = "Common02", .Button = 2, .Code = 3, .Task = W::Vocabulary,
            .Above = {W::Dictionary}, .Below = {},
            .Companions = {}, .ShownAfter = {W::Dictionary},
            .LabelEarly = true},
        {.Name = "OpenBlanksTask", .Button = 3, .Code = 4, .Task = W::Exercise3,
            .Above = {W::Dictionary}, .Below = {W::Result1},
            .Companions = {W::Result1}, .ShownAfter = {W::Dictionary, W::Result1},
            .ClearsQuizOpen = false, .LabelEarly = true},
        {.Name = "OpenFindSentenceTask", .Button = 4, .Code = 5, .Task = W::FindSentence,
            .Above = {W::Dictionary}, .Below = {},
            .Companions = {}, .ShownAfter = {W::Dictionary},
            .ClearsQuizOpen = false, .LabelEarly = true},
        {.Name = "OpenReadAloudTask", .Button = 5, .Code = 6, .Task = W::Text,
            .Above = {W::Dictionary}, .Below = {W::Expressions_Related},
            .Companions = {W::Expressions_Related}, .ShownAfter = {W::Dictionary, W::Expressions_Related},
            .Image1Background = true},
        {.Name = "OpenNewWords", .Button = 7, .Code = 8, .Task = W::Newwords,
            .Above = {W::Dictionary}, .Below = {W::Expressions_Related},
            .Companions = {W::Expressions_Related}, .ShownAfter = {W::Dictionary, W::Expressions_Related},
            .LabelEarly = true},
    };
    return launchers;
}

const StudyLauncher* LauncherForButton(int button)
{
    for (const StudyLauncher& l : StudyLaunchers())
        if (l.Button == button)
            return &l;
    return nullptr;
}

const StudyLauncher* LauncherForCode(qint16 code)
{
    for (const StudyLauncher& l : StudyLaunchers())
        if (l.Code == code)
            return &l;
    return nullptr;
}

QString LessonLabel(qint16 viewedLesson) { return QStringLiteral("Lesson %1").arg(viewedLesson); }

QMap<StudyWindow, StackWindowPlace> PlaceStudyStack(const StudyLauncher& launcher,
    const QMap<StudyWindow, StackWindowSize>& sizes, float screenWidth, float screenHeight, float pixel, float workTop,
    float workHeight)
{
    const StackWindowSize task = sizes.value(launcher.Task);
    StackRequest request;
    request.ScreenWidth = screenWidth;
    request.ScreenHeight = screenHeight;
    request.Pixel = pixel;
    request.WorkTop = workTop;
    request.WorkHeight = workHeight;
    request.TaskWidth = task.Width;
    request.TaskHeight = task.Height;
    for (StudyWindow w : launcher.Above) {
        request.Above.append(sizes.value(w).Height);
        request.AboveGrowth.append(sizes.value(w).Growth);
    }
    for (StudyWindow w : launcher.Below) {
        request.Below.append(sizes.value(w).Height);
        request.BelowGrowth.append(sizes.value(w).Growth);
    }
    const StackPlaces places = PlaceStack(request);

    QMap<StudyWindow, StackWindowPlace> result;
    const auto place = [&](StudyWindow w, float top, float height) {
        float width = sizes.value(w).Width;
        if (w == StudyWindow::Notepad && launcher.NotepadTakesTaskWidth)
            width = task.Width;
        result.insert(w, {places.Left, top, width, height});
    };
    place(launcher.Task, places.TaskTop, task.Height);
    for (qsizetype i = 0; i < launcher.Above.size(); ++i)
        place(launcher.Above[i], places.AboveTops[i], places.AboveHeights[i]);
    for (qsizetype i = 0; i < launcher.Below.size(); ++i)
        place(launcher.Below[i], places.BelowTops[i], places.BelowHeights[i]);
    return result;
}
