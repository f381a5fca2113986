#include "DictionaryRules.h"

#include "AppState.h"
#include "Module3Rtf.h"
#include "Pinyin.h"
#include "SyllableQueue.h"
#include "TextFilters.h"

namespace {

constexpr int ExampleLimit = 10;
constexpr int EntryIndent = 15;

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The number a column holds, as the old list read it: blanks around it allowed, 0 otherwise.
int ColumnNumber(const QString& column)
{
    bool ok = false;
    const int n = BlankTrim(column).toInt(&ok);
    return ok ? n : 0;
}

EntrySound SoundOf(const HitRow& row)
{
    EntrySound sound;
    if (StripPunctuation(row.Chinese).size() != 1) {
        sound.Play = EntrySound::SyllableQueue;
        sound.Sequence = StripPunctuation(row.Pinyin);
        return sound;
    }
    sound.Play = EntrySound::SyllableFile;
    if (!row.Pinyin.isEmpty() && IsDigit(row.Pinyin.back())) {
        sound.Tone = row.Pinyin.back();
        sound.Syllable = StripPunctuation(row.Pinyin);
        // The light tone has no recording of its own: the first tone's stands in.
        if (sound.Tone == QLatin1String("0"))
            sound.Syllable.back() = QLatin1Char('1');
    } else {
        sound.Tone = QStringLiteral("0");
        sound.Syllable = row.Pinyin;
    }
    sound.Path = SyllableSoundPath(sound.Syllable);
    return sound;
}

} // namespace

HitRow MakeHitRow(int hitNumber, int entry)
{
    const AppState& s = State();
    const int i = entry - 1;
    return HitRow{PadNumber(qint16(hitNumber)), s.WordText[0].value(i), s.WordText[1].value(i), s.WordPinyin.value(i),
        QString::number(s.WordSource[0].value(i)), QString::number(s.WordSource[1].value(i))};
}

QString HiddenExamplesRtf()
{
    return QStringLiteral("\\cf3\\f2\\fs20 ") + QString(14, QLatin1Char(' ')) + QStringLiteral("(being hid)\\par");
}

QString StripParentheses(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (const QChar c : s)
        if (c != QLatin1Char('(') && c != QLatin1Char(')') && c != QChar(0xFF08) && c != QChar(0xFF09))
            out += c;
    return out;
}

QString LocateTarget(const QString& headword)
{
    QString part;
    bool bracketed = false;
    for (const QChar c : headword) {
        if (c == QLatin1Char('(')) {
            bracketed = true;
        } else if (c == QLatin1Char(')') || c == QLatin1Char('.')) {
            if (c == QLatin1Char(')'))
                bracketed = false;
            if (!part.isEmpty())
                return part;
        } else if (!bracketed) {
            part += c;
        }
    }
    return part;
}

LocateStep LocateNext(const QString& target, const QString& entryText, int locateFrom, int searchBoxLength)
{
    LocateStep step;
    if (target.isEmpty())
        return step;
    qsizetype at = entryText.indexOf(target, std::max(locateFrom, 1) - 1, Qt::CaseInsensitive);
    if (at < 0) {
        step.LocateFrom = searchBoxLength + 1;
        at = entryText.indexOf(target, std::max(step.LocateFrom, 1) - 1, Qt::CaseInsensitive);
        if (at < 0)
            return step;
    }
    step.Found = true;
    step.SelStart = int(at);
    step.SelLength = int(target.size());
    step.LocateFrom = int(at + target.size() + 1);
    return step;
}

bool AddSearchHistory(QStringList& history, const QString& word)
{
    for (const QString& entry : std::as_const(history))
        if (entry.compare(word, Qt::CaseInsensitive) == 0)
            return false;
    history.prepend(word);
    return true;
}

void DictionaryRules::PrepareSearch()
{
    m_search.Prepare(State());
}

SearchOutcome DictionaryRules::Search(QString& word, bool exact)
{
    SearchOutcome out;
    // The search box takes the word first; the tests below read it back from there.
    out.SearchBoxText = word;
    if (word == QStringView(NoHitSearchText) || word.isEmpty() || word == LastSearchWord
        || word == QStringView(InitialSearchText)) {
        out.FocusSearchBox = !Inactive;
        return out;
    }
    LocateFrom = int(word.size()) + 1;

    const AppState& s = State();
    const VocabularyQuery query = ClassifyQuery(word);
    word = query.Word;
    const QVector<int> entries = m_search.Search(s, query, exact);
    if (entries.isEmpty()) {
        out.Result = SearchOutcome::NotFound;
        ShowingHits = false;
        out.SearchBoxText = QString::fromUtf16(NoHitSearchText);
        LastSearchWord.clear();
        return out;
    }

    out.Result = SearchOutcome::Found;
    out.Rows.reserve(entries.size());
    for (int k = 0; k < entries.size(); ++k)
        out.Rows.append(MakeHitRow(k + 1, entries[k]));
    ShowingHits = true;
    out.HistoryAdded = AddSearchHistory(History, word);
    if (out.HistoryAdded)
        out.SearchBoxText = word;
    LastSearchWord = word;
    ExampleCache = QStringList(entries.size());

    if (s.VocabularyTestOpen) {
        // The word under test is shown as the viewed lesson teaches it.
        for (int k = 0; k < out.Rows.size() && !out.OpenRow; ++k)
            if (ColumnNumber(out.Rows[k].Origin2) == s.ViewedLesson)
                out.OpenRow = k + 1;
        out.ScrollIntoView = out.OpenRow != 0;
    } else {
        for (int k = 0; k < out.Rows.size() && !out.OpenRow; ++k)
            if (out.Rows[k].Chinese == word)
                out.OpenRow = k + 1;
    }
    return out;
}

QString DictionaryRules::FindExampleSentences(const QString& word, int index)
{
    const bool cached = index >= 1 && index <= ExampleCache.size();
    if (cached && !ExampleCache[index - 1].isEmpty())
        return ExampleCache[index - 1];

    const QStringList parts = StripParentheses(word).split(QLatin1Char('.'), Qt::SkipEmptyParts);
    QString lines;
    int found = 0;
    // A headword with nothing left to look for has no examples (rather than every sentence).
    if (!parts.isEmpty()) {
        const AppState& s = State();
        const int count = std::min<int>(s.SentenceCount, int(s.SentenceTable.size()));
        const QChar lead = parts.front().front();
        for (int k = 0; k < count && found < ExampleLimit; ++k) {
            const SentenceRecord& sentence = s.SentenceTable[k];
            // Most sentences lack even the first character: a scan for it rules them out at
            // a fraction of the cost of the whole search.
            if (!sentence.Chinese.contains(lead))
                continue;
            qsizetype from = 0;
            bool all = true;
            for (const QString& part : parts) {
                const qsizetype at = sentence.Chinese.indexOf(part, from);
                if (at < 0) {
                    all = false;
                    break;
                }
                from = at + part.size();
            }
            if (!all)
                continue;
            ++found;
            lines += RtfExampleChineseLine(QStringLiteral("%1").arg(found, 2, 10, QLatin1Char('0')) + QChar(0xFF09)
                                               + sentence.Chinese,
                         0)
                + RtfExampleEnglishLine(sentence.English, 14);
        }
    }
    const QString result = found ? lines : QStringLiteral("0");
    if (cached)
        ExampleCache[index - 1] = result;
    return result;
}

std::optional<EntryView> DictionaryRules::ShowHit(const HitRow& row, const EntryContext& context)
{
    if (!ShowingHits)
        return std::nullopt;
    EntryView view;
    const bool quiet = context.SharedPlayerPlaying || context.PopupVisible || context.CurrentActivity == 6
        || context.CurrentActivity == 3;
    if (!quiet)
        view.Sound = SoundOf(row);

    const QString marked = NumberedToMarkedPinyin(row.Pinyin);
    const QString pinyinPart = marked.isEmpty() ? QString() : QStringLiteral(" [") + marked + QLatin1Char(']');
    const int kind = ColumnNumber(row.Origin1);
    const QString source = kind == 1 ? QStringLiteral("[Lesson ") + row.Origin2 + QLatin1Char(']')
        : kind == 2                  ? QStringLiteral("[Additional Vocabulary]")
                                     : QString();
    if (context.QuizOpen) {
        view.Rtf = RtfDictionaryEntry(row.Chinese, pinyinPart, row.English, source, HiddenExamplesRtf(), EntryIndent);
    } else {
        const QString examples = FindExampleSentences(row.Chinese, ColumnNumber(row.Index));
        if (examples.isEmpty() || examples == QLatin1String("0"))
            view.Rtf = RtfDictionaryEntry(row.Chinese, pinyinPart, row.English, source, QString(), EntryIndent);
        else if (context.CurrentActivity == 3)
            view.Rtf = RtfDictionaryEntry(row.Chinese, pinyinPart, QString(), QString(), examples, EntryIndent);
        else
            view.Rtf = RtfDictionaryEntry(row.Chinese, pinyinPart, row.English, source, examples, EntryIndent);
    }
    LocateFrom = int(row.Chinese.size()) + 1;
    return view;
}
