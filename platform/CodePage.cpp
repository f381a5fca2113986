#include "CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QVector>

namespace {
// Code page 936 carries the euro sign as the single byte 0x80, which is never a lead byte there.
// GB18030 has no such byte: it writes the euro sign as A2E3, a code 936 leaves empty.
constexpr char16_t Euro = 0x20AC;
constexpr quint8 EuroByte = 0x80;

// Two-byte codes that GB18030 gave characters but code page 936 leaves empty (the euro sign,
// two pinyin letters, ideographic description marks, radicals and extension-A characters):
// a 936 peer cannot read them.
bool OnlyInGb18030(quint16 code)
{
    return code == 0xA2E3 || code == 0xA8BC || code == 0xA8BF || (code >= 0xA989 && code <= 0xA995)
           || (code >= 0xFE50 && code <= 0xFEA0);
}

// The 936 code of one character as the GB18030 converter writes it: its two bytes when they
// form a 936 double-byte code, else 0 ("not in 936": four-byte sequences, the user-defined
// areas' codes, the codes only GB18030 fills).
quint16 DoubleByteCode(QByteArrayView b)
{
    if (b.size() != 2)
        return 0;
    const auto lead = static_cast<quint8>(b[0]);
    const auto trail = static_cast<quint8>(b[1]);
    if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail == 0x7F || trail > 0xFE)
        return 0;
    const auto code = static_cast<quint16>(lead << 8 | trail);
    return OnlyInGb18030(code) ? 0 : code;
}

bool Skipped(int u)
{
    return (u >= 0xD800 && u <= 0xDFFF) || (u >= 0xE000 && u <= 0xF8FF); // surrogates; private use
}

// One table of the 936 codes of the BMP beyond ASCII, built once from the GB18030 converter:
// the two-byte codes, and the euro sign's single byte. 0 means "not in 936". The characters
// go through the converter in one piece (one character at a time costs the converter's set-up
// 63,000 times); GB18030 writes every one of them in two or four bytes, a four-byte sequence
// having a digit (0x30..0x39) as its second byte.
const QVector<quint16>& Table()
{
    static const QVector<quint16> table = [] {
        QVector<quint16> t(65536, 0);
        QString all;
        all.reserve(0x10000);
        for (int u = 0x80; u < 0x10000; ++u)
            if (!Skipped(u))
                all.append(QChar(static_cast<char16_t>(u)));
        QStringEncoder enc("GB18030");
        const QByteArray bytes = enc.encode(all);
        qsizetype at = 0;
        bool inStep = !enc.hasError();
        for (int u = 0x80; u < 0x10000 && inStep; ++u) {
            if (Skipped(u))
                continue;
            const bool fourBytes = at + 1 < bytes.size() && static_cast<quint8>(bytes[at + 1]) >= 0x30
                && static_cast<quint8>(bytes[at + 1]) <= 0x39;
            const qsizetype length = fourBytes ? 4 : 2;
            inStep = at + length <= bytes.size() && static_cast<quint8>(bytes[at]) >= 0x81;
            if (inStep)
                t[u] = DoubleByteCode(QByteArrayView(bytes).sliced(at, length));
            at += length;
        }
        if (inStep && at == bytes.size()) {
            t[Euro] = EuroByte;
            return t;
        }
        // A converter that writes otherwise: one character at a time.
        t.fill(0);
        QStringEncoder one("GB18030");
        for (int u = 0x80; u < 0x10000; ++u) {
            if (Skipped(u))
                continue;
            const QChar ch(static_cast<char16_t>(u));
            const QByteArray b = one.encode(QStringView(&ch, 1));
            t[u] = DoubleByteCode(b);
        }
        t[Euro] = EuroByte;
        return t;
    }();
    return table;
}

// The same table the other way: the character of each code (0: none).
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
    // One converter per thread: opening one costs more than encoding a short line, and files
    // are written line by line. It keeps nothing from one call to the next.
    thread_local QStringEncoder enc("GB18030", QStringConverter::Flag::Stateless);
    if (!text.contains(QChar(Euro))) {
        QByteArray out = enc.encode(text);
        return out;
    }
    // The euro sign as 936 writes it, so that what 936 reads is the same bytes as 936's own.
    QByteArray out;
    const QList<QStringView> pieces = QStringView(text).split(QChar(Euro));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            out += char(EuroByte);
        const QByteArray bytes = enc.encode(pieces[i]);
        out += bytes;
    }
    return out;
}

QString FromGbk(const QByteArray& bytes, bool* ok)
{
    // Stateless: a code cut short at the end is an error too, not a silent drop.
    QStringDecoder dec("GB18030", QStringConverter::Flag::Stateless);
    const auto checked = [&](QString text) {
        if (ok)
            *ok = !dec.hasError();
        return text;
    };
    if (!bytes.contains(char(EuroByte)))
        return checked(dec.decode(bytes));
    // A 0x80 that stands where a character begins is 936's euro sign (GB18030 would make it a
    // replacement character); as the second byte of a two-byte code it stays part of that code.
    QString out;
    out.reserve(bytes.size());
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<quint8>(bytes[i]);
        if (b == EuroByte) {
            out += dec.decode(QByteArrayView(bytes).sliced(start, i - start));
            out += QChar(Euro);
            start = ++i;
        } else if (b < 0x80 || b == 0xFF || i + 1 == bytes.size()) {
            ++i;
        } else {
            const auto next = static_cast<quint8>(bytes[i + 1]);
            i += (next >= 0x30 && next <= 0x39) ? 4 : 2; // GB18030's four-byte form has a digit second
        }
    }
    out += dec.decode(QByteArrayView(bytes).sliced(start));
    return checked(std::move(out));
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
        if (code > 0xFF)
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
        if (lead == EuroByte) {
            out += QChar(Euro);
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
bool IsDoubleByte(QChar c) { return c.unicode() >= 0x80 && Table()[c.unicode()] > 0xFF; }

bool SystemCanShowChinese()
{
    if (!qEnvironmentVariableIsEmpty("VELMORA_FORCE_CODEPAGE_FAILURE"))
        return false;
    // One character through the converter: the whole table is not needed at start-up.
    const QChar shi(0x65F6);
    QStringEncoder enc("GB18030");
    const QByteArray b = enc.encode(QStringView(&shi, 1));
    return static_cast<qint16>(DoubleByteCode(b)) == -13647;
}
} // namespace CodePage
