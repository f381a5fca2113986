#include "VmqEncoder.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QtEndian>
#include <algorithm>
#include <random>

#include "CodeTables.h"

namespace Vmq {
namespace {
class RecordWriter {
public:
    explicit RecordWriter(quint64 seed)
        : m_rng(seed)
    {
    }

    // value: the 16-bit code; enciphered chooses the sign of Kind.
    void Write(qint16 value, bool enciphered)
    {
        const int kind = enciphered ? Uniform(-32768, -1) : Uniform(0, 32767);
        const int partA = Uniform(std::max(-32768, value - 32767), std::min(32767, value + 32768));
        const int partB = value - partA;
        Put(kind);
        Put(partA);
        Put(partB);
    }

    QByteArray Take() { return std::move(m_out); }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

    void Put(int v)
    {
        char bytes[2];
        qToLittleEndian<qint16>(static_cast<qint16>(v), bytes);
        m_out.append(bytes, 2);
    }

    std::mt19937_64 m_rng;
    QByteArray m_out;
};

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}
} // namespace

std::optional<QByteArray> EncodeLines(const QStringList& lines, const QString& tag, const EncodeOptions& options,
    QString* error)
{
    const std::optional<CodeTable> table = TableForTag(tag);
    if (!table) {
        SetError(error, QStringLiteral("unknown tag \"%1\" (use RW, VO, RT, RQ or SP)").arg(tag));
        return std::nullopt;
    }
    RecordWriter writer(options.seed);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        for (const QChar ch : lines[n]) {
            const char16_t unit = ch.unicode();
            if (unit == 0 || unit == 10 || unit == 13) {
                SetError(error, QStringLiteral("line %1 holds a NUL, CR or LF character, which a coded file "
                                               "cannot carry").arg(n + 1));
                return std::nullopt;
            }
            const qint16 code = EncodeUnit(*table, unit);
            if (code != 0)
                writer.Write(code, true);
            else
                writer.Write(static_cast<qint16>(unit), false);
        }
        if (options.crlf)
            writer.Write(13, false);
        writer.Write(10, false);
    }
    return writer.Take();
}

std::optional<QStringList> SplitTextSource(const QByteArray& utf8, QString* error)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(utf8);
    if (decoder.hasError()) {
        SetError(error, QStringLiteral("the text is not valid UTF-8"));
        return std::nullopt;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (text.isEmpty())
        return QStringList();
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

QString TagForPath(const QString& path)
{
    struct Rule {
        const char* pattern;
        const char* tag;
    };
    static const Rule rules[] = {
        {R"((^|/)Lessons/Script/Lesson_[0-9]+/icwp\.(txt|vmq)$)", "RW"},
        {R"((^|/)Lessons/Script/Lesson_[0-9]+/lifr\.(txt|vmq)$)", "RT"},
        {R"((^|/)Vocabulary/ci[0-9]+\.(txt|vmq)$)", "VO"},
        {R"((^|/)Vocabulary/zi[0-9]+\.(txt|vmq)$)", "RW"},
        {R"((^|/)Spoken/Script[^/]*\.(txt|vmq)$)", "SP"},
    };
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    for (const Rule& rule : rules)
        if (QRegularExpression(QString::fromLatin1(rule.pattern)).match(p).hasMatch())
            return QString::fromLatin1(rule.tag);
    return {};
}

quint64 StableHash(const QByteArray& data)
{
    quint64 h = 14695981039346656037ULL;
    for (const char c : data) {
        h ^= static_cast<quint8>(c);
        h *= 1099511628211ULL;
    }
    return h;
}

} // namespace Vmq
