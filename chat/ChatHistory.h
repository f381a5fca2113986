#pragma once
// The chat's history: its messages in memory and the file Record/Chat.txt, one message per
// line, "0" (the learner's own) or "1" (received) followed by the text, in GB18030 with CR LF
// after every line. The read-aloud sequences are not stored.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

struct ChatMessage {
    QString Text;
    bool Received{false};
    // The read-aloud syllables: "" while not built, "0" when nothing in the text can be read.
    QString Sound;
};

namespace ChatHistory {
// Lines shorter than two characters, or not starting with a digit, are skipped; any digit
// other than 0 marks a received message.
QVector<ChatMessage> FromLines(const QStringList& lines);
QStringList ToLines(const QVector<ChatMessage>& messages);

// AppPath + "Record/Chat.txt".
QString FilePath();
// The file's messages; none when it is missing, or refused and kept aside (KeepRefusedRecord).
// Saves and removals still on their way land first, and a split of the file that a crash or a
// full disk left half done is finished or undone (the learner is told of the files it kept).
QVector<ChatMessage> Load();

// The oldest messages of a window's history already written to files of their own: a save
// writes the file from the message after them. Touched only by the saves, one after another.
struct KeptPart {
    qsizetype Messages{0};
};
struct SaveOutcome {
    bool Ok{true};
    QString Failure;  // why the save failed (SafeFile::WriteFailure() of the failed write)
    QStringList Kept; // the files the oldest messages went to, "Chat (kept n).txt"
};
// Replaces the file (a temporary renamed over it) with the messages after kept, creating the
// Record folder first. The file never grows past what it reads back (SafeFile::
// MaxTextFileBytes): before it would, the oldest messages go to files of their own beside it,
// each within that bound, until the rest fills no more than half of it; kept counts them. The
// split holds at every step: a crash or a failed write leaves every message in exactly one
// file once the next Load has run. No messages: nothing written. The caller tells the learner
// of the Kept files.
SaveOutcome Save(const QVector<ChatMessage>& messages, KeptPart& kept);
// The same for a history of which nothing is kept yet.
inline SaveOutcome Save(const QVector<ChatMessage>& messages)
{
    KeptPart kept;
    return Save(messages, kept);
}
// Save on the program's background writer, after the saves and removals asked before it, so
// a long history never holds the window. The outcome comes back from the event loop, only
// while context is alive: the learner is then told of the kept files (KeptText) before they
// take their names, and done follows. Kept files that were not named so (the program ended
// first, or context went) are named by the next Load. At the program's end, what was posted
// is written before the writer goes (BackgroundWriter).
void SaveLater(const QVector<ChatMessage>& messages, std::shared_ptr<KeptPart> kept, QObject* context,
    std::function<void(const SaveOutcome&)> done);
// What the learner is told when the oldest messages went to files of their own.
QString KeptText(const QStringList& kept);
// Deletes the file when it exists, after the saves asked before.
void Remove();
} // namespace ChatHistory

// The ten rows of the chat window and its scroll bar. Rows are 0 (top) to 9 (bottom);
// messages are numbered from 1.
namespace ChatRows {
constexpr int Count = 10;

struct Page {
    // The message each row shows, 0 where the row is left as it is.
    int Message[Count]{};
    bool ScrollEnabled{false};
    int ScrollMaximum{0};
    int ScrollValue{0};
};

// The newest messages, the last one in the bottom row; the scroll bar only when there are
// more messages than rows, then at its end.
Page LastPage(int messageCount);
// The rows for a scroll bar value: row r shows message value + r + 1.
Page AtScroll(int scrollValue, int messageCount);
// The message a row stands for when it is read aloud (0 when none).
int MessageOfRow(int row, int messageCount, int scrollValue);
} // namespace ChatRows
