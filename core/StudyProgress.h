#pragma once
// The learner's frontier: State().CurrentLesson (1..91, 92 when every lesson is done) and
// State().CurrentStep (1..6), kept in Record/Study.vmq as one StudyRecord.

#include <QString>
#include <QtGlobal>

// Record/Study.vmq: record 1, 4 bytes, little-endian.
struct StudyRecord {
    qint16 Lesson{0};
    qint16 Step{0};
};
inline constexpr int kStudyRecordSize = 4;

// Offered to later folders: the course panel (Begin1) implements this and registers itself
// while it is loaded (RegisterProgressView in Form_Load, UnregisterProgressView in
// Form_Unload). CompleteLessonStep is its only caller.
class ProgressView {
public:
    // Label3: the line that names the lesson just finished (called when a lesson is done,
    // before the frontier moves to the next lesson).
    virtual void SetLabel3(const QString& text) = 0;
    // Common07: redraws the step rows from CurrentLesson and CurrentStep (called after every
    // step, once the record is saved or its warning shown).
    virtual void Common07() = 0;

protected:
    ~ProgressView() = default;
};

void RegisterProgressView(ProgressView* view);
void UnregisterProgressView(ProgressView* view);

// Moves the frontier one step on; after step 6 the lesson is done (a congratulation after
// lesson 91, and the progress view's Label3 names the finished lesson).
// Then saves the record and has the progress view redraw its step rows (Common07).
// Callers call it only when the task just finished is the frontier task.
// A record that cannot be saved shows the disk-write warning; the frontier in memory is
// advanced and the panel refreshed all the same, and the previous file stays intact.
void CompleteLessonStep();
