#include "OnlineRules.h"

#include <QLocale>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "AppState.h"
#include "BlankTrim.h"
#include "SafeFile.h"
#include "TextFilters.h"

namespace OnlineService {

const char* const SettingFile = "OnlineService.txt";
const char* const DefaultAddress = "http://dictionary.example.org";

QString ServiceAddress()
{
    QString address = qEnvironmentVariable("VELMORA_ONLINE_SERVICE").trimmed();
    if (address.isEmpty()) {
        QByteArray text;
        if (SafeFile::ReadRegularHead(State().AppPath + QLatin1String(SettingFile), 64 * 1024, &text) == SafeFile::ReadStatus::Ok) {
            const QList<QByteArray> lines = text.split('\n');
            for (const QByteArray& line : lines) {
                address = QString::fromUtf8(line).trimmed();
                if (!address.isEmpty())
                    break;
            }
        }
    }
    if (address.isEmpty())
        address = QLatin1String(DefaultAddress);
    while (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return address;
}

QString SourceLabel()
{
    return QStringLiteral("[Lexicon Online]");
}

QString SearchAddress(const QString& serviceAddress, const QString& query)
{
    return serviceAddress + QStringLiteral("/en/search/?q=") + QString::fromLatin1(QUrl::toPercentEncoding(query))
        + QStringLiteral("&simple=1");
}

} // namespace OnlineService

QString WidenQuery(const QString& word, int charIndex, const QString& followingText, bool smart)
{
    const AppState& s = State();
    if (!smart || charIndex < 1 || charIndex > s.CharacterCount || charIndex > s.CharacterTable.size())
        return word;
    const CharacterRecord& record = s.CharacterTable.at(charIndex - 1);
    const qsizetype n = word.size() - 1;
    for (const QString& phrase : record.Phrases) {
        // Phrases stand longest first: the rest are shorter still.
        if (phrase.size() < n)
            break;
        const QString whole = record.Character + phrase;
        if (followingText.startsWith(whole))
            return whole;
    }
    return word;
}

bool EntryHasMeaning(const QString& entry)
{
    if (entry.size() > StoredEntryLimit)
        return false;
    // Where the English layout numbers an item ("1) "): at the start and after each ";".
    bool itemStart = true;
    for (qsizetype i = 0; i < entry.size(); ++i) {
        const QChar ch = entry.at(i);
        if (ch == QLatin1Char(';') || ch == QLatin1Char('#')) {
            itemStart = true;
            continue;
        }
        if (ch.isSpace())
            continue;
        if (itemStart && ch.isDigit()) {
            qsizetype end = i;
            while (end < entry.size() && entry.at(end).isDigit())
                ++end;
            if (end < entry.size() && entry.at(end) == QLatin1Char(')')) {
                i = end;
                itemStart = false;
                continue;
            }
        }
        return true;
    }
    return false;
}

int FindOnlineWord(const QString& query)
{
    const AppState& s = State();
    const qsizetype count = qMin<qsizetype>(s.OnlineWordCount, s.OnlineWordTable.size());
    for (qsizetype i = 0; i < count; ++i) {
        const OnlineWord& record = s.OnlineWordTable.at(i);
        if (record.Word.compare(query, Qt::CaseInsensitive) == 0 && EntryHasMeaning(record.Entry))
            return int(i + 1);
    }
    return 0;
}

bool IsChineseQuery(const QString& query)
{
    return !query.isEmpty() && query.at(0).unicode() > 256;
}

bool IsPinyinQuery(const QString& query)
{
    if (query.isEmpty() || IsChineseQuery(query))
        return false;
    const QChar last = query.back();
    if (last < QLatin1Char('0') || last > QLatin1Char('9'))
        return false;
    bool number = false;
    QLocale::c().toDouble(BlankTrim(query), &number);
    return !number;
}

int ProgressBarValue(qint64 progress, qint64 progressMax, int current)
{
    if (progress == -1)
        return 0;
    if (progress >= 1 && progressMax >= 1) {
        const double percent = std::nearbyint(double(progress) * 100.0 / double(progressMax));
        if (percent <= 100.0)
            return int(percent);
    }
    return current;
}

LocateResult LocateNext(const QString& boxText, const QString& query, int locateStart, const QString& searchBoxText)
{
    // A start before the text (the caret at 0 taken as a one-based start) searches from the top.
    auto find = [&](int start) -> qsizetype {
        return boxText.indexOf(query, std::max(start, 1) - 1, Qt::CaseInsensitive);
    };
    LocateResult result;
    result.locateStart = locateStart;
    qsizetype at = locateStart > boxText.size() + 1 ? -1 : find(locateStart);
    if (at < 0) {
        result.locateStart = int(searchBoxText.size()) + 1;
        at = result.locateStart > boxText.size() + 1 ? -1 : find(result.locateStart);
        if (at < 0)
            return result;
    }
    result.selStart = int(at);
    result.selLength = int(query.size());
    result.locateStart = int(at + 1 + query.size());
    return result;
}

void AddToHistory(QStringList& history, const QString& word)
{
    for (const QString& entry : history)
        if (entry.compare(word, Qt::CaseInsensitive) == 0)
            return;
    history.prepend(word);
}

SelectionLookup LookUpSelection(const QString& boxText, int selStart, int selLength, const QString& selText)
{
    SelectionLookup result;
    const QString s = BlankTrim(selText);
    if (s.isEmpty())
        return result;
    if (IsChineseQuery(s) && s.size() < 6) {
        result.fillSearchBox = true;
        result.searchText = s;
        if (s.size() == 1 && !HasNonHanzi(s)) {
            result.popup = true;
            if (selStart > 0)
                result.previous = boxText.mid(selStart - 1, 1);
            if (selStart < boxText.size() - 1)
                result.next = boxText.mid(selStart + std::max(selLength, 1), 1);
            if (HasNonHanzi(result.previous))
                result.previous.clear();
            if (HasNonHanzi(result.next))
                result.next.clear();
        }
    } else if (!IsChineseQuery(s) && s.size() < 20) {
        result.fillSearchBox = true;
        result.searchText = s;
    }
    result.moveCaret = true;
    result.caret = selStart + selLength;
    return result;
}
