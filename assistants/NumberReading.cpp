#include "NumberReading.h"

#include <cmath>

namespace {

double Floor(double x) { return std::floor(x); }
double Mod(double x, double m) { return x - Floor(x / m) * m; }

QChar LastCode(const QString& codes) { return codes.isEmpty() ? QChar() : codes.back(); }

// The place before the group mark just appended ("w", "y" or "z") held a zero when the group
// ended in 百, 千 or 十.
bool GroupEndedInZero(const QString& codes)
{
    if (codes.size() < 2)
        return false;
    const QChar before = codes.at(codes.size() - 2);
    return before == u'b' || before == u'q' || before == u's';
}

} // namespace

QString NumberReader::CodeToCharacter(QChar code)
{
    static const QString digits = QStringLiteral("零一二三四五六七八九");
    if (code >= u'0' && code <= u'9')
        return digits.mid(code.unicode() - u'0', 1);
    switch (code.unicode()) {
    case u'a': return QStringLiteral("一");
    case u'v': return QStringLiteral("五");
    case u'i': return QStringLiteral("九");
    case u'l':
    case u'n': return QStringLiteral("两");
    case u'b': return QStringLiteral("百");
    case u'q': return QStringLiteral("千");
    case u's': return QStringLiteral("十");
    case u'w': return QStringLiteral("万");
    case u'y': return QStringLiteral("亿");
    case u'z': return QStringLiteral("兆");
    case u'd': return QStringLiteral("点");
    case u'f': return QStringLiteral("负");
    case u't': return QStringLiteral("第");
    case u'p': return QStringLiteral("百分之");
    default: return QString();
    }
}

QString NumberReader::EnglishOrdinal(int n)
{
    static const char* const first[] = {
        "first", "second", "third", "fourth", "fifth", "sixth", "seventh", "eighth",
        "ninth", "tenth", "eleventh", "twelth", "thirteenth", "fourteenth", "fifteenth",
        "sixteenth", "seventeenth", "eighteenth", "nineteenth", "twentieth", "twenty-first",
        "twenty-second", "twenty-third"};
    static const char* const tens[] = {"thirtieth", "fortieth", "fiftieth", "sixtieth",
                                       "seventieth", "eightieth", "ninetieth", "hundredth"};
    if (n >= 1 && n <= 23)
        return QStringLiteral("the ") + QLatin1String(first[n - 1]);
    if (n >= 30 && n <= 100 && n % 10 == 0)
        return QStringLiteral("the ") + QLatin1String(tens[n / 10 - 3]);
    return QString();
}

QString NumberReader::DecimalText(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0)
        return QStringLiteral("0");
    // The 15 significant digits, rounded once, and the power of ten of the first: the digit
    // count comes from this text, never from a logarithm, which rounds 9999999999999.99 up to
    // a fourteenth integer digit.
    const QString scientific = QString::number(std::fabs(value), 'e', 14); // "d.dddddddddddddde+x"
    const qsizetype e = scientific.indexOf(u'e');
    const QString digits = scientific.left(1) + scientific.mid(2, e - 2);
    const int integerDigits = scientific.mid(e + 1).toInt() + 1;
    QString text;
    if (integerDigits <= 0)
        text = QStringLiteral("0.") + QString(-integerDigits, u'0') + digits;
    else if (integerDigits >= digits.size())
        text = digits + QString(integerDigits - digits.size(), u'0');
    else
        text = digits.left(integerDigits) + u'.' + digits.mid(integerDigits);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    if (text == QStringLiteral("0"))
        return text;
    return value < 0 ? u'-' + text : text;
}

void NumberReader::Start(const QString& prefix)
{
    SoundCodes = prefix;
    GroupLevel = 1;
    GroupRemainder = 0;
    NumberParts = {};
    Finished = false;
}

void NumberReader::ZeroRule()
{
    if (SoundCodes.isEmpty() || SoundCodes == u"f" || SoundCodes == u"t" || SoundCodes == u"p")
        return;
    if (SoundCodes.endsWith(u'0'))
        return;
    SoundCodes += u'0';
}

void NumberReader::ReadNumber(double n)
{
    const bool hasGroupMark = SoundCodes.contains(u'w') || SoundCodes.contains(u'y')
                              || SoundCodes.contains(u'z');
    if (n < 10) {
        GroupLevel = 1;
        ReadDigit(n);
    } else if (n < 20 && !hasGroupMark) {
        GroupLevel = 1;
        ReadTeens(n);
    } else if (n < 100) {
        GroupLevel = 1;
        ReadTens(n);
    } else if (n < 1e4) {
        GroupLevel = 1;
        ReadThousands(n);
    } else {
        // One group of four digits at a time, from the highest one that holds the number.
        static const double bounds[] = {1e8, 1e12, 1e16};
        for (int level = 2; level <= 4; ++level) {
            if (n >= bounds[level - 2])
                continue;
            const double unit = std::pow(10.0, 4 * (level - 1));
            const double q = Floor(n / unit);
            GroupLevel = static_cast<qint16>(level);
            GroupRemainder = n - q * unit;
            ReadThousands(q);
            return;
        }
        // 10^16 or more reads nothing.
    }
}

void NumberReader::ReadThousands(double x)
{
    const double r = Mod(x, 1000);
    if (x != 0) {
        if (x < 1000) {
            ZeroRule();
        } else {
            const int t = static_cast<int>(Floor(x / 1000));
            SoundCodes += t == 2 ? QStringLiteral("nq") : QString::number(t) + u'q';
        }
    }
    ReadHundreds(r);
}

void NumberReader::ReadHundreds(double x)
{
    const double r = Mod(x, 100);
    if (x != 0) {
        if (x < 100) {
            ZeroRule();
        } else {
            const int h = static_cast<int>(Floor(x / 100));
            if (h == 2)
                SoundCodes += QStringLiteral("lb");
            else if (h == 5)
                SoundCodes += QStringLiteral("vb");
            else if (h == 9)
                SoundCodes += QStringLiteral("ib");
            else if (h == 1 && SoundCodes.startsWith(u'p'))
                SoundCodes += u'b'; // 百分之百, not 百分之一百
            else
                SoundCodes += QString::number(h) + u'b';
        }
    }
    ReadTens(r);
}

void NumberReader::ReadTens(double x)
{
    const double r = Mod(x, 10);
    if (x != 0) {
        if (x < 10) {
            ZeroRule();
        } else {
            const int t = static_cast<int>(Floor(x / 10));
            if (GroupLevel != 1 && t == 1 && LastCode(SoundCodes) != u'b')
                SoundCodes += u's'; // 十五万
            else
                SoundCodes += QString::number(t) + u's';
        }
    }
    ReadDigit(r);
}

void NumberReader::ReadTeens(double x)
{
    SoundCodes += u's';
    ReadDigit(Mod(x, 10));
}

void NumberReader::ReadDigit(double x)
{
    const int digit = static_cast<int>(x);
    if (digit == 0) {
        if (SoundCodes.isEmpty() || SoundCodes == u"f")
            SoundCodes += u'0';
    } else if (GroupLevel != 1 && digit == 2) {
        SoundCodes += LastCode(SoundCodes) == u's' ? u'2' : u'n';
    } else {
        SoundCodes += QChar(u'0' + digit);
    }

    if (GroupLevel == 1) {
        if (NumberParts[1] == u".") {
            // 5 and 9 before 点 have recordings of their own.
            if (!SoundCodes.isEmpty() && NumberParts[0].endsWith(u'5'))
                SoundCodes.back() = u'v';
            else if (!SoundCodes.isEmpty() && NumberParts[0].endsWith(u'9'))
                SoundCodes.back() = u'i';
            SoundCodes += u'd';
            SoundCodes += NumberParts[2];
        }
        Finished = true;
        return;
    }

    static const char marks[] = {'w', 'y', 'z'};
    static const double zeroBounds[] = {1e3, 1e7, 1e11};
    const int group = GroupLevel - 2;
    GroupLevel = static_cast<qint16>(GroupLevel - 1);
    SoundCodes += QLatin1Char(marks[group]);
    const double remainder = GroupRemainder;
    if ((remainder > 0 && remainder < zeroBounds[group])
        || (remainder > 0 && GroupEndedInZero(SoundCodes)))
        SoundCodes += u'0';
    ReadNumber(remainder);
}

QString NumberReader::ReadCardinal(double value)
{
    Start(value < 0 ? QStringLiteral("f") : QString());
    const QString s = DecimalText(std::fabs(value));
    const qsizetype point = s.indexOf(u'.');
    if (point < 0)
        NumberParts = {s, QString(), QString()};
    else if (point == 0)
        NumberParts = {QStringLiteral("0"), QStringLiteral("."), s.mid(1)};
    else
        NumberParts = {s.left(point), QStringLiteral("."), s.mid(point + 1)};
    ReadNumber(NumberParts[0].toDouble());
    return SoundCodes;
}

QString NumberReader::ReadOrdinal(double value)
{
    Start(QStringLiteral("t"));
    ReadNumber(std::nearbyint(value));
    return SoundCodes;
}

QString NumberReader::ReadPercent(double value)
{
    Start(QStringLiteral("p"));
    ReadNumber(value);
    return SoundCodes;
}

QString NumberReader::ReadTelephone(const QString& text)
{
    QString codes;
    for (QChar c : text) {
        if (c == u'1')
            codes += u'a';
        else if (c >= u'0' && c <= u'9')
            codes += c;
    }
    return codes;
}

QString NumberReader::Read(Mode mode, const QString& text)
{
    if (mode == Telephone) {
        Start(QString());
        SoundCodes = ReadTelephone(text);
        Finished = true;
        return SoundCodes;
    }
    const double value = ParseNumber(text).value_or(0);
    switch (mode) {
    case Ordinal: return ReadOrdinal(value);
    case Percent: return ReadPercent(value);
    default: return ReadCardinal(value);
    }
}

std::optional<double> ParseNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && text.at(i) == u' ')
            ++i;
    };
    auto isDigit = [&](qsizetype k) { return k < n && text.at(k) >= u'0' && text.at(k) <= u'9'; };

    skipBlanks();
    bool negative = false;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
        skipBlanks();
    }

    QString digits;
    // Integer part: digits, grouped by thousands separators only where the groups are whole.
    qsizetype groupLength = 0;
    bool grouped = false;
    while (i < n) {
        if (isDigit(i)) {
            digits += text.at(i++);
            ++groupLength;
        } else if (text.at(i) == u',') {
            if (groupLength == 0 || (grouped && groupLength != 3) || (!grouped && groupLength > 3))
                return std::nullopt;
            grouped = true;
            groupLength = 0;
            ++i;
        } else {
            break;
        }
    }
    if (grouped && groupLength != 3)
        return std::nullopt;

    QString decimals;
    if (i < n && text.at(i) == u'.') {
        ++i;
        while (isDigit(i))
            decimals += text.at(i++);
    }
    skipBlanks();
    if (i != n || (digits.isEmpty() && decimals.isEmpty()))
        return std::nullopt;

    const QString plain = (digits.isEmpty() ? QStringLiteral("0") : digits)
                          + (decimals.isEmpty() ? QString() : u'.' + decimals);
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}
