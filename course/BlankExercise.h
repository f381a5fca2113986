#pragma once
// The fill-in-the-blank exercise without its window: one Chinese character of every sentence
// line taken out and shown as "__", the candidates offered for each blank, the grading and the
// rows of the result list. Exercise3 and Result1 show what these give.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include "AppState.h"
#include "LessonText.h"
#include "QuizRules.h"

// One blank of the exercise.
struct BlankRecord {
    QString Answer;      // the character taken out
    QString UserAnswer;  // the candidate chosen for it, empty until then
    QString BlankedLine; // the line's Chinese with "__" in its place
    int Line{0};         // the lesson line it stands in (1-based)
    // Where its "__" stands in the exercise's text (0-based): kept when the text is built, so
    // the blank is selected there and never found inside another line that holds the same text.
    int TextPos{-1};
};

// One line's blank: the character at Pos (0-based, in UTF-16 units of the line) replaced by
// "__". Made() is false for a line without a character that may be blanked.
struct LineBlank {
    int Pos{-1};
    QString Answer;
    QString BlankedLine;
    bool Made() const { return Pos >= 0; }
};

// Blanks one Chinese character of chinese, drawn among the characters that may be blanked: a
// Chinese character (never the line number, its full stop or a punctuation mark) other than
// lastBlankChar, the character blanked in the line before. One draw; a line without such a
// character gets no blank.
LineBlank MakeBlank(const QString& chinese, const QString& lastBlankChar, const QuizDraw& draw);

// The exercise: the blanks in text order and the text with the lesson text window's rows
// (headings as they are, sentence lines blanked).
struct BlankExerciseText {
    QList<BlankRecord> Blanks;
    LessonTextDocument Text;
};
BlankExerciseText BuildBlankExercise(const QVector<SentenceRecord>& lines, const QuizDraw& draw);

// The candidates shown for blank (1-based) of answers (the blanks' answers in order):
// - fewer than 5 blanks: every answer once, in a random order; the same labels serve every
//   blank, so this is dealt once, for the first blank;
// - 5 blanks or more: four drawn from the answers of blanks 1 to 4, the blank's own answer
//   put in one of the four places when none of them is it.
constexpr int CandidateLabels = 4;
QStringList DealAnswers(const QStringList& answers, const QuizDraw& draw);
QStringList DrawCandidates(const QStringList& answers, int blank, const QuizDraw& draw);
QStringList CandidatesFor(const QStringList& answers, int blank, const QuizDraw& draw);
// Whether each blank draws its own candidates.
inline bool CandidatesPerBlank(int blankCount) { return blankCount > CandidateLabels; }

QStringList Answers(const QList<BlankRecord>& blanks);

struct BlankGrade {
    int Right{0};
    int Wrong{0};
    int Rate{0};
};
BlankGrade GradeBlanks(const QList<BlankRecord>& blanks);

// One row of the result list "Kyes and Results".
struct ResultRow {
    QString Index;
    QString Chinese;
    QString English;
    bool operator==(const ResultRow&) const = default;
};
QList<ResultRow> ResultRows(const QList<BlankRecord>& blanks);

// What the exercise tells the learner when a lesson has no sentence line to blank.
QString NoSentenceNotice();
