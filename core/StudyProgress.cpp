#include "StudyProgress.h"

#include <QtEndian>

#include "AppState.h"
#include "MsgBox.h"
#include "RecordFolder.h"
#include "SafeFile.h"
#include "WindowHook.h"

namespace {
constexpr qint16 kLessonCount = 91;
constexpr qint16 kStepCount = 6;

WindowHook<ProgressView>& View()
{
    static WindowHook<ProgressView> view;
    return view;
}

bool SaveStudyRecord(const StudyRecord& record)
{
    EnsureRecordFolder();
    char bytes[kStudyRecordSize];
    qToLittleEndian<qint16>(record.Lesson, bytes);
    qToLittleEndian<qint16>(record.Step, bytes + 2);
    return SafeFile::WriteRecord(RecordPath(QStringLiteral("Study.vmq")), kStudyRecordSize, 1,
        QByteArray(bytes, kStudyRecordSize));
}
} // namespace

void RegisterProgressView(ProgressView* view) { View().Set(view); }

void UnregisterProgressView(ProgressView* view) { View().Clear(view); }

void CompleteLessonStep()
{
    AppState& s = State();
    ++s.CurrentStep;
    if (s.CurrentStep > kStepCount) {
        if (s.CurrentLesson == kLessonCount)
            MsgBox::Notice(QStringLiteral("Congratulations! You have finished studying all the %1 lessons.")
                               .arg(kLessonCount));
        if (ProgressView* view = View().Get())
            view->SetLabel3(QStringLiteral("You have finished studying lesson %1.").arg(s.CurrentLesson));
        ++s.CurrentLesson;
        s.CurrentStep = 1;
    }
    if (!SaveStudyRecord({s.CurrentLesson, s.CurrentStep}))
        ShowDiskWriteWarning(RecordFolder(), SafeFile::WriteFailure());
    if (ProgressView* view = View().Get())
        view->Common07();
}
