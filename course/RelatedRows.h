#pragma once
// The rows of the related-expressions list, without the window: which words the new-words
// review, the typing task and the read-after engine list beside their word, and how a listed
// word (or a reviewed one) is spoken. Plain functions over the shared tables (State()).

#include <QList>
#include <QString>

// One row of the list: what its columns show and where the word comes from.
struct RelatedRow {
    QString Chinese;
    QString Pinyin;       // tone-marked, may stay empty
    QString English;
    QString HiddenPinyin; // numbered, for the sound
    qint16 SourceKind{0}; // 1 lesson, 2 additional vocabulary file
    qint16 SourceNumber{0};
    bool operator==(const RelatedRow&) const = default;
};

// The new-words review: vocabulary entries related to word (at most 20), by the lengths of the
// word and the entry; entries with the reviewed word's own meaning (english) are left out,
// except single characters of a longer word.
QList<RelatedRow> ReviewRelatedRows(const QString& word, const QString& english);

// The typing task: vocabulary entries whose Chinese contains word (at most 10).
QList<RelatedRow> TypingRelatedRows(const QString& word, bool showPinyin);

// The read-after engine: the word's own entry first, then, for a whole word, the other entries
// of the same table (the lesson's words, or the course's lesson entries) that contain it
// (at most 10 rows in all).
QList<RelatedRow> ReadAfterRelatedRows(const QString& word, bool showPinyin, int entry, bool fromLesson,
                                       bool wholeWord);

// How a word is spoken from its Chinese and numbered pinyin: one character plays its
// syllable's file (a neutral tone plays the first-tone file), a longer word goes through the
// syllable queue.
struct WordSound {
    bool Sequence{false}; // true: PlayPinyinSequence(Pinyin); false: PlaySoundFile(Path, 0)
    QString Pinyin;
    QString Path;
    QString Tone; // CurrentTone for the single file
};
WordSound SoundOfWord(const QString& chinese, const QString& numberedPinyin);
