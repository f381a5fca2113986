#include "PairReading.h"

#include <QStringList>
#include <utility>

#include "AppState.h"
#include "CharacterTable.h"
#include "Pinyin.h"
#include "TextFilters.h"

namespace {

struct PairHit {
    QString Syllable; // the pair's first character
    QString Next;     // the pair's second character
};

// The syllables at the pair's place in one entry: its position in the Chinese text without
// punctuation is its syllable number in the pinyin without punctuation and tone dots.
PairHit SyllablesAt(const QString& pair, const QString& chinese, const QString& pinyin)
{
    const qsizetype p = StripPunctuation(chinese).indexOf(pair);
    const QStringList syllables = SplitNumberedPinyin(StripPunctuation(pinyin));
    PairHit hit;
    if (p >= 0 && p < syllables.size())
        hit.Syllable = syllables.at(p);
    if (p >= 0 && p + 1 < syllables.size())
        hit.Next = syllables.at(p + 1);
    return hit;
}

// Whether the entry's Chinese text, brackets and marks removed, holds the pair. Both
// characters must appear in the raw text first: that cheap test skips almost every entry.
bool Holds(const QString& chinese, const QString& pair)
{
    return chinese.contains(pair.at(0)) && chinese.contains(pair.at(1))
        && StripBracketsAndMarks(chinese).contains(pair);
}

bool FindPair(const QString& pair, PairHit& hit)
{
    const AppState& s = std::as_const(State());
    const qsizetype words = qMin<qsizetype>(s.WordCount, qMin(s.WordText[0].size(), s.WordPinyin.size()));
    for (qsizetype k = 0; k < words; ++k) {
        if (Holds(s.WordText[0].at(k), pair)) {
            hit = SyllablesAt(pair, s.WordText[0].at(k), s.WordPinyin.at(k));
            return true;
        }
    }
    const qsizetype sentences = qMin<qsizetype>(s.SentenceCount, s.SentenceTable.size());
    for (qsizetype k = 0; k < sentences; ++k) {
        const SentenceRecord& r = s.SentenceTable.at(k);
        if (Holds(r.Chinese, pair)) {
            hit = SyllablesAt(pair, r.Chinese, r.Pinyin);
            return true;
        }
    }
    return false;
}

// The character's first reading as a playable syllable; a reading without a tone digit would
// run into the next syllable, so it gives nothing.
QString CharacterSyllable(const QString& ch)
{
    const AppState& s = std::as_const(State());
    const int k = FindCharacterRecord(ch);
    if (k < 1 || k > s.CharacterTable.size())
        return {};
    const CharacterRecord& r = s.CharacterTable.at(k - 1);
    if (r.Readings.isEmpty() || r.Readings.first().SoundTone.isEmpty())
        return {};
    return r.Readings.first().Syllable + r.Readings.first().SoundTone;
}

} // namespace

PairReader::PairReader(const QString& text) : m_text(text) {}

int PairReader::Percent() const
{
    if (m_text.isEmpty())
        return 100;
    return qRound(double(m_position) / double(m_text.size()) * 100.0);
}

bool PairReader::Step()
{
    if (AtEnd())
        return false;
    const qsizetype i = m_position++;
    const QChar ch = m_text.at(i);
    if (!IsChineseCharacter(ch))
        return true;
    if (i + 1 < m_text.size() && IsChineseCharacter(m_text.at(i + 1))) {
        PairHit hit;
        if (FindPair(m_text.mid(i, 2), hit)) {
            m_syllables += hit.Syllable;
            m_carried = hit.Next;
            return true;
        }
    }
    if (!m_carried.isEmpty()) {
        m_syllables += m_carried;
        m_carried.clear();
    } else {
        m_syllables += CharacterSyllable(QString(ch));
    }
    return true;
}

QString ReadInPairs(const QString& text)
{
    PairReader reader(text);
    while (reader.Step()) {
    }
    return reader.Syllables();
}
