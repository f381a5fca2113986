#pragma once
// The seven stacks of windows the course panel's rows open, as one table, and where each
// window of a stack goes (the column geometry itself is PlaceStack in core).
//
// Opening a stack, as the panel's opener performs it from the table:
//   CurrentActivity := Code and, where ClearsQuizOpen, QuizOpen := False, before any window
//   loads (a task window's load compares CurrentActivity with CurrentStep); load the Companions
//   in order, then Task (whose load may fill a companion), labelled at once where LabelEarly,
//   else after; place and show it owned by the main window; place and show each window of
//   ShownAfter in order (Dictionary is loaded already); focus the task window; hide the panel
//   and the start menu.
// Closing the task window unloads the Companions in the same order (LessonTaskProtocol).

#include <QList>
#include <QMap>
#include <QString>

enum class StudyWindow {
    Notepad,
    Dictionary,
    Text,
    WordsPanel,
    Typing,
    Expressions_Related,
    Vocabulary,
    Exercise3,
    Result1,
    FindSentence,
    Newwords,
};

// The form name of a window of the stacks.
QString StudyWindowName(StudyWindow window);

struct StudyLauncher {
    const char* Name;       // the panel's procedure that opens this stack
    int Button;             // the row's Command1 element
    qint16 Code;            // CurrentActivity while the stack is open
    StudyWindow Task;
    QList<StudyWindow> Above;      // top to bottom; Dictionary always directly above the task
    QList<StudyWindow> Below;      // top to bottom
    QList<StudyWindow> Companions; // loaded before the task window, unloaded when it closes
    QList<StudyWindow> ShownAfter; // shown after the task window, in this order
    bool ClearsQuizOpen{true};     // the quizzes set QuizOpen themselves
    bool LabelEarly{false};        // the lesson label is set right after loading the task window
    bool Image1Background{false};  // the text window of step 6 shows its Image1 as background
    bool NotepadTakesTaskWidth{false};
};

// The seven launchers, in row order.
const QList<StudyLauncher>& StudyLaunchers();
// The launcher of a Command1 element, or nullptr (element 6 and any other index open nothing).
const StudyLauncher* LauncherForButton(int button);
// The launcher whose stack has this CurrentActivity code, or nullptr.
const StudyLauncher* LauncherForCode(qint16 code);

// The task window's lesson label: "Lesson " + the viewed lesson.
QString LessonLabel(qint16 viewedLesson);

// Sizes of a stack's windows (outer twips) and the place each gets.
struct StackWindowSize {
    float Width{0};
    float Height{0};
    float Growth{0}; // the most the window grows where the work area has room (above or below the task)
};
struct StackWindowPlace {
    float Left{0};
    float Top{0};
    float Width{0};  // changed only for the notepad, which takes the text window's width
    float Height{0}; // changed only for a window that grows
};

// Every window of the launcher's stack placed on a screen (twips; pixel: vertical twips per
// pixel; workTop and workHeight: the work area's top and height, into which the windows that
// may grow do, as PlaceStack says). sizes must hold every window of the stack.
QMap<StudyWindow, StackWindowPlace> PlaceStudyStack(const StudyLauncher& launcher,
    const QMap<StudyWindow, StackWindowSize>& sizes, float screenWidth, float screenHeight, float pixel,
    float workTop = 0, float workHeight = 0);
