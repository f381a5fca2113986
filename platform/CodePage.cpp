#include "CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QVector>

namespace {
// Two-byte codes that GB18030 gave characters but code page 936 leaves empty (the euro sign,
// two pinyin letters, ideographic description marks, radicals and extension-A characters):
// a 936 peer cannot read them.
bool OnlyInGb18030(quint16 code)
{
    return code == 0xA2E3 || code == 0xA8BC || code == 0xA8BF || (code >= 0xA989 && code <= 0xA995)
           || (code >= 0xFE50 && code <= 0xFEA0);
}

// One table of the 936 two-byte codes of the BMP, built once from the GB18030 converter.
// 0 means "not in 936".
const QVector<quint16>& Table()
{
    static const QVector<quint16> table = [] {
        QVector<quint16> t(65536, 0);
        QStringEncoder enc("GB18030");
        for (int u = 0x80; u < 0x10000; ++u) {
            if ((u >= 0xD800 && u <= 0xDFFF) || (u >= 0xE000 && u <= 0xF8FF))
                continue; // surrogates; private use (the user-defined areas)
            const QChar ch(static_cast<char16_t>(u));
            QByteArray b = enc.encode(QStringView(&ch, 1));
            if (b.size() != 2)
                continue;
            const auto lead = static_cast<quint8>(b[0]);
            const auto trail = static_cast<quint8>(b[1]);
            if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail == 0x7F || trail > 0xFE)
                continue;
            const auto code = static_cast<quint16>(lead << 8 | trail);
            if (!OnlyInGb18030(code))
                t[u] = code;
        }
        return t;
    }();
    return table;
}

// The same table the other way: the character of each two-byte code (0: none).
const QVector<char16_t>& Reverse()
{
    static const QVector<char16_t> reverse = [] {
        QVector<char16_t> r(65536, 0);
        const QVector<quint16>& t = Table();
        for (int u = 0x80; u < 0x10000; ++u) {
            if (t[u])
                r[t[u]] = static_cast<char16_t>(u);
        }
        return r;
    }();
    return reverse;
}
} // namespace

namespace CodePage {
QByteArray ToGbk(const QString& text)
{
    QStringEncoder enc("GB18030");
    QByteArray out = enc.encode(text);
    return out;
}

QString FromGbk(const QByteArray& bytes)
{
    QStringDecoder dec("GB18030");
    QString out = dec.decode(bytes);
    return out;
}

std::optional<QByteArray> To936(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out += static_cast<char>(u);
            continue;
        }
        const quint16 code = Table()[u];
        if (!code)
            return std::nullopt; // surrogate halves never have a code either
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
    return out;
}

std::optional<QString> From936(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<quint8>(bytes[i]);
        if (lead < 0x80) {
            out += QChar(lead);
            continue;
        }
        if (i + 1 == bytes.size())
            return std::nullopt;
        const char16_t u = Reverse()[lead << 8 | static_cast<quint8>(bytes[++i])];
        if (!u)
            return std::nullopt;
        out += QChar(u);
    }
    return out;
}

QString Outside936(const QString& text)
{
    QString outside;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!To936(character) && !outside.contains(character))
            outside += character;
        i += length - 1;
    }
    return outside;
}

qint16 AnsiCode(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return static_cast<qint16>(u);
    const quint16 code = Table()[u];
    return code ? static_cast<qint16>(code) : static_cast<qint16>('?');
}

bool InCodePage(QChar c) { return c.unicode() < 0x80 || Table()[c.unicode()] != 0; }
bool IsDoubleByte(QChar c) { return c.unicode() >= 0x80 && Table()[c.unicode()] != 0; }

bool SystemCanShowChinese()
{
    if (!qEnvironmentVariableIsEmpty("VELMORA_FORCE_CODEPAGE_FAILURE"))
        return false;
    return AnsiCode(QChar(0x65F6)) == -13647;
}
} // namespace CodePage
