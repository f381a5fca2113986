#include "TypingRules.h"

#include <QSet>
#include <algorithm>
#include <span>

#include "BlankTrim.h"
#include "TextFilters.h"

QString LessonNewCharacters()
{
    const AppState& s = State();
    QString joined;
    for (int k = 0; k < s.LessonWordCount && k < s.LessonWords[0].size(); ++k)
        joined += StripPunctuation(s.LessonWords[0][k]);
    if (joined.isEmpty())
        return {};

    // Characters, not UTF-16 units: a character beyond U+FFFF is asked whole.
    QStringList chars;
    QSet<QString> seen;
    for (const QString& c : TextCharacters(joined))
        if (!seen.contains(c)) {
            seen.insert(c);
            chars += c;
        }
    if (s.ViewedLesson == 1)
        return chars.join(QString());

    // The words of the earlier lessons: the lesson entries come first, lesson by lesson, so
    // the scan ends at the first entry of the viewed lesson and never runs into the extra
    // vocabulary behind the lesson entries.
    const int last = std::min<int>({s.WordCountCopy, s.LessonEntryCount, int(s.WordText[0].size()),
        int(s.WordSource[1].size())});
    QString earlier;
    for (int k = 0; k < last && s.WordSource[1][k] < s.ViewedLesson; ++k)
        earlier += s.WordText[0][k];
    QString out;
    for (const QString& c : chars)
        if (!earlier.contains(c))
            out += c;
    return out;
}

QString SyllableAt(const QString& pinyin, int position, int wordLength)
{
    QStringList syllables;
    QString collected;
    for (QChar c : pinyin) {
        if (syllables.size() >= wordLength)
            break;
        collected += c;
        if (c.isDigit()) {
            syllables.append(collected);
            collected.clear();
        }
    }
    if (position < 1 || position > syllables.size())
        return {};
    return BlankTrim(syllables[position - 1]);
}

QVector<AskedCharacter> LessonCharacters()
{
    const AppState& s = State();
    QVector<AskedCharacter> out;
    for (const QString& c : TextCharacters(LessonNewCharacters())) {
        AskedCharacter asked{c, {}};
        for (int k = 0; k < s.LessonWordCount && k < s.LessonWords[0].size(); ++k) {
            // The syllable goes with the character's place in the word, counted in characters.
            const QStringList word = TextCharacters(StripPunctuation(s.LessonWords[0][k]));
            const qsizetype p = word.indexOf(c);
            if (p < 0)
                continue;
            asked.Syllable = SyllableAt(s.LessonWords[2].value(k), int(p) + 1, int(word.size()));
            break;
        }
        out.append(asked);
    }
    return out;
}

QString AskedSoundPath(const QString& syllable)
{
    const QString s = StripPunctuation(syllable);
    if (s.size() < 2)
        return {};
    QChar tone = s.back();
    if (tone == QLatin1Char('0'))
        tone = QLatin1Char('1');
    return State().AppPath + QStringLiteral("Phonetic Symbols/") + s.left(1).toUpper() + QLatin1Char('/') + s.chopped(1)
        + tone + QStringLiteral(".wav");
}

int CorrectnessRate(qint64 right, qint64 wrong)
{
    const qint64 total = right + wrong;
    if (total <= 0)
        return 0;
    const qint64 scaled = right * 100;
    qint64 q = scaled / total;
    const qint64 twice = 2 * (scaled % total);
    if (twice > total || (twice == total && q % 2 != 0))
        ++q;
    return static_cast<int>(q);
}

QString CountersLine(qint32 correct, qint32 wrong, int rate)
{
    return QStringLiteral("Correct: %1 , Wrong: %2 , Correctness Rate: %3 %").arg(correct).arg(wrong).arg(rate);
}

QVector<TypingCandidate> FindTypingCandidates(const QString& typed, const QVector<CharacterRecord>& table, int count)
{
    QVector<TypingCandidate> out;
    if (typed.isEmpty())
        return out;
    const std::span<const CharacterRecord> records(table.constData(), size_t(std::clamp<qsizetype>(count, 0, table.size())));
    auto add = [&out](const CharacterRecord& r, const CharacterReading& reading) {
        out.append({r.Character, reading.Letter, reading.Syllable, reading.Tone, reading.SoundTone});
    };
    for (const CharacterRecord& r : records)
        for (const CharacterReading& reading : r.Readings)
            if (reading.Syllable == typed) {
                add(r, reading);
                break;
            }
    for (const CharacterRecord& r : records)
        for (const CharacterReading& reading : r.Readings)
            if (reading.Syllable.startsWith(typed) && reading.Syllable != typed) {
                add(r, reading);
                break;
            }
    return out;
}

int CandidatePageCount(int count) { return count <= 0 ? 0 : (count + PinyinInput::PageSize - 1) / PinyinInput::PageSize; }

bool PinyinInput::Append(QChar letter)
{
    if (m_typed.size() >= MaxLetters)
        return false;
    m_typed += letter.toLower();
    Search();
    return true;
}

bool PinyinInput::Delete()
{
    if (m_typed.isEmpty())
        return false;
    m_typed.chop(1);
    if (!m_typed.isEmpty()) {
        Search();
        return true;
    }
    m_candidates.clear();
    m_page = m_pageCount = 0;
    m_pageText.clear();
    m_hint = TypingTexts::TypeHint();
    return true;
}

void PinyinInput::Search()
{
    m_candidates = FindTypingCandidates(m_typed, std::as_const(State().CharacterTable), State().CharacterCount);
    m_page = 1;
    m_pageCount = CandidatePageCount(int(m_candidates.size()));
    if (m_candidates.isEmpty()) {
        m_page = 0;
        m_pageText.clear();
        m_hint = TypingTexts::NoSuchPinyin();
        return;
    }
    ShowPage(false);
}

int PinyinInput::OnPage() const
{
    return std::clamp(int(m_candidates.size()) - FirstOnPage(), 0, PageSize);
}

void PinyinInput::ShowPage(bool pagingHint)
{
    m_pageText.clear();
    for (int k = 1; k <= OnPage(); ++k)
        m_pageText += QStringLiteral(" %1 %2 ").arg(k).arg(m_candidates[FirstOnPage() + k - 1].Character);
    const bool several = m_pageCount > 1;
    if (several)
        m_pageText += QStringLiteral(" +/-");
    // Searching compares the list's first candidate, paging the page's first.
    const TypingCandidate& first = m_candidates[pagingHint ? FirstOnPage() : 0];
    if (first.Character == m_asked)
        m_hint = TypingTexts::PressSpace();
    else
        m_hint = several ? TypingTexts::PressPageOrNumber() : TypingTexts::PressNumber();
}

bool PinyinInput::NextPage()
{
    if (m_page < 1 || m_page >= m_pageCount || m_pageText.isEmpty())
        return false;
    ++m_page;
    ShowPage(true);
    return true;
}

bool PinyinInput::PreviousPage()
{
    if (m_page <= 1 || m_pageText.isEmpty())
        return false;
    --m_page;
    ShowPage(true);
    return true;
}

const TypingCandidate* PinyinInput::Pick(int k) const
{
    if (m_pageText.isEmpty() || k < 1 || k > PageSize)
        return nullptr;
    const int index = FirstOnPage() + k - 1;
    if (index >= m_candidates.size())
        return nullptr;
    return &m_candidates[index];
}

void PinyinInput::Clear()
{
    m_typed.clear();
    m_candidates.clear();
    m_page = m_pageCount = 0;
    m_pageText.clear();
}
