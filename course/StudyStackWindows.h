#pragma once
// The windows of a study stack as the course panel opens them: loading in the launcher's
// order and placing each window at the place the stack geometry gives, by the windows' outer
// (framed) sizes.

#include "StudyStacks.h"

class LessonTaskWindow;

// Sets CurrentActivity (and clears QuizOpen where the launcher does) before any window
// loads, loads the task window and its companions, labels the task window, places the stack
// and shows it owned by the main window; returns the task window (nullptr when it has no
// form). The caller hides the menus.
LessonTaskWindow* OpenStudyStackWindows(const StudyLauncher& launcher);

// Places the loaded windows of the stack on the screen by their present outer sizes; false
// when the task window is no longer loaded.
bool PlaceStudyStackWindows(const StudyLauncher& launcher);
