#include "ResultPage.h"

#include <algorithm>
#include <optional>

#include "BlankTrim.h"
#include "Module3Rtf.h"
#include "OnlineRules.h"
#include "TextFilters.h"

const char* const CannotFindServerText = "Cannot find server!";
const char* const NotFoundText = "Sorry, it is not found.";
const char* const TooLargeText = "Sorry, the entry is too large to show.";

namespace {

// The page with 1-based positions, as the markers and their offsets count them. Positions
// are 64-bit: long pages are read whole.
class Page {
public:
    explicit Page(const QString& html)
        : m_html(html)
    {
    }

    qsizetype Length() const { return m_html.size(); }
    QChar At(qsizetype i) const { return m_html.at(i - 1); }

    // Position of marker at or after start (ignoring case), 0 when absent.
    qsizetype Find(QLatin1String marker, qsizetype start = 1) const
    {
        if (start < 1 || start > m_html.size())
            return 0;
        return m_html.indexOf(marker, start - 1, Qt::CaseInsensitive) + 1;
    }
    bool Contains(QLatin1String marker) const { return Find(marker) > 0; }

    // Whether the text from position i is marker (ignoring case).
    bool At(qsizetype i, QLatin1String marker) const
    {
        return i >= 1 && QStringView(m_html).mid(i - 1, marker.size()).compare(marker, Qt::CaseInsensitive) == 0;
    }

    // count characters from position i (fewer near the end).
    QString Mid(qsizetype i, qsizetype count) const
    {
        if (i < 1 || i > m_html.size())
            return QString();
        return m_html.mid(i - 1, count);
    }

private:
    const QString& m_html;
};

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// What a result may still take from its page (ResultTextLimit). Once it is spent the reading
// stops, and what was read is never shown.
class Allowance {
public:
    // False once more than the limit has been taken.
    bool Take(qsizetype count)
    {
        m_left -= count;
        return m_left >= 0;
    }
    bool Spent() const { return m_left < 0; }

private:
    qsizetype m_left{ResultTextLimit};
};

// The character a numeric entity names, read as far as its text is decimal: 0 for no number
// (nothing to add), none for a number beyond Unicode (the page cannot be read). Surrogate
// codes name no character and count as 0.
std::optional<char32_t> EntityCode(const QString& number)
{
    quint32 code = 0;
    for (const QChar c : number) {
        if (!IsDigit(c))
            break;
        code = code * 10 + quint32(c.unicode() - '0');
        if (code > 0x10FFFF)
            return std::nullopt;
    }
    if (code >= 0xD800 && code <= 0xDFFF)
        return 0;
    return code;
}

// Example lines between "Examples:" and the next "</table>", as RTF fragments; each line
// takes its text, the larger of the two indents and its end from the allowance.
QString ReadExamples(const Page& page, int chineseIndent, int englishIndent, Allowance& allowance)
{
    const qsizetype x = page.Find(QLatin1String("Examples:"));
    if (x == 0)
        return QString();
    const qsizetype e = page.Find(QLatin1String("</table>"), x);
    QString examples;
    QString line;
    bool inTag = false;
    for (qsizetype i = x + 9; i <= e; ++i) {
        const QChar ch = page.At(i);
        if (ch == QLatin1Char('<')) {
            inTag = true;
            if (page.At(i, QLatin1String("<br>")) && !BlankTrim(line).isEmpty()) {
                if (!allowance.Take(std::max(chineseIndent, englishIndent) + 1))
                    return QString();
                examples += ExampleLineRtf(line, chineseIndent, englishIndent);
                line.clear();
            }
        } else if (ch == QLatin1Char('>')) {
            inTag = false;
        } else if (ch == QLatin1Char('&')) {
            // Two hard blanks are skipped; a lone "&" is dropped and what follows is text.
            if (page.At(i, QLatin1String("&nbsp;&nbsp;")))
                i += 11;
        } else if (!inTag) {
            if (!allowance.Take(1))
                return QString();
            line += ch;
        }
    }
    return examples;
}

// A pinyin query: the words linked in the service's list, each once. Every word read takes
// its length and a blank from the allowance, listed or not: however many links a page
// repeats, the list is searched at most ResultTextLimit / 2 times.
std::optional<QString> WordListLayout(const Page& page, const QString& query, const QString& sourceLabel,
    Allowance& allowance)
{
    qsizetype syllables = 1;
    for (qsizetype i = 0; i < query.size(); ++i)
        if (query.at(i) == QLatin1Char(' ') && (i == 0 || query.at(i - 1) != QLatin1Char(' ')))
            ++syllables;
    const QString heading = CollapseSpaces(query);

    qsizetype s = page.Find(QLatin1String("Result of Pin1 Yin1 search:")) + 27;
    const qsizetype e = page.Find(QLatin1String("</table>"), s);
    QString list;
    while (s <= e) {
        const qsizetype a = page.Find(QLatin1String("</a>"), s);
        if (a == 0)
            return std::nullopt;
        qsizetype g = a - 2;
        while (g >= 1 && page.At(g) != QLatin1Char('>'))
            --g;
        if (g < 1)
            return std::nullopt;
        const QString word = page.Mid(g + 1, syllables);
        if (!allowance.Take(word.size() + 1))
            return std::nullopt;
        if (!list.contains(word, Qt::CaseInsensitive) || list.isEmpty())
            list += word + QLatin1Char(' ');
        s = a + 31;
    }

    const qsizetype bracket = sourceLabel.indexOf(QLatin1Char('['));
    if (BlankTrim(list) == sourceLabel.mid(bracket + 1, 2))
        return RtfRedSans12(QLatin1String(NotFoundText));
    return RtfQueryEntryNoExamples(heading, list, sourceLabel);
}

std::optional<QString> EnglishLayout(const Page& page, const QString& query, const QString& sourceLabel,
    Allowance& allowance)
{
    const qsizetype e = page.Find(QLatin1String("</big>")) - 1;
    QString list;
    QString item;
    int counter = 0;
    bool inTag = false;
    for (qsizetype i = page.Find(QLatin1String("<big>")) + 5; i <= e; ++i) {
        const QChar ch = page.At(i);
        if (ch == QLatin1Char('<')) {
            ++counter;
            const QString number = QString::number(counter);
            if (!allowance.Take(number.size() + 5)) // the item itself is counted as it is read
                return std::nullopt;
            list += number + QStringLiteral(") ") + item + QStringLiteral(";  ");
            item.clear();
            inTag = true;
        } else if (ch == QLatin1Char('>')) {
            inTag = false;
        } else if (!inTag) {
            if (!allowance.Take(1))
                return std::nullopt;
            item += ch;
        }
    }
    return RtfQueryEntry(query, BlankTrim(list), sourceLabel, ReadExamples(page, 1, 0, allowance), 7);
}

std::optional<QString> ChineseLayout(const Page& page, const QString& query, const QString& sourceLabel,
    Allowance& allowance)
{
    // The pronunciation, written as numeric character entities.
    QString pinyinPart;
    const qsizetype p = page.Find(QLatin1String("pronounce>"));
    if (p > 0) {
        const qsizetype e = page.Find(QLatin1String("</span>"), p) - 3;
        QString text;
        QString number;
        bool inEntity = false;
        for (qsizetype i = p + 12; i <= e; ++i) {
            const QChar ch = page.At(i);
            // Counted as the page writes it: entities and all.
            if (!allowance.Take(1))
                return std::nullopt;
            if (ch == QLatin1Char('&')) {
                inEntity = true;
                number.clear();
                ++i; // the "#"
            } else if (ch == QLatin1Char(';')) {
                const std::optional<char32_t> code = EntityCode(number);
                if (!code)
                    return std::nullopt;
                if (*code != 0)
                    text += QString::fromUcs4(&*code, 1);
                inEntity = false;
                number.clear();
            } else if (inEntity) {
                number += ch;
            } else {
                text += ch;
            }
        }
        if (!text.isEmpty())
            pinyinPart = QStringLiteral(" [") + text + QLatin1Char(']');
    }

    // The meanings, every "<br>" turned into a separator; text after the last tag counts too.
    QString meanings;
    const qsizetype e = page.Find(QLatin1String("</big>")) - 1;
    bool inTag = false;
    for (qsizetype i = page.Find(QLatin1String("<big>")) + 5; i <= e; ++i) {
        const QChar ch = page.At(i);
        if (ch == QLatin1Char('<')) {
            inTag = true;
            if (page.At(i, QLatin1String("<br>"))) {
                if (!allowance.Take(3))
                    return std::nullopt;
                meanings += QStringLiteral(";  ");
            }
        } else if (ch == QLatin1Char('>')) {
            inTag = false;
        } else if (!inTag) {
            if (!allowance.Take(1))
                return std::nullopt;
            meanings += ch;
        }
    }
    return RtfDictionaryEntry(query, pinyinPart, meanings, sourceLabel, ReadExamples(page, 0, 10, allowance), 12);
}

} // namespace

QString ExampleLineRtf(const QString& line, int chineseIndent, int englishIndent)
{
    return HanziOnly(line).isEmpty() ? RtfExampleEnglishLine(line, englishIndent) : RtfExampleChineseLine(line, chineseIndent);
}

QString HtmlToRtf(const QString& html, const QString& query, const QString& sourceLabel)
{
    const Page page(html);
    if (page.Contains(QLatin1String("The page cannot be displayed")))
        return RtfRedSans12(QLatin1String(CannotFindServerText));
    if (page.Contains(QLatin1String("Are you looking for:")) || page.Contains(QLatin1String("Sorry, word not found!")))
        return RtfRedSans12(QLatin1String(NotFoundText));
    Allowance allowance;
    std::optional<QString> rtf;
    if (IsChineseQuery(query))
        rtf = ChineseLayout(page, query, sourceLabel, allowance);
    else if (page.Contains(QLatin1String("Result of Pin1 Yin1 search:")))
        rtf = WordListLayout(page, query, sourceLabel, allowance);
    else
        rtf = EnglishLayout(page, query, sourceLabel, allowance);
    if (allowance.Spent())
        return RtfRedSans12(QLatin1String(TooLargeText));
    return rtf.value_or(QString());
}
