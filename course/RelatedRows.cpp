#include "RelatedRows.h"

#include "AppState.h"
#include "BlankTrim.h"
#include "Pinyin.h"
#include "SyllableQueue.h"
#include "TextFilters.h"

namespace {

constexpr int ReviewLimit = 20;
constexpr int WordLimit = 10;

// A vocabulary entry as the review lists it: its pinyin only while it lies within the count
// the pinyin table was loaded for.
RelatedRow ExpressionRow(int entry)
{
    const AppState& s = State();
    RelatedRow row;
    row.Chinese = s.WordText[0].value(entry - 1);
    if (entry <= s.WordCountCopy) {
        row.HiddenPinyin = s.WordPinyin.value(entry - 1);
        row.Pinyin = NumberedToMarkedPinyin(row.HiddenPinyin);
    }
    row.English = BlankTrim(s.WordText[1].value(entry - 1));
    row.SourceKind = s.WordSource[0].value(entry - 1);
    row.SourceNumber = s.WordSource[1].value(entry - 1);
    return row;
}

// A row of the lesson's words, or of the vocabulary where the typing task asks for no pinyin.
RelatedRow WordRow(int entry, bool showPinyin, bool fromLesson)
{
    const AppState& s = State();
    if (!fromLesson) {
        RelatedRow row = ExpressionRow(entry);
        if (!showPinyin)
            row.Pinyin.clear();
        return row;
    }
    RelatedRow row;
    const QString numbered = s.LessonWords[2].value(entry - 1);
    row.Chinese = s.LessonWords[0].value(entry - 1);
    row.Pinyin = NumberedToMarkedPinyin(numbered);
    row.English = s.LessonWords[1].value(entry - 1);
    row.HiddenPinyin = StripPunctuation(numbered);
    row.SourceKind = 1;
    row.SourceNumber = s.ViewedLesson;
    return row;
}

bool ReviewLists(const QString& word, const QString& english, const QString& entryChinese, const QString& entryEnglish)
{
    const bool otherMeaning = entryEnglish != english;
    if (word.size() == 1) {
        if (entryChinese.size() == 1)
            return entryChinese == word && otherMeaning;
        return entryChinese.contains(word) && otherMeaning;
    }
    if (word.size() > 1) {
        if (entryChinese.size() == 1)
            return word.contains(entryChinese);
        if (entryChinese.isEmpty())
            return false;
        return otherMeaning && (entryChinese.back() == word.back() || entryChinese.front() == word.front());
    }
    return false;
}

} // namespace

QList<RelatedRow> ReviewRelatedRows(const QString& word, const QString& english)
{
    const AppState& s = State();
    QList<RelatedRow> rows;
    for (int k = 1; k <= s.WordCount && rows.size() < ReviewLimit; ++k) {
        if (ReviewLists(word, english, s.WordText[0].value(k - 1), BlankTrim(s.WordText[1].value(k - 1))))
            rows.append(ExpressionRow(k));
    }
    return rows;
}

QList<RelatedRow> TypingRelatedRows(const QString& word, bool showPinyin)
{
    const AppState& s = State();
    QList<RelatedRow> rows;
    for (int k = 1; k <= s.WordCount && rows.size() < WordLimit; ++k) {
        if (s.WordText[0].value(k - 1).contains(word))
            rows.append(WordRow(k, showPinyin, false));
    }
    return rows;
}

QList<RelatedRow> ReadAfterRelatedRows(const QString& word, bool showPinyin, int entry, bool fromLesson,
                                       bool wholeWord)
{
    const AppState& s = State();
    QList<RelatedRow> rows{WordRow(entry, showPinyin, fromLesson)};
    if (!wholeWord)
        return rows;
    const QStringList& table = fromLesson ? s.LessonWords[0] : s.WordText[0];
    const int last = fromLesson ? s.LessonWordCount : s.LessonEntryCount;
    for (int k = 1; k <= last && rows.size() < WordLimit; ++k) {
        if (k != entry && StripParenthesized(table.value(k - 1)).contains(word))
            rows.append(WordRow(k, showPinyin, fromLesson));
    }
    return rows;
}

WordSound SoundOfWord(const QString& chinese, const QString& numberedPinyin)
{
    WordSound sound;
    if (StripPunctuation(chinese).size() != 1) {
        sound.Sequence = true;
        sound.Pinyin = StripPunctuation(numberedPinyin);
        return sound;
    }
    QString syllable = numberedPinyin;
    sound.Tone = QStringLiteral("0");
    if (!numberedPinyin.isEmpty() && numberedPinyin.back().isDigit()) {
        sound.Tone = numberedPinyin.back();
        syllable = StripPunctuation(numberedPinyin);
        if (syllable.endsWith(u'0'))
            syllable.back() = u'1'; // the neutral tone plays the first-tone recording
    }
    sound.Path = SyllableSoundPath(syllable);
    return sound;
}
