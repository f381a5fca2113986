#pragma once
// The learner's frontier: State().CurrentLesson (1..91, 92 when every lesson is done) and
// State().CurrentStep (1..6), kept in Record/Study.vmq as one StudyRecord.

#include <QtGlobal>

// Record/Study.vmq: record 1, 4 bytes, little-endian.
struct StudyRecord {
    qint16 Lesson{0};
    qint16 Step{0};
};
inline constexpr int kStudyRecordSize = 4;

// Moves the frontier one step on; after step 6 the lesson is done (a congratulation after
// lesson 91, and Begin1's Label3 names the finished lesson when the course panel is loaded).
// Then saves the record and has Begin1 redraw its step rows (Common07) when it is loaded.
// Callers call it only when the task just finished is the frontier task.
// A record that cannot be saved shows the disk-write warning; the frontier in memory is
// advanced and the panel refreshed all the same, and the previous file stays intact.
void CompleteLessonStep();
