#include "CourseProgress.h"

#include <QtEndian>
#include <algorithm>

#include "AppState.h"
#include "RecordFolder.h"
#include "SafeFile.h"

StudyRecord ReadStudyRecord()
{
    // Opened for reading only, so that a read-only installation opens the panel at the start
    // instead of failing, and reading never leaves a folder or an empty record behind. A record
    // cut short reads as zeros where it ends, as the writer's own reading does.
    const QByteArray bytes = ReadRecordOf(RecordPath(QStringLiteral("Study.vmq")), kStudyRecordSize, 1);
    return {qFromLittleEndian<qint16>(bytes.constData()), qFromLittleEndian<qint16>(bytes.constData() + 2)};
}

StudyRecord NormaliseStudyRecord(StudyRecord stored)
{
    StudyRecord r = stored;
    if (r.Lesson < 1)
        r.Lesson = 1;
    if (r.Step < 1) {
        r.Step = 1;
    } else if (r.Step > kLessonSteps) {
        r.Step = 1;
        // A damaged lesson number may already be the largest the record holds; it stays all done.
        r.Lesson = static_cast<qint16>(std::min<int>(r.Lesson + 1, 32767));
    }
    return r;
}

void ReadStudyProgress()
{
    const StudyRecord r = NormaliseStudyRecord(ReadStudyRecord());
    State().CurrentLesson = r.Lesson;
    State().CurrentStep = r.Step;
}

QString LessonListItem(int lesson, const QString& title)
{
    return QStringLiteral(" %1 - ").arg(lesson) + title;
}

QStringList LessonListItems(const QStringList& titles)
{
    QStringList items;
    for (int i = 1; i <= kCourseLessons; ++i)
        items.append(LessonListItem(i, titles.value(i - 1)));
    return items;
}

int CurrentLessonIndex(qint16 currentLesson)
{
    return AllLessonsDone(currentLesson) ? kCourseLessons - 1 : currentLesson - 1;
}

QString ProgressLine(qint16 currentLesson)
{
    if (AllLessonsDone(currentLesson))
        return QStringLiteral("You have finished studying all the lessons.");
    return QStringLiteral("You are studying lesson %1.").arg(currentLesson);
}

LessonRows RowsFor(qint16 viewedLesson, qint16 currentLesson, qint16 currentStep)
{
    LessonRows rows;
    rows.Review = {kRowBlack, true};
    for (int k = 0; k < kLessonSteps; ++k) {
        const int step = k + 1;
        RowState& row = rows.Steps[static_cast<size_t>(k)];
        if (viewedLesson < currentLesson)
            row = {kRowGrey, true};
        else if (viewedLesson > currentLesson)
            row = {kRowBlack, step == 1};
        else if (step < currentStep)
            row = {kRowGrey, true};
        else if (step == currentStep)
            row = {kRowRed, true};
        else
            row = {kRowBlack, false};
    }
    if (viewedLesson < currentLesson)
        rows.Review.Colour = kRowGrey;
    return rows;
}

int FocusAfterChoosing(qint16 viewedLesson, qint16 currentLesson, qint16 currentStep)
{
    return viewedLesson == currentLesson ? currentStep - 1 : 0;
}
