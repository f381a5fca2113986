#include "TextFilters.h"

#include "BlankTrim.h"

#include <algorithm>

namespace {
constexpr char16_t kNonChineseMarks[] = {
    u'\uFF0C', u'\u3002', u'\uFF1B', u'\uFF1A', u'\u201C', u'\u201D', u'\uFF01', u'\uFF1F', u'\u3001', u'\u2026',
    u'\uFF08', u'\uFF09', u'\u2018', u'\u2019', u'\u3010', u'\u3011', u'\u300A', u'\u300B', u'\u2014', u'\u00B7',
};

// text less the characters isRemoved picks; text itself (shared, not copied) when it holds none.
template <typename Predicate>
QString Without(const QString& text, Predicate isRemoved)
{
    const auto first = std::find_if(text.cbegin(), text.cend(), isRemoved);
    if (first == text.cend())
        return text;
    QString out(text.size(), Qt::Uninitialized);
    const auto end = std::remove_copy_if(first, text.cend(), std::copy(text.cbegin(), first, out.begin()), isRemoved);
    out.truncate(end - out.cbegin());
    return out;
}
} // namespace

bool IsChineseCharacter(QChar c)
{
    const auto value = static_cast<qint16>(c.unicode());
    if (value >= 0 && value <= 500)
        return false;
    for (const char16_t mark : kNonChineseMarks)
        if (c.unicode() == mark)
            return false;
    return true;
}

QString PadNumber(qint16 n)
{
    const QString digits = QString::number(n);
    if (n < 10)
        return QStringLiteral("  ") + digits;
    if (n < 100)
        return QStringLiteral(" ") + digits;
    return digits;
}

QString StripPunctuation(const QString& text)
{
    return Without(text, [](QChar c) {
        switch (c.unicode()) {
        case u'/': case u'.': case u'(': case u')': case u'\\':
        case u'\uFF1F': case u'\uFF01': case u'\uFF0C': case u'\uFF08': case u'\uFF09': case u'\u3002':
            return true;
        default:
            return false;
        }
    });
}

QString StripBracketsAndMarks(const QString& text)
{
    return Without(text, [](QChar c) {
        switch (c.unicode()) {
        case u'(': case u')': case u'\uFF1F': case u'\uFF01': case u'\uFF0C':
            return true;
        default:
            return false;
        }
    });
}

QString StripParenthesized(const QString& text)
{
    QString out;
    bool inside = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('('))
            inside = true;
        else if (c == QLatin1Char(')'))
            inside = false;
        else if (!inside && c != QLatin1Char(';'))
            out += c;
    }
    return BlankTrim(out);
}

bool HasNonHanzi(const QString& text)
{
    for (const QChar c : text)
        if (!IsChineseCharacter(c))
            return true;
    return false;
}

QString HanziOnly(const QString& text)
{
    QString out;
    for (const QChar c : text)
        if (IsChineseCharacter(c))
            out += c;
    return out;
}

QStringList TextCharacters(const QString& text)
{
    QStringList out;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        out.append(text.mid(i, length));
        i += length;
    }
    return out;
}

QString CollapseSpaces(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (c != QLatin1Char(' ') || out.isEmpty() || out.back() != QLatin1Char(' '))
            out += c;
    return out;
}

QString WeekdayText(bool chinese, qint16 day)
{
    static const char16_t* const english[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednsday", u"Thursday", u"Friday",
        u"Saturday"};
    static const char16_t* const digits[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
    if (day < 1 || day > 7)
        return {};
    if (chinese)
        return QStringLiteral("星期") + QString::fromUtf16(digits[day - 1]);
    return QString::fromUtf16(english[day - 1]);
}
