#include "CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QVector>

namespace {
// The 936 code of one character as the GB18030 converter writes it: its two bytes when they
// form a 936 double-byte code, else 0 ("not in 936": four-byte sequences, the user-defined
// areas' codes).
quint16 DoubleByteCode(QByteArrayView b)
{
    if (b.size() != 2)
        return 0;
    const auto lead = static_cast<quint8>(b[0]);
    const auto trail = static_cast<quint8>(b[1]);
    if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail == 0x7F || trail > 0xFE)
        return 0;
    return static_cast<quint16>(lead << 8 | trail);
}

bool Skipped(int u)
{
    return (u >= 0xD800 && u <= 0xDFFF) || (u >= 0xE000 && u <= 0xF8FF); // surrogates; private use
}

// One table of the 936 two-byte codes of the BMP, built once from the GB18030 converter.
// 0 means "not in 936". The characters go through the converter in one piece (one character
// at a time costs the converter's set-up 63,000 times); GB18030 writes every one of them in
// two or four bytes, a four-byte sequence having a digit (0x30..0x39) as its second byte.
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
        if (inStep && at == bytes.size())
            return t;
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
        return t;
    }();
    return table;
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
    // One character through the converter: the whole table is not needed at start-up.
    const QChar shi(0x65F6);
    QStringEncoder enc("GB18030");
    const QByteArray b = enc.encode(QStringView(&shi, 1));
    return static_cast<qint16>(DoubleByteCode(b)) == -13647;
}
} // namespace CodePage
