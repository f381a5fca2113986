#pragma once
// The rules of the vocabulary test without its window: the lesson's words in a random order,
// a word's meanings, the eight options (the meanings in random slots, distractors from other
// words in the rest) and the correctness rate. Draws come from the program's random source
// (platform Clock.h), which tests script.

#include <QString>
#include <QStringList>
#include <QVector>

// One word of the test: Chinese, English (meanings separated by ";") and numbered pinyin
// without its tone dots.
struct TestWord {
    QString Chinese;
    QString English;
    QString Pinyin;
    bool operator==(const TestWord&) const = default;
};

// The viewed lesson's new words (State().LessonWords) in a random order, each once: drawn
// without replacement, Int(Rnd * m) + 1 from the m words left.
QVector<TestWord> ShuffledTestWords();

// The meanings of an English text: cut at every ";", blanks trimmed. Empty meanings are
// dropped while a non-empty one remains; at most eight are kept (one per option).
QStringList WordMeanings(const QString& english);

// One of the eight options: its text (a blank at each end) and its tag (the word's Chinese
// for a meaning, empty for a distractor). An empty text leaves the option hidden.
struct VocabularyOption {
    QString Text;
    QString Tag;
    bool operator==(const VocabularyOption&) const = default;
};

inline constexpr int kVocabularyOptions = 8;
// How often a distractor that says one of the word's meanings (or is empty) is drawn again
// before its option is left empty.
inline constexpr int kDistractorDraws = 20;

// The options for word wordIndex (1-based) of words: each meaning in an option drawn as
// Int(Rnd * 8) until free, in order; every other option a distractor: the English of another
// word of the test, or one of its meanings drawn when it has several. A word that shares a
// meaning with the word or has its Chinese (MayGiveWrongOptions) is drawn again. A test of one
// word takes its distractors from the course's lesson entries (State().WordText
// 1..LessonEntryCount) by the same rule.
QVector<VocabularyOption> VocabularyOptions(const QVector<TestWord>& words, int wordIndex);

// A clicked option is right when its tag, trailing blanks removed, is the word.
bool IsRightOption(const VocabularyOption& option, const QString& word);

// right * 100 / (right + wrong) as a whole number, a half going to the even neighbour.
int VocabularyRate(int right, int wrong);
