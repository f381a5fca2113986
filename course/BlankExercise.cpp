#include "BlankExercise.h"

#include "TextFilters.h"

namespace {
const QString BlankMark = QStringLiteral("__");

// A character beyond U+FFFF is taken out whole, both of its UTF-16 units.
bool MayBlank(const QString& c, const QString& lastBlankChar)
{
    return IsChineseCharacter(c.front()) && c != lastBlankChar;
}
} // namespace

LineBlank MakeBlank(const QString& chinese, const QString& lastBlankChar, const QuizDraw& draw)
{
    struct Place {
        int pos;
        QString character;
    };
    QList<Place> eligible;
    int pos = 0;
    for (const QString& c : TextCharacters(chinese)) {
        if (MayBlank(c, lastBlankChar))
            eligible.append({pos, c});
        pos += int(c.size());
    }
    if (eligible.isEmpty())
        return {};
    const Place& place = eligible[DrawSlot(draw, int(eligible.size()))];
    return {place.pos, place.character,
        chinese.left(place.pos) + BlankMark + chinese.mid(place.pos + place.character.size())};
}

BlankExerciseText BuildBlankExercise(const QVector<SentenceRecord>& lines, const QuizDraw& draw)
{
    BlankExerciseText exercise;
    QStringList shown;
    QList<int> posInLine;
    QString lastBlankChar;
    for (int i = 1; i <= lines.size(); ++i) {
        const SentenceRecord& line = lines[i - 1];
        if (line.Source == 0) {
            shown.append(line.Chinese);
            continue;
        }
        const LineBlank blank = MakeBlank(line.Chinese, lastBlankChar, draw);
        if (!blank.Made()) {
            shown.append(line.Chinese);
            continue;
        }
        lastBlankChar = blank.Answer;
        exercise.Blanks.append({blank.Answer, QString(), blank.BlankedLine, i, -1});
        posInLine.append(blank.Pos);
        shown.append(blank.BlankedLine);
    }
    exercise.Text = BuildLessonText(lines, shown);
    for (int b = 0; b < exercise.Blanks.size(); ++b) {
        BlankRecord& blank = exercise.Blanks[b];
        blank.TextPos = exercise.Text.ChineseStarts.value(blank.Line - 1) + posInLine[b];
    }
    return exercise;
}

QStringList DealAnswers(const QStringList& answers, const QuizDraw& draw)
{
    QStringList remaining = answers;
    QStringList dealt;
    while (!remaining.isEmpty())
        dealt.append(remaining.takeAt(DrawSlot(draw, int(remaining.size()))));
    return dealt;
}

QStringList DrawCandidates(const QStringList& answers, int blank, const QuizDraw& draw)
{
    QStringList pool = answers.mid(0, CandidateLabels);
    QStringList drawn;
    while (!pool.isEmpty())
        drawn.append(pool.takeAt(DrawSlot(draw, int(pool.size()))));
    const QString answer = answers.value(blank - 1);
    if (!drawn.isEmpty() && !drawn.contains(answer))
        drawn[DrawSlot(draw, int(drawn.size()))] = answer;
    return drawn;
}

QStringList CandidatesFor(const QStringList& answers, int blank, const QuizDraw& draw)
{
    if (CandidatesPerBlank(int(answers.size())))
        return DrawCandidates(answers, blank, draw);
    return DealAnswers(answers, draw);
}

QStringList Answers(const QList<BlankRecord>& blanks)
{
    QStringList answers;
    for (const BlankRecord& b : blanks)
        answers.append(b.Answer);
    return answers;
}

BlankGrade GradeBlanks(const QList<BlankRecord>& blanks)
{
    BlankGrade grade;
    for (const BlankRecord& b : blanks)
        ++(b.UserAnswer == b.Answer ? grade.Right : grade.Wrong);
    grade.Rate = QuizRate(grade.Right, grade.Wrong);
    return grade;
}

QList<ResultRow> ResultRows(const QList<BlankRecord>& blanks)
{
    QList<ResultRow> rows;
    for (int i = 1; i <= blanks.size(); ++i) {
        const BlankRecord& b = blanks[i - 1];
        const QString verdict = b.UserAnswer == b.Answer
            ? QStringLiteral("Right  正确")
            : QStringLiteral("Your answer ") + b.UserAnswer + QStringLiteral(" is wrong");
        rows.append({QString::number(i), b.Answer, verdict});
    }
    return rows;
}

QString NoSentenceNotice() { return QStringLiteral("There is no sentence in this lesson."); }
