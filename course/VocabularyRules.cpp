#include "VocabularyRules.h"

#include <array>

#include "AppState.h"
#include "BlankTrim.h"
#include "Clock.h"
#include "TextFilters.h"
#include "TypingRules.h"
#include "WrongOptions.h"

namespace {
// A draw repeated until it fits gives up after this many tries (a scripted or degenerate
// source must never hang the window).
constexpr int kMaxRedraws = 1000;

QString RightTrimBlanks(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    return s.left(n);
}

QString LeftTrimBlanks(const QString& s)
{
    qsizetype k = 0;
    while (k < s.size() && s[k] == QLatin1Char(' '))
        ++k;
    return s.mid(k);
}

// The English of another word that may give the word its wrong options (WrongOptions.h): another
// row of the test, or with a single word a lesson entry of the course. Null when there is none.
QString OtherEnglish(const QVector<TestWord>& words, int wordIndex)
{
    const TestWord& word = words[wordIndex - 1];
    const int n = int(words.size());
    if (n >= 2) {
        for (int tries = 0; tries < kMaxRedraws; ++tries) {
            const int r = Random::Index(n);
            if (r != wordIndex && MayGiveWrongOptions(word.Chinese, word.English, words[r - 1].Chinese, words[r - 1].English))
                return words[r - 1].English;
        }
        const TestWord& next = words[wordIndex % n];
        return MayGiveWrongOptions(word.Chinese, word.English, next.Chinese, next.English) ? next.English : QString();
    }
    const AppState& s = State();
    const int entries = std::min<int>(s.LessonEntryCount, int(s.WordText[0].size()));
    for (int tries = 0; tries < kMaxRedraws && entries > 0; ++tries) {
        const int k = Random::Index(entries);
        const QString english = s.WordText[1].value(k - 1);
        if (MayGiveWrongOptions(word.Chinese, word.English, s.WordText[0][k - 1], english))
            return english;
    }
    return QString();
}

// The text a distractor shows for an English text.
QString DistractorText(const QString& english)
{
    if (!english.contains(QLatin1Char(';')))
        return QLatin1Char(' ') + LeftTrimBlanks(english) + QLatin1Char(' ');
    const QStringList pieces = english.split(QLatin1Char(';'));
    const QString piece = BlankTrim(pieces[Random::Index(int(pieces.size())) - 1]);
    return QLatin1Char(' ') + piece + QLatin1Char(' ');
}
} // namespace

QVector<TestWord> ShuffledTestWords()
{
    const AppState& s = State();
    QVector<TestWord> work;
    for (int k = 0; k < s.LessonWordCount && k < s.LessonWords[0].size(); ++k)
        work.append({s.LessonWords[0][k], s.LessonWords[1].value(k), StripPunctuation(s.LessonWords[2].value(k))});
    QVector<TestWord> out;
    out.reserve(work.size());
    while (!work.isEmpty()) {
        const int r = Random::Index(int(work.size()));
        out.append(work.takeAt(r - 1));
    }
    return out;
}

QStringList WordMeanings(const QString& english)
{
    QStringList all;
    for (const QString& piece : english.split(QLatin1Char(';')))
        all.append(BlankTrim(piece));
    QStringList meanings;
    for (const QString& m : all)
        if (!m.isEmpty())
            meanings.append(m);
    if (meanings.isEmpty())
        meanings.append(QString());
    return meanings.mid(0, kVocabularyOptions);
}

QVector<VocabularyOption> VocabularyOptions(const QVector<TestWord>& words, int wordIndex)
{
    QVector<VocabularyOption> options(kVocabularyOptions);
    if (wordIndex < 1 || wordIndex > words.size())
        return options;
    const TestWord& word = words[wordIndex - 1];
    const QStringList meanings = WordMeanings(word.English);

    std::array<bool, kVocabularyOptions> taken{};
    for (const QString& meaning : meanings) {
        int slot = Random::Slot(kVocabularyOptions);
        for (int tries = 0; taken[size_t(slot)] && tries < kMaxRedraws; ++tries)
            slot = Random::Slot(kVocabularyOptions);
        while (taken[size_t(slot)])
            slot = (slot + 1) % kVocabularyOptions;
        taken[size_t(slot)] = true;
        options[slot] = {QLatin1Char(' ') + meaning + QLatin1Char(' '), word.Chinese};
    }

    for (int k = 0; k < kVocabularyOptions; ++k) {
        if (taken[size_t(k)])
            continue;
        // A distractor that says what the word means would be marked wrong although it is
        // right: draw again.
        for (int tries = 0; tries < kDistractorDraws; ++tries) {
            const QString english = OtherEnglish(words, wordIndex);
            if (english.isNull())
                break;
            const QString text = DistractorText(english);
            const QString shown = BlankTrim(text);
            if (!shown.isEmpty() && !meanings.contains(shown) && !SharesMeaning(shown, word.English)) {
                options[k] = {text, QString()};
                break;
            }
        }
    }
    return options;
}

bool IsRightOption(const VocabularyOption& option, const QString& word)
{
    return !option.Tag.isEmpty() && RightTrimBlanks(option.Tag) == word;
}

int VocabularyRate(int right, int wrong) { return CorrectnessRate(right, wrong); }
