#pragma once
// The lesson text as the reading windows show it, without a window: the styled rows of each
// line (the text window and the fill-in exercise append the same rows), the sentence list and
// its counter and buttons, and the progress of a sentence being spoken.

#include <QList>
#include <QString>
#include <QStringList>

#include "AppState.h"

// One piece appended at the end of a rich-text box: its RTF and what it adds to the box's
// plain text, as the box reads the RTF (CR LF for each paragraph it ends; the blank that
// delimits the builder's last control word is not text).
struct LessonTextRow {
    QString Rtf;
    QString Plain;
};

// The pieces of one line of the lesson text, in the order they are appended: for a heading
// that is not the first line two empty paragraphs first; then the pinyin row, the Chinese row
// and the English row. A heading's Chinese (bold red) and English (grey) share one paragraph.
// chinese is what the Chinese row shows: the line's own text, or the exercise's blanked line.
// lineNumber is the line's 1-based place in the text.
QList<LessonTextRow> LessonLineRows(const SentenceRecord& line, int lineNumber, const QString& chinese);

// The whole lesson text: every line's rows, the plain text they make and where each line's
// Chinese text starts in it (0-based, line i at [i - 1]).
struct LessonTextDocument {
    QList<LessonTextRow> Rows;
    QString Plain;
    QList<int> ChineseStarts;
};
// chinese: what each line's Chinese row shows (line i at [i - 1]).
LessonTextDocument BuildLessonText(const QVector<SentenceRecord>& lines, const QStringList& chinese);
// The lines' own Chinese; reading aloud (readAfter) shows it without full-width parentheses.
LessonTextDocument BuildLessonText(const QVector<SentenceRecord>& lines, bool readAfter);

// The text without the full-width "（" and "）" (what stood between them stays).
QString StripFullWidthParens(const QString& chinese);

// The sentence list: the prompt item, then "i. " + English for every line, headings included.
QStringList SentenceListItems(const QVector<SentenceRecord>& lines);
// The counter beside the list: "k / count".
QString SentenceCounter(int index, int count);

// " Previous " and " Next " for a list index (0 is the prompt item; lastIndex the last item).
struct SentenceButtons {
    bool Previous{false};
    bool Next{false};
    bool operator==(const SentenceButtons&) const = default;
};
SentenceButtons SentenceButtonsAt(int index, int lastIndex);

// The bar that follows a sentence spoken through the syllable queue, ticked every 100 ms.
// It takes note of the queue the sentence started; when the queue's count changes without a
// sentence being started, another sound replaced the sentence and the bar drops to 0.
class SentenceProgress {
public:
    // A sentence was just handed to the syllable queue.
    void SentenceStarted() { m_started = true; }
    // Timer1: the finished bar is emptied.
    void Clear() { m_countSeen = 0; }

    struct Step {
        bool Running{true}; // false: Timer2 stops
        bool Finished{false}; // the queue reached its end: Timer1 empties the bar later
        float Bar{0};       // the bar's value in twips
    };
    // One tick with the queue as it stands and the bar control's width in twips. An empty
    // queue shows an empty bar and ends the progress.
    Step Tick(qint16 queueCount, qint16 queuePos, float barWidth);

    qint16 CountSeen() const { return m_countSeen; }
    bool Started() const { return m_started; }

private:
    qint16 m_countSeen{0};
    bool m_started{false};
};
