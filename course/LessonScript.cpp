#include "LessonScript.h"

#include <QFileInfo>

#include "AppState.h"
#include "BlankTrim.h"
#include "CodedFile.h"

namespace {
QString ScriptPath(qint16 lesson, const char* file)
{
    return State().AppPath + QStringLiteral("Lessons/Script/Lesson_%1/").arg(lesson) + QLatin1String(file);
}

void ClearLineBuffer()
{
    State().LineBuffer.clear();
    State().LineCount = 0;
}

void LoadWords(const QString& path)
{
    AppState& s = State();
    if (!QFileInfo::exists(path))
        return;
    ReadCodedLines(path, QStringLiteral("RW"), 0);
    const QStringList& lines = s.LineBuffer;
    const qint16 count = static_cast<qint16>(lines.size() / 3);
    for (int i = 0; i < count; ++i) {
        s.LessonWords[0].append(BlankTrim(lines[3 * i + 1]));
        s.LessonWords[1].append(BlankTrim(lines[3 * i + 2]));
        s.LessonWords[2].append(BlankTrim(lines[3 * i]));
    }
    s.LessonWordCount = count;
    ClearLineBuffer();
}

void LoadLines(const QString& path)
{
    AppState& s = State();
    if (!QFileInfo::exists(path))
        return;
    ReadCodedLines(path, QStringLiteral("RT"), 0);
    const QStringList& lines = s.LineBuffer;
    const qint16 count = static_cast<qint16>(lines.size() / 3);
    s.LessonLines.reserve(count);
    int heading = 0;
    int sentence = 0;
    for (int i = 0; i < count; ++i) {
        SentenceRecord line;
        line.Pinyin = BlankTrim(lines[3 * i]);
        line.English = BlankTrim(lines[3 * i + 2]);
        // The mark must be the line's very first character: "#" after a blank is text.
        const QString& chinese = lines[3 * i + 1];
        if (chinese.startsWith(QLatin1Char('#'))) {
            ++heading;
            sentence = 0;
            line.Chinese = QString::number(heading) + QLatin1Char(')') + BlankTrim(chinese.mid(1));
            line.Source = 0;
        } else {
            ++sentence;
            line.Chinese = QString::number(sentence) + QLatin1Char('.') + BlankTrim(chinese);
            line.Source = 1;
        }
        s.LessonLines.append(line);
    }
    s.LessonLineCount = count;
    ClearLineBuffer();
}
} // namespace

void LoadLessonScript()
{
    AppState& s = State();
    for (QStringList& column : s.LessonWords)
        column.clear();
    s.LessonWordCount = 0;
    s.LessonLines.clear();
    s.LessonLineCount = 0;

    LoadWords(ScriptPath(s.ViewedLesson, "icwp.vmq"));
    LoadLines(ScriptPath(s.ViewedLesson, "lifr.vmq"));
    ClearLineBuffer();
}
