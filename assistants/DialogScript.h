#pragma once
// The dialogue script of the dialogue tool and the rules on its lines, without a window (the
// build's sound generator uses them too). A script holds numbered dialogues: a line that is a
// number starts one, the next line is its opening line, every further line a reply; each
// line is "Chinese = English". Empty lines are skipped.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

struct DialogLine {
    QString Chinese;
    QString English;
};

// One dialogue: Lines[0] is the opening line, Lines[1..ReplyCount()] the replies in order.
struct DialogRecord {
    QVector<DialogLine> Lines;
    int ReplyCount() const { return int(Lines.size()) - 1; }
};

struct DialogScript {
    QVector<DialogRecord> Dialogs; // dialogue n at [n - 1]
    // The messages loading shows, in order.
    QStringList Warnings;
};

// The first "=" divides a line: Chinese before it without trailing blanks, English after it
// without leading blanks. A line without "=" gives no line (false).
bool SplitDialogLine(const QString& line, DialogLine& out);

// True for a line the script reads as a number line ("12", " 3 ").
bool IsDialogNumberLine(const QString& line);

// Reads the lines of a script. A dialogue (other than the last) without replies is reported
// ("Error: Dialog n has no answers.") and kept. Lines that cannot belong to a dialogue are
// passed over: lines before the first number line, lines without "=", and a number line that
// follows another before any opening line (the dialogue is started only once).
DialogScript ParseDialogScript(const QStringList& lines);

// The wave file name of a line from its English text: its first character, then the character
// after each blank unless it is ".", " ", ",", "?" or "!", at most five characters (a blank at
// the very end counts without adding one), in lower case, with ".wav". Path separators become
// "_", so a name always stays inside the sound folder.
QString DialogSoundFileName(const QString& english);

// How far each opening line fits a reply: for every character of reply except its last, one
// point when the character occurs anywhere in the opening (case ignored).
int DialogFitScore(const QString& reply, const QString& opening);

// Pages of five items for count items (0 for none).
int DialogPageCount(int count);

// The search over the opening lines: every blank-separated word must hold; an English search
// (first character a Latin letter) finds a word after or before a blank of the English line,
// a Chinese search anywhere in the Chinese line; case is ignored. Returns dialogue numbers.
QList<int> SearchOpenings(const QVector<DialogRecord>& dialogs, const QString& trimmedText);
