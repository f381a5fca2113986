#include "CharacterTable.h"

#include <array>

#include "TextFilters.h"

namespace {

// Whether the index still knows the table: the table shares the records the index last saw,
// and neither its size nor its count has changed since. Any change to the table made through
// a non-const access parts it from the index's copy (copy on write).
bool IndexKnowsTable()
{
    const AppState& s = State();
    const CharacterIndex& index = s.CharacterLookup;
    return s.CharacterTable.constData() == index.Seen.constData() && s.CharacterTable.size() == index.Seen.size()
        && s.CharacterCount == index.SeenCount;
}

// The index forgets the table's records, so that the table's own functions can change them
// without a copy; TakeNotice sees the table again afterwards.
void LetGoOfTable()
{
    State().CharacterLookup.Seen = {};
}

void TakeNotice()
{
    AppState& s = State();
    s.CharacterLookup.Seen = s.CharacterTable;
    s.CharacterLookup.SeenCount = s.CharacterCount;
}

// Brings the index up to the table: a table changed behind the index's back is indexed
// afresh; records appended since the last call are added (a character keeps the position of
// its first record).
void SyncIndex()
{
    AppState& s = State();
    CharacterIndex& index = s.CharacterLookup;
    if (!IndexKnowsTable()) {
        index.First.clear();
        index.Covered = 0;
        TakeNotice();
    }
    const qsizetype count = qMin<qsizetype>(s.CharacterCount, s.CharacterTable.size());
    for (qsizetype i = index.Covered; i < count; ++i) {
        const QString& c = s.CharacterTable.at(i).Character;
        if (!index.First.contains(c))
            index.First.insert(c, int(i + 1));
    }
    index.Covered = count;
}

// One shared copy of each one-letter text that recurs in every reading (tone digits, first
// letters), so that 3500 characters do not each hold copies of their own, and so that
// building a reading allocates nothing for them.
QString SharedLetter(QChar c)
{
    static const std::array<QString, 128> letters = [] {
        std::array<QString, 128> all;
        for (char16_t u = 0; u < 128; ++u)
            all[u] = QString(QChar(u));
        return all;
    }();
    return c.unicode() < letters.size() ? letters[c.unicode()] : QString(c);
}

int NotFound()
{
    return State().CharacterCount + 1;
}

// A new phrase goes before the first phrase that is strictly shorter, so that phrases stand
// longest first; a phrase equal to one passed on the way is not added again.
void InsertPhrase(CharacterRecord& record, const QString& rest)
{
    qsizetype place = 0;
    for (; place < record.Phrases.size(); ++place) {
        const QString& phrase = record.Phrases.at(place);
        if (phrase.size() < rest.size())
            break;
        if (phrase == rest)
            return;
    }
    if (record.Phrases.size() >= TableLimit)
        return;
    record.Phrases.insert(place, rest);
}

} // namespace

int FindCharacterRecord(const QString& ch)
{
    SyncIndex();
    const CharacterIndex& index = State().CharacterLookup;
    const auto it = index.First.constFind(ch);
    return it == index.First.constEnd() ? NotFound() : it.value();
}

int FindCharacterRecordLinear(const QString& ch)
{
    const AppState& s = State();
    const qsizetype count = qMin<qsizetype>(s.CharacterCount, s.CharacterTable.size());
    for (qsizetype i = 0; i < count; ++i)
        if (s.CharacterTable.at(i).Character == ch)
            return int(i + 1);
    return NotFound();
}

bool AppendCharacterRecord(CharacterRecord record)
{
    AppState& s = State();
    const qsizetype count = qMin<qsizetype>(s.CharacterCount, s.CharacterTable.size());
    if (count >= TableLimit)
        return false;
    // Records appended here are indexed by the next look-up; records 1..count stay as they
    // are, so the index keeps what it knows of them.
    const bool known = IndexKnowsTable();
    LetGoOfTable();
    s.CharacterTable.resize(count);
    s.CharacterTable.append(std::move(record));
    s.CharacterCount = qint16(count + 1);
    if (known)
        TakeNotice();
    return true;
}

CharacterReading MakeReading(const QString& dottedSyllable, QChar tone)
{
    CharacterReading r;
    r.DottedSyllable = dottedSyllable;
    r.Syllable = StripPunctuation(dottedSyllable);
    // The sound folder is the first letter of the plain syllable, so that a syllable
    // written with its tone vowel first (".er2") still finds its folder.
    if (!r.Syllable.isEmpty())
        r.Letter = SharedLetter(r.Syllable.front());
    if (tone.isNull()) {
        r.Tone = SharedLetter(QLatin1Char('0'));
    } else {
        r.Tone = SharedLetter(tone);
        r.SoundTone = SharedLetter(tone == QLatin1Char('0') ? QLatin1Char('1') : tone);
        r.MarkTone = r.Tone;
    }
    return r;
}

QVector<CharacterReading> ReadingsFromSyllables(const QString& pinyin)
{
    QVector<CharacterReading> readings;
    QString collected;
    for (const QChar c : pinyin) {
        if (c == QLatin1Char(' ') || c == QLatin1Char(','))
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            collected += c;
            continue;
        }
        if (readings.size() >= TableLimit)
            break;
        readings.append(MakeReading(collected, c));
        collected.clear();
    }
    return readings;
}

void AddWordToCharacterTable(const QString& word, const QString& pinyin)
{
    if (word.isEmpty() || HasNonHanzi(word))
        return;
    AppState& s = State();
    // A character beyond U+FFFF is one character of two units: split by units, two such
    // characters would share the record of their common first half.
    const QStringList characters = TextCharacters(word);
    if (characters.size() < 2) {
        if (pinyin.isEmpty() || FindCharacterRecord(word) <= s.CharacterCount)
            return;
        CharacterRecord record;
        record.Character = word;
        record.Readings = ReadingsFromSyllables(pinyin);
        AppendCharacterRecord(std::move(record));
        return;
    }
    const QString& first = characters.first();
    const QString rest = word.mid(first.size());
    const int found = FindCharacterRecord(first);
    if (found <= s.CharacterCount) {
        // A phrase leaves the record's character as it was: the index stays right.
        LetGoOfTable();
        InsertPhrase(s.CharacterTable[found - 1], rest);
        TakeNotice();
        return;
    }
    // A new first character takes the reading of the word's first syllable only.
    const QVector<CharacterReading> readings = ReadingsFromSyllables(pinyin);
    if (readings.isEmpty())
        return;
    CharacterRecord record;
    record.Character = first;
    record.Readings = {readings.first()};
    record.Phrases.append(rest);
    AppendCharacterRecord(std::move(record));
}
