#pragma once
// The cache of on-line results (State().OnlineWordTable): the stored form of a shown result,
// its display from the cache, and the two files of the Record folder.
//
// Record/wangci.txt: one line per record, "Word: Entry", CR LF after every line, written in
// GB18030 (the same bytes as code page 936 for its characters, nothing lost outside it).
// Record/Cang.vmq: record 1 holds the count as a 16-bit little-endian integer. Both are
// replaced whole through a temporary file. The loading window reads them back at start.

#include <QString>
#include <QStringList>

#include "AppState.h"

// The stored form of a shown result without its heading: the text before four blanks and the
// source label, then each following line trimmed, "#" after each, example heading lines left
// out; the text unchanged when the label is absent.
QString StoredEntryText(const QString& shownWithoutHeading, const QString& sourceLabel);

// The pronunciation inside a shown result: after the first "[", up to a digit, "]" or "#";
// stops at a "#" anywhere.
QString ShownReading(const QString& shown);

// The RTF document that shows a cached record for query (headed by the record's own Word):
// Chinese, pinyin and other queries each have their layout.
QString CachedResultRtf(const OnlineWord& record, const QString& query, const QString& sourceLabel);

class OnlineCache {
public:
    // New records after which the cache is saved without waiting for the exit.
    static constexpr int SaveEvery = 50;

    // SavedWordCount starts at the count loaded at start-up.
    explicit OnlineCache(QString sourceLabel);

    // Stores the result of word as shown (its plain text, headed by the word) and brings a
    // Chinese word into the character table with its pronunciation. A result without a
    // meaning is not stored, nor a word holding ":" or a line break or a result holding "#"
    // (the file could not give them back), nor anything once the table is full; the character
    // table is served in every case. A stored record of the word without a meaning takes the
    // new result in its place.
    void AddCacheEntry(const QString& word, const QString& shown);

    // Writes Record/Cang.vmq (when the table is not empty) and Record/wangci.txt (when records
    // were added or replaced since the last save, or when it is missing). wangci.txt takes the
    // records, in table order, that fit in what its reader takes back (SafeFile::
    // MaxTextFileBytes); the learner is told once when later ones were left out, and the file
    // is never replaced by fewer records than it holds. A failed write shows the disk-write
    // warning with its reason once, and no more until a save succeeds again: the records stay
    // in memory and every later save tries again. True when everything due was written.
    bool SaveCache();

    qint16 SavedWordCount() const { return m_savedWordCount; }

private:
    bool WriteWords(const QStringList& lines);
    void Warn(const QString& reason);

    QString m_sourceLabel;
    qint16 m_savedWordCount{0};
    qsizetype m_fileRecords{0}; // records in wangci.txt as loaded or last written
    bool m_replaced{false}; // a record took a new result since the last save of the text
    bool m_warned{false};   // a failed save was reported and none succeeded since
    bool m_toldFull{false}; // the learner was told that the file holds no more
};
