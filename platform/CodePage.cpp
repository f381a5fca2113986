#include "CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QVector>

namespace {
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
            t[u] = static_cast<quint16>(lead << 8 | trail);
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
    return AnsiCode(QChar(0x65F6)) == -13647;
}
} // namespace CodePage
