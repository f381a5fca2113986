#include "OnlineCache.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QtEndian>

#include "BlankTrim.h"
#include "CharacterTable.h"
#include "LoadingSteps.h"
#include "Module3Rtf.h"
#include "MsgBox.h"
#include "OnlineRules.h"
#include "Pinyin.h"
#include "RecordFolder.h"
#include "ResultPage.h"
#include "SafeFile.h"
#include "TextFilters.h"

namespace {

const QString& WordFile()
{
    static const QString name = QStringLiteral("wangci.txt");
    return name;
}

const QString& CountFile()
{
    static const QString name = QStringLiteral("Cang.vmq");
    return name;
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool EndsLine(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('#');
}

QString ChineseCachedRtf(const OnlineWord& record, const QString& sourceLabel)
{
    QString line, pinyin, meanings, examples;
    bool bracket = false;
    for (const QChar ch : record.Entry) {
        if (EndsLine(ch)) {
            if (meanings.isEmpty())
                meanings = line;
            else if (!BlankTrim(line).isEmpty())
                examples += ExampleLineRtf(line, 0, 10);
            line.clear();
            bracket = false;
            continue;
        }
        line += ch;
        if (bracket) {
            pinyin += ch;
            // The heading word and the bracket leave the line.
            if (IsDigit(ch) || ch == QLatin1Char(']')) {
                bracket = false;
                line.clear();
            }
        } else if (pinyin.isEmpty() && ch == QLatin1Char('[')) {
            bracket = true;
            pinyin = QStringLiteral(" [");
        }
    }
    return RtfDictionaryEntry(record.Word, pinyin, BlankTrim(meanings), sourceLabel, examples, 12);
}

QString PinyinCachedRtf(const OnlineWord& record, const QString& sourceLabel)
{
    const QString& entry = record.Entry;
    QString line;
    for (qsizetype i = 0; i < entry.size(); ++i) {
        const QChar ch = entry.at(i);
        if (ch == QLatin1Char(':') || ch == QLatin1Char('#')) {
            if (i + 1 < entry.size() && entry.at(i + 1) == QLatin1Char('#'))
                break;
            continue;
        }
        line += ch;
    }
    return RtfQueryEntryNoExamples(record.Word, BlankTrim(line), sourceLabel);
}

QString OtherCachedRtf(const OnlineWord& record, const QString& sourceLabel)
{
    QString line, meanings, examples;
    // The first character is the blank that followed the colon.
    for (qsizetype i = 1; i < record.Entry.size(); ++i) {
        const QChar ch = record.Entry.at(i);
        if (!EndsLine(ch)) {
            line += ch;
            continue;
        }
        if (meanings.isEmpty())
            meanings = line;
        else if (!BlankTrim(line).isEmpty())
            examples += ExampleLineRtf(line, 2, 0);
        line.clear();
    }
    return RtfQueryEntry(record.Word, BlankTrim(meanings), sourceLabel, examples, 7);
}

} // namespace

QString StoredEntryText(const QString& shownWithoutHeading, const QString& sourceLabel)
{
    const QString& text = shownWithoutHeading;
    const QString mark = QStringLiteral("    ") + sourceLabel;
    const qsizetype p = text.indexOf(mark, 0, Qt::CaseInsensitive);
    if (p < 0)
        return text;
    QString entry;
    if (p > 0)
        entry = text.left(p) + QLatin1Char('#');

    QString rest = text.mid(p + mark.size());
    rest.remove(QLatin1Char('\n'));
    const QStringList lines = rest.split(QLatin1Char('\r'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.contains(QLatin1String("Example Sentences:"), Qt::CaseInsensitive))
            continue;
        const QString trimmed = BlankTrim(line);
        const bool last = i == lines.size() - 1; // no carriage return after it
        if (last && trimmed.isEmpty())
            continue;
        entry += trimmed + QLatin1Char('#');
    }
    return entry;
}

QString ShownReading(const QString& shown)
{
    QString reading;
    bool collecting = false;
    for (const QChar ch : shown) {
        if (ch == QLatin1Char('#'))
            break;
        if (!collecting) {
            if (ch == QLatin1Char('[') && reading.isEmpty())
                collecting = true;
            continue;
        }
        if (IsDigit(ch) || ch == QLatin1Char(']'))
            break;
        reading += ch;
    }
    return reading;
}

QString CachedResultRtf(const OnlineWord& record, const QString& query, const QString& sourceLabel)
{
    if (IsChineseQuery(query))
        return ChineseCachedRtf(record, sourceLabel);
    if (IsPinyinQuery(query))
        return PinyinCachedRtf(record, sourceLabel);
    return OtherCachedRtf(record, sourceLabel);
}

OnlineCache::OnlineCache(QString sourceLabel)
    : m_sourceLabel(std::move(sourceLabel))
    , m_savedWordCount(State().OnlineWordCount)
    , m_fileRecords(State().OnlineWordCount)
{
}

void OnlineCache::AddCacheEntry(const QString& word, const QString& shown)
{
    AppState& s = State();
    // The file separates an entry's lines with "#": a "#" of the result's own would read back
    // as a line end ("#" alone as a meaning reads back as none). Such a result is shown and,
    // like one the full table has no room for, asked for again at its next look-up.
    const bool storable = !word.isEmpty() && !word.contains(QLatin1Char(':')) && !word.contains(QLatin1Char('\r'))
        && !word.contains(QLatin1Char('\n')) && !shown.mid(word.size()).contains(QLatin1Char('#'));
    const QString entry = storable ? StoredEntryText(shown.mid(word.size()), m_sourceLabel) : QString();
    if (storable && EntryHasMeaning(entry)) {
        const qsizetype count = qMin<qsizetype>(s.OnlineWordCount, s.OnlineWordTable.size());
        qsizetype empty = 0;
        while (empty < count
            && (s.OnlineWordTable.at(empty).Word.compare(word, Qt::CaseInsensitive) != 0
                || EntryHasMeaning(s.OnlineWordTable.at(empty).Entry)))
            ++empty;
        if (empty < count) {
            s.OnlineWordTable[empty] = OnlineWord{word, entry};
            m_replaced = true;
        } else if (s.OnlineWordCount < OnlineTableLimit) {
            s.OnlineWordTable.resize(s.OnlineWordCount);
            s.OnlineWordTable.append(OnlineWord{word, entry});
            ++s.OnlineWordCount;
            if (s.OnlineWordCount - m_savedWordCount >= SaveEvery && SaveCache())
                m_savedWordCount = s.OnlineWordCount;
        }
    }
    if (!HasNonHanzi(word))
        AddWordToCharacterTable(word, MarkedToNumberedPinyin(BlankTrim(ShownReading(shown))));
}

bool OnlineCache::SaveCache()
{
    const AppState& s = State();
    const qint16 count = s.OnlineWordCount;
    bool ok = true;
    // An empty table writes nothing, and makes no Record folder either: after an uninstall
    // the window's unload must not bring back the folder just removed.
    if (count > 0) {
        EnsureRecordFolder();
        QByteArray record(2, '\0');
        qToLittleEndian<qint16>(count, record.data());
        if (!SafeFile::WriteRecord(RecordPath(CountFile()), 2, 1, record)) {
            Warn(SafeFile::WriteFailure());
            ok = false;
        }
    }
    const bool textDue = count > m_savedWordCount || m_replaced || (count >= 1 && !QFileInfo::exists(RecordPath(WordFile())));
    if (!textDue) {
        m_warned = m_warned && !ok;
        return ok;
    }
    QStringList lines;
    const qsizetype records = qMin<qsizetype>(count, s.OnlineWordTable.size());
    for (qsizetype i = 0; i < records; ++i) {
        const OnlineWord& w = s.OnlineWordTable.at(i);
        // One line per record: a line break inside an entry would split it when read back.
        QString entry = BlankTrim(w.Entry);
        entry.replace(QStringLiteral("\r\n"), QStringLiteral("#")).replace(QLatin1Char('\r'), QLatin1Char('#'))
            .replace(QLatin1Char('\n'), QLatin1Char('#'));
        lines.append(w.Word + QStringLiteral(": ") + entry);
    }
    // Every line holds its colon, so there is text to write whenever there is a record.
    if (!lines.isEmpty() && !WriteWords(lines))
        ok = false;
    m_warned = m_warned && !ok;
    return ok;
}

bool OnlineCache::WriteWords(const QStringList& lines)
{
    // The file holds no more than its reader takes back: the records that fit, in table order.
    qsizetype fitting = 0;
    const QByteArray data = SafeFile::EncodeTextLines(lines, SafeFile::MaxTextFileBytes, &fitting);
    if (fitting < m_fileRecords) {
        // Fewer records than the file holds now: it stays as it is.
        Warn(WordFile() + QStringLiteral(" would hold fewer words than it does: it would be larger than the %1 MB that "
                                         "can be read back.").arg(SafeFile::MaxTextFileBytes >> 20));
        return false;
    }
    EnsureRecordFolder();
    if (!SafeFile::WriteAll(RecordPath(WordFile()), data)) {
        Warn(SafeFile::WriteFailure());
        return false;
    }
    m_fileRecords = fitting;
    m_replaced = false;
    if (fitting < lines.size() && !m_toldFull) {
        m_toldFull = true;
        MsgBox::Warning(QStringLiteral("The words looked up on-line are kept in %1, which can hold no more than %2 MB. "
                                       "The words looked up last (%3) are shown, but not kept for the next start.")
                            .arg(QDir::toNativeSeparators(RecordPath(WordFile())))
                            .arg(SafeFile::MaxTextFileBytes >> 20)
                            .arg(lines.size() - fitting));
    }
    return true;
}

void OnlineCache::Warn(const QString& reason)
{
    // One warning says it; a warning on every later look-up would only repeat it.
    if (m_warned)
        return;
    m_warned = true;
    ShowDiskWriteWarning(RecordFolder(), reason);
}
