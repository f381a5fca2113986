#pragma once
// The number window's histories: the cardinal numbers and the telephone numbers the learner
// typed, one list entry per line of Record/cardinal.txt and Record/telephone.txt (code page
// 936, CR LF). A history is read when the window opens and written when it closes, only when
// an entry was added; the telephone history is also written at once when it is cleared.

#include <QString>
#include <QStringList>

class NumberHistory {
public:
    // fileName inside the Record folder ("cardinal.txt").
    explicit NumberHistory(const QString& fileName);

    // Reads the file's lines, in order, leaving out empty ones; a missing file gives none, and
    // so does one refused, which is kept aside (KeepRefusedRecord).
    void Load();
    // Appends text unless an entry equals it exactly (an empty text is not kept); true when
    // it was appended.
    bool Add(const QString& text);

    // Writes the entries when they changed since loading. An emptied history writes no file.
    // False when the file could not be written (the entries stay as they are).
    bool Save();
    // Empties the history and deletes its file; false when the file could not be deleted.
    bool Clear();
    // Puts entries in place of the history and writes them at once; false when the file
    // could not be written (the history is then still written on closing).
    bool Reset(const QStringList& entries);

    const QStringList& Entries() const { return m_entries; }
    bool Changed() const { return m_changed; }
    QString Path() const;

private:
    QString m_fileName;
    QStringList m_entries;
    bool m_changed{false};
};

// What clearing the telephone history puts back: "1" and a sample that no subscriber has
// (a local number never starts with 0).
const QStringList& TelephoneHistoryStart();

// The window's SaveNumberLists: the cardinal history, then the telephone history; a file
// that cannot be written shows the disk-write warning and the other is still written.
void SaveNumberLists(NumberHistory& cardinal, NumberHistory& telephone);
