#pragma once
// The course panel's rules without its window: the learner's progress as the panel reads it,
// the colours and enabled states of the step rows, the progress line and the lesson list.

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>

#include "StudyProgress.h"

inline constexpr qint16 kCourseLessons = 91;
inline constexpr qint16 kLessonSteps = 6;
// CurrentLesson once every lesson is done.
inline constexpr qint16 kAllLessonsDone = kCourseLessons + 1;

// Record 1 of Record/Study.vmq as stored: zeros where a file is missing or cut short; a
// refused file (too large, no regular file) is kept aside (KeepRefusedRecord) and gives {0, 0}.
// Reading creates no folder and no file.
StudyRecord ReadStudyRecord();

// The stored record made a frontier: lesson and step below 1 become 1; a step above 6 becomes
// step 1 of the next lesson. A lesson at or above 92 counts as all done. Any four bytes give a
// frontier without overflow (a damaged {32767, 7} is all done).
StudyRecord NormaliseStudyRecord(StudyRecord stored);

// Reads and normalises the record into State().CurrentLesson and CurrentStep.
void ReadStudyProgress();

inline bool AllLessonsDone(qint16 currentLesson) { return currentLesson >= kAllLessonsDone; }

// Lesson list item i (1..91): " i - " + title.
QString LessonListItem(int lesson, const QString& title);
QStringList LessonListItems(const QStringList& titles);

// The list index that brings back the learner's own lesson (lesson 91 once all are done).
int CurrentLessonIndex(qint16 currentLesson);

// Label3: "You are studying lesson n." or, once all are done, the line that says so.
QString ProgressLine(qint16 currentLesson);

// Row colours.
inline const QColor kRowGrey{128, 128, 128};
inline const QColor kRowRed{255, 0, 0};
inline const QColor kRowBlack{0, 0, 0};

struct RowState {
    QColor Colour;
    bool Enabled{true};
};

// The six step rows (element k is step k + 1) and the review row of a viewed lesson.
struct LessonRows {
    std::array<RowState, kLessonSteps> Steps;
    RowState Review; // the review button is always enabled
};

LessonRows RowsFor(qint16 viewedLesson, qint16 currentLesson, qint16 currentStep);

// The Command1 element that takes the focus once a lesson has been chosen: step 1 of another
// lesson, the current step of the learner's own.
int FocusAfterChoosing(qint16 viewedLesson, qint16 currentLesson, qint16 currentStep);
