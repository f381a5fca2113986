#pragma once
// Reading a free Chinese text aloud from the course's own tables, for texts the course has no
// word list for (chat messages, the reading helper's selections).
//
// Each character, left to right, takes its syllable from the first course word (else the
// first course sentence) that holds it together with the character after it, the "pair";
// the syllable after it in that entry is carried, in case the next character's pair is found
// nowhere. A character that starts no known pair (the last one, one before a non-Chinese
// character, or a pair found nowhere) takes the carried syllable, else its first reading in
// the character table, else nothing. Non-Chinese characters are skipped.
//
// The result is numbered pinyin without dots, each syllable closed by its tone digit, one
// after another ("wo3men0hao3"), as PlayPinyinSequence takes it. A pair that sits beyond the
// syllables of its entry (characters and syllables not lined up) gives no syllable.
//
// The scans read WordText/WordPinyin (entries 1..WordCount), SentenceTable (1..SentenceCount)
// and CharacterTable. PairReader does one character per Step, so a window can show progress
// and let other events in between, and drop the reader to cancel.

#include <QString>

class PairReader {
public:
    explicit PairReader(const QString& text);

    // Handles the next character; false (and nothing done) once the text is used up.
    bool Step();
    bool AtEnd() const { return m_position >= m_text.size(); }
    // Characters handled so far, of Length().
    qsizetype Position() const { return m_position; }
    qsizetype Length() const { return m_text.size(); }
    // Position / Length x 100, rounded; 100 for an empty text.
    int Percent() const;
    // The syllables found so far.
    const QString& Syllables() const { return m_syllables; }

private:
    QString m_text;
    qsizetype m_position{0};
    QString m_carried;
    QString m_syllables;
};

// The whole text at once.
QString ReadInPairs(const QString& text);
