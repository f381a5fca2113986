#include "VocabularySearch.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <numeric>

#include "AppState.h"
#include "TextFilters.h"

namespace {

constexpr int LessonCount = 91;
constexpr qsizetype KeyLength = 3;

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsLatinLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

// One unit as the case-insensitive comparisons fold it (a surrogate stays itself).
char16_t FoldUnit(char16_t u)
{
    if (u < 0x80)
        return u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
    return char16_t(QChar::toCaseFolded(char32_t(u)));
}

// A key of two or three units, folded, as one number: no string per key.
quint64 KeyCode(QStringView key)
{
    quint64 code = quint64(key.size()) << 48;
    for (qsizetype i = 0; i < key.size(); ++i)
        code |= quint64(FoldUnit(key[i].unicode())) << (16 * (2 - i));
    return code;
}

// A hash of the folded text: words with the same folding share it (and a few others, which
// the check of every candidate drops).
size_t FoldedHash(QStringView s)
{
    size_t h = 14695981039346656037ull;
    for (const QChar c : s)
        h = (h ^ FoldUnit(c.unicode())) * 1099511628211ull;
    return h;
}

bool HasSurrogates(QStringView s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isSurrogate(); });
}

QString PaddedPinyin(const QString& pinyin)
{
    const QString stripped = StripPunctuation(pinyin);
    QString padded(stripped.size() + 2, Qt::Uninitialized);
    padded.front() = padded.back() = QLatin1Char(' ');
    std::copy(stripped.begin(), stripped.end(), padded.begin() + 1);
    return padded;
}

bool ContainsIgnoringCase(const QString& haystack, const QString& needle)
{
    return haystack.contains(needle, Qt::CaseInsensitive);
}

// The two needles of an English query: the word as a whole word or phrase, closed by a blank
// or by ";".
struct EnglishNeedles {
    explicit EnglishNeedles(const QString& word)
        : Blank(QLatin1Char(' ') + word + QLatin1Char(' '))
        , Semicolon(QLatin1Char(' ') + word + QLatin1Char(';'))
    {
    }
    bool Match(const QString& english) const
    {
        return ContainsIgnoringCase(english, Blank) || ContainsIgnoringCase(english, Semicolon);
    }
    QString Blank;
    QString Semicolon;
};

QString PinyinNeedle(const QString& word)
{
    return QLatin1Char(' ') + CollapseSpaces(word) + QLatin1Char(' ');
}

int EntryCount(const AppState& s)
{
    // The lists may be shorter than the count while a test or a half-finished load says so.
    int n = s.WordCount;
    for (const auto& list : s.WordText)
        n = std::min<int>(n, int(list.size()));
    n = std::min<int>(n, int(s.WordPinyin.size()));
    for (const auto& list : s.WordSource)
        n = std::min<int>(n, int(list.size()));
    return std::max(n, 0);
}

bool InLessonRange(double n)
{
    return n >= 1 && n <= LessonCount;
}

// Every key of two and three characters that starts right after a blank.
template <typename Add>
void KeysAfterBlanks(QStringView text, Add add)
{
    for (qsizetype p = 0; p < text.size(); ++p) {
        if (text[p] != QLatin1Char(' '))
            continue;
        for (qsizetype length = 2; length <= KeyLength; ++length)
            if (p + 1 + length <= text.size())
                add(KeyCode(text.sliced(p + 1, length)));
    }
}

void AddPosting(QVector<int>& list, int entry)
{
    if (list.isEmpty() || list.back() != entry)
        list.append(entry);
}

QVector<int> MergeUnique(const QVector<int>& a, const QVector<int>& b)
{
    QVector<int> out;
    out.reserve(a.size() + b.size());
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

QVector<int> AllEntries(int count)
{
    QVector<int> all(count);
    std::iota(all.begin(), all.end(), 1);
    return all;
}

// The entries that may hold needle (which starts with a blank) after a blank: every blank of
// the needle stands before a key that such an entry holds, and the rarest key is kept. A
// character beyond U+FFFF folds as a pair in the comparison, not unit by unit: a key ends
// before it, and is kept while it still has two units.
QVector<int> Candidates(const QHash<quint64, QVector<int>>& keys, const QString& needle, int count)
{
    const QVector<int>* rarest = nullptr;
    for (qsizetype p = 0; p < needle.size(); ++p) {
        if (needle[p] != QLatin1Char(' ') || needle.size() - (p + 1) < 2)
            continue;
        QStringView key = QStringView(needle).sliced(p + 1, std::min(KeyLength, needle.size() - (p + 1)));
        key = key.first(std::find_if(key.begin(), key.end(), [](QChar c) { return c.isSurrogate(); }) - key.begin());
        if (key.size() < 2)
            continue;
        const auto it = keys.constFind(KeyCode(key));
        if (it == keys.cend())
            return {};
        if (!rarest || it->size() < rarest->size())
            rarest = &*it;
    }
    return rarest ? *rarest : AllEntries(count);
}

} // namespace

bool ReadsAsNumber(const QString& text, double* value)
{
    const QStringView t = BlankTrim(QStringView(text));
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    while (i < t.size() && IsDigit(t[i]))
        ++i, ++digits;
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        ++i;
        while (i < t.size() && IsDigit(t[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < t.size() && (t[j] == QLatin1Char('+') || t[j] == QLatin1Char('-')))
            ++j;
        const qsizetype expStart = j;
        while (j < t.size() && IsDigit(t[j]))
            ++j;
        if (j == expStart)
            return false;
        i = j;
    }
    if (i != t.size())
        return false;
    if (value) {
        bool ok = false;
        *value = QLocale::c().toDouble(t, &ok);
        if (!ok) // beyond the range of a double: far outside any lesson either way
            *value = t.startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL;
    }
    return true;
}

VocabularyQuery ClassifyQuery(const QString& word)
{
    VocabularyQuery q;
    q.Word = word;
    if (word.isEmpty())
        return q;
    double value = 0;
    if (IsDigit(word.back()) && ReadsAsNumber(word, &value)) {
        q.Kind = QueryKind::LessonNumber;
        q.Lesson = std::floor(value);
        // Any size of number is a query like another: outside 1..91 it simply finds nothing.
        if (std::isfinite(q.Lesson) && std::abs(q.Lesson) < 9.0e15)
            q.Word = QString::number(qint64(q.Lesson));
        else
            q.Word = QLocale::c().toString(q.Lesson, 'f', 0);
    } else if (IsDigit(word.back())) {
        q.Kind = QueryKind::Pinyin;
    } else if (IsLatinLetter(word.front())) {
        q.Kind = QueryKind::English;
    }
    return q;
}

QVector<int> SearchVocabularyLinear(const AppState& s, const VocabularyQuery& query, bool exact)
{
    QVector<int> hits;
    const int count = EntryCount(s);
    if (query.Word.isEmpty())
        return hits;
    switch (query.Kind) {
    case QueryKind::LessonNumber:
        if (!InLessonRange(query.Lesson))
            return hits;
        for (int k = 1; k <= count && s.WordSource[0][k - 1] == 1; ++k)
            if (s.WordSource[1][k - 1] == query.Lesson)
                hits.append(k);
        break;
    case QueryKind::Pinyin: {
        const QString needle = PinyinNeedle(query.Word);
        for (int k = 1; k <= count; ++k)
            if (ContainsIgnoringCase(PaddedPinyin(s.WordPinyin[k - 1]), needle))
                hits.append(k);
        break;
    }
    case QueryKind::English: {
        const EnglishNeedles needles(query.Word);
        for (int k = 1; k <= count; ++k)
            if (needles.Match(s.WordText[1][k - 1]))
                hits.append(k);
        break;
    }
    case QueryKind::Chinese:
        for (int k = 1; k <= count; ++k) {
            const QString& chinese = s.WordText[0][k - 1];
            if (exact ? chinese.compare(query.Word, Qt::CaseInsensitive) == 0
                      : ContainsIgnoringCase(StripBracketsAndMarks(chinese), query.Word))
                hits.append(k);
        }
        break;
    }
    return hits;
}

VocabularyIndex::Signature VocabularyIndex::SignatureOf(const AppState& s)
{
    return Signature{s.WordCount, s.WordText[0].constData(), s.WordText[1].constData(), s.WordPinyin.constData(),
        s.WordSource[0].constData(), s.WordSource[1].constData()};
}

bool VocabularyIndex::Follows(const AppState& s) const
{
    return m_signature == SignatureOf(s);
}

void VocabularyIndex::Build(const AppState& s)
{
    *this = VocabularyIndex();
    const int count = EntryCount(s);
    m_pinyin.reserve(count);
    m_chinese.reserve(count);
    m_lessons.resize(LessonCount + 1);
    bool leadingLessons = true;
    for (int k = 1; k <= count; ++k) {
        const int i = k - 1;
        m_pinyin.append(PaddedPinyin(s.WordPinyin[i]));
        m_chinese.append(StripBracketsAndMarks(s.WordText[0][i]));
        KeysAfterBlanks(m_pinyin.back(), [&](quint64 key) { AddPosting(m_pinyinKeys[key], k); });
        KeysAfterBlanks(s.WordText[1][i], [&](quint64 key) { AddPosting(m_englishKeys[key], k); });
        for (const QChar c : std::as_const(m_chinese.back()))
            AddPosting(m_chineseChars[FoldUnit(c.unicode())], k);
        AddPosting(m_exact[FoldedHash(s.WordText[0][i])], k);
        leadingLessons = leadingLessons && s.WordSource[0][i] == 1;
        if (leadingLessons && InLessonRange(s.WordSource[1][i]))
            m_lessons[s.WordSource[1][i]].append(k);
    }
    m_signature = SignatureOf(s);
}

QVector<int> VocabularyIndex::Search(const AppState& s, const VocabularyQuery& query, bool exact) const
{
    const QString& word = query.Word;
    if (word.isEmpty())
        return {};
    const int count = std::min<int>(EntryCount(s), int(m_pinyin.size()));

    QVector<int> candidates;
    std::function<bool(int)> matches;
    switch (query.Kind) {
    case QueryKind::LessonNumber:
        if (!InLessonRange(query.Lesson))
            return {};
        return m_lessons[int(query.Lesson)];
    case QueryKind::Pinyin: {
        const QString needle = PinyinNeedle(word);
        candidates = Candidates(m_pinyinKeys, needle, count);
        matches = [&, needle](int k) { return ContainsIgnoringCase(m_pinyin[k - 1], needle); };
        break;
    }
    case QueryKind::English: {
        const EnglishNeedles needles(word);
        candidates = MergeUnique(Candidates(m_englishKeys, needles.Blank, count),
            Candidates(m_englishKeys, needles.Semicolon, count));
        matches = [&, needles](int k) { return needles.Match(s.WordText[1][k - 1]); };
        break;
    }
    case QueryKind::Chinese:
        if (exact) {
            candidates = HasSurrogates(word) ? AllEntries(count) : m_exact.value(FoldedHash(word));
            matches = [&](int k) { return s.WordText[0][k - 1].compare(word, Qt::CaseInsensitive) == 0; };
        } else {
            if (HasSurrogates(word)) {
                candidates = AllEntries(count);
            } else {
                // The rarest character of the word: every hit holds it.
                const QVector<int>* rarest = nullptr;
                for (const QChar c : word) {
                    const auto it = m_chineseChars.constFind(FoldUnit(c.unicode()));
                    if (it == m_chineseChars.cend())
                        return {};
                    if (!rarest || it->size() < rarest->size())
                        rarest = &*it;
                }
                candidates = *rarest;
            }
            matches = [&](int k) { return ContainsIgnoringCase(m_chinese[k - 1], word); };
        }
        break;
    }
    QVector<int> hits;
    for (const int k : std::as_const(candidates))
        if (k <= count && matches(k))
            hits.append(k);
    return hits;
}

void VocabularySearch::Prepare(const AppState& s)
{
    if (!m_index.Follows(s))
        m_index.Build(s);
}

QVector<int> VocabularySearch::Search(const AppState& s, const VocabularyQuery& query, bool exact)
{
    Prepare(s);
    return m_index.Search(s, query, exact);
}
