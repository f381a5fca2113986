#include "StudyProgress.h"

#include <QLabel>
#include <QtEndian>

#include "AppState.h"
#include "Forms.h"
#include "MsgBox.h"
#include "RecordFolder.h"
#include "SafeFile.h"

namespace {
constexpr qint16 kLessonCount = 91;
constexpr qint16 kStepCount = 6;

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

void CompleteLessonStep()
{
    AppState& s = State();
    ++s.CurrentStep;
    if (s.CurrentStep > kStepCount) {
        if (s.CurrentLesson == kLessonCount)
            MsgBox::Notice(QStringLiteral("Congratulations! You have finished studying all the %1 lessons.")
                               .arg(kLessonCount));
        if (QLabel* label = Forms::Control<QLabel>(QStringLiteral("Begin1"), QStringLiteral("Label3")))
            label->setText(QStringLiteral("You have finished studying lesson %1.").arg(s.CurrentLesson));
        ++s.CurrentLesson;
        s.CurrentStep = 1;
    }
    if (!SaveStudyRecord({s.CurrentLesson, s.CurrentStep}))
        ShowDiskWriteWarning(RecordFolder());
    Forms::Invoke(QStringLiteral("Begin1"), "Common07");
}
