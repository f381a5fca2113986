#pragma once
// The rules of the pinyin typing task without its window: which characters of the viewed
// lesson are asked and with which syllable, the correctness rate and the lines that show it,
// and the candidate input (typed letters, the characters of CharacterTable whose reading
// matches, nine to a page, the hints). The Typing window drives its labels from these.

#include <QString>
#include <QVector>

#include "AppState.h"

// The viewed lesson's new characters, each once at its first place: the Chinese of its new
// words (State().LessonWords) without punctuation, less every character that a word of an
// earlier lesson already holds. Lesson 1 removes nothing. Only lesson entries are scanned
// (1..LessonEntryCount), up to the first entry of the viewed lesson or a later one.
QString LessonNewCharacters();

// One asked character with its syllable: numbered pinyin with its tone dot and digit
// ("h.ao3"), empty when none was found.
struct AskedCharacter {
    QString Character;
    QString Syllable;
    bool operator==(const AskedCharacter&) const = default;
};

// The asked list: the characters of LessonNewCharacters() in order, each with the syllable
// at its place in the first new word that holds it.
QVector<AskedCharacter> LessonCharacters();

// The syllable at 1-based position of a word's numbered pinyin: each digit closes a syllable,
// at most wordLength syllables are taken, blanks trimmed; empty when there are fewer.
QString SyllableAt(const QString& pinyin, int position, int wordLength);

// The recording of a numbered syllable: AppPath + "Phonetic Symbols/<L>/<syllable><tone>.wav",
// the neutral tone as tone 1; empty for an empty syllable.
QString AskedSoundPath(const QString& syllable);

// Right / (right + wrong) in whole percent, a half going to the even neighbour; 0 before any
// answer.
int CorrectnessRate(qint64 right, qint64 wrong);

// "Correct: 3 , Wrong: 1 , Correctness Rate: 75 %"
QString CountersLine(qint32 correct, qint32 wrong, int rate);

// One candidate of the typed letters: a character with one of its readings.
struct TypingCandidate {
    QString Character;
    QString Letter;    // first letter: the sound folder
    QString Syllable;  // toneless
    QString Tone;      // shown and spoken (CurrentTone)
    QString SoundTone; // of the sound file
    bool operator==(const TypingCandidate&) const = default;
};

// The characters whose first reading with exactly the typed syllable comes first (table
// order), then those whose first reading with a longer syllable beginning with it (table
// order). A character with both stands in both groups. Records 1..count of table are searched.
QVector<TypingCandidate> FindTypingCandidates(const QString& typed, const QVector<CharacterRecord>& table, int count);

// count / 9 rounded up (0 for none).
int CandidatePageCount(int count);

// The typed letters, the candidates and the page shown, as the keys change them.
class PinyinInput {
public:
    static constexpr int MaxLetters = 5;
    static constexpr int PageSize = 9;

    // The asked character decides the hints.
    void SetAsked(const QString& character) { m_asked = character; }

    // Each returns false when the key was ignored (nothing changed).
    bool Append(QChar letter);
    bool Delete();
    bool NextPage();
    bool PreviousPage();
    // The k-th (1..9) candidate of the page shown, or nullptr (no page shown, or beyond it).
    const TypingCandidate* Pick(int k) const;
    // After a pick: letters, page text and candidates gone.
    void Clear();

    const QString& Typed() const { return m_typed; }
    // Label8: the typed letters and one blank.
    QString TypedText() const { return m_typed + QLatin1Char(' '); }
    // Label5: the page shown, empty when none.
    const QString& PageText() const { return m_pageText; }
    // Label6 after the last change.
    const QString& Hint() const { return m_hint; }
    const QVector<TypingCandidate>& Candidates() const { return m_candidates; }
    int Page() const { return m_page; }
    int PageCount() const { return m_pageCount; }

private:
    void Search();
    void ShowPage(bool pagingHint);
    int FirstOnPage() const { return (m_page - 1) * PageSize; }
    int OnPage() const;

    QString m_asked;
    QString m_typed;
    QVector<TypingCandidate> m_candidates;
    int m_page{0};
    int m_pageCount{0};
    QString m_pageText;
    QString m_hint;
};

namespace TypingTexts {
inline QString TypeHint() { return QStringLiteral("Input the Pinyin of the Chinese Charater in the small box on the left."); }
inline QString FirstHint() { return QStringLiteral("Input the pin yin of the Chinese Charater in the small box on the left."); }
inline QString NoSuchPinyin() { return QStringLiteral("Such a Pinyin doesn't exist."); }
inline QString PressSpace() { return QStringLiteral("Press space bar to select the first Chinese character."); }
inline QString PressPageOrNumber() { return QStringLiteral("Press +(=)/- or number key to select the correct Chinese character."); }
inline QString PressNumber() { return QStringLiteral("Press number key to select the correct Chinese character."); }
inline QString Correct() { return QStringLiteral("Correct! Press any key to go to next word."); }
inline QString Wrong() { return QStringLiteral("Wrong!"); }
inline QString FocusLost() { return QStringLiteral("This window has lost focus! Please click on it."); }
} // namespace TypingTexts
