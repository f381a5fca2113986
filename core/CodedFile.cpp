#include "CodedFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "AppState.h"
#include "Clock.h"
#include "CodeTables.h"
#include "MsgBox.h"
#include "SafeFile.h"

namespace {
qint16 Field(const char* record, int index) { return qFromLittleEndian<qint16>(record + 2 * index); }

void AppendRandomBlanks(QString& line)
{
    // Re-seeded from the clock for every run, as the course files were designed for.
    Random::Randomize();
    const int blanks = static_cast<int>(std::floor(100.0 * Random::Rnd()));
    line.append(QString(blanks, QLatin1Char(' ')));
}
} // namespace

QStringView CodedText::Line(qsizetype i) const
{
    const qsizetype start = i == 0 ? 0 : m_ends[static_cast<size_t>(i - 1)];
    return QStringView(m_text.data() + start, m_ends[static_cast<size_t>(i)] - start);
}

bool DecodeCodedRecords(QByteArrayView data, const QString& tag, qint16 stopAt, CodedText& text)
{
    text.Clear();
    const std::optional<CodeTable> table = TableForTag(tag);
    // Without a table every enciphered record is a miss: an array of misses answers them.
    static const qint16 noTable[65536] = {};
    const qint16* map = table ? DecodeArray(*table) : noTable;
    const qsizetype count = data.size() / kCodedRecordSize;
    // The text is written in place. Every record adds at most one unit, except a run of
    // blanks, which makes room for itself; so the text always has room for one unit per
    // remaining record.
    std::u16string& out = text.m_text;
    out.resize(static_cast<size_t>(count));
    char16_t* units = out.data();
    qsizetype used = 0;
    const auto endLine = [&text](qsizetype end) { text.m_ends.push_back(end); };
    const char* record = data.data();
    for (qsizetype i = 0; i < count; ++i, record += kCodedRecordSize) {
        const int sum = int{Field(record, 1)} + int{Field(record, 2)};
        if (sum != static_cast<qint16>(sum)) {
            // No well-formed file holds such a record: the file is damaged.
            text.Clear();
            return false;
        }
        char16_t unit = static_cast<char16_t>(sum);
        if (Field(record, 0) < 0)
            unit = static_cast<char16_t>(map[unit]);
        if (unit > 13) {
            units[used++] = unit;
            continue;
        }
        switch (unit) {
        case 0: {
            QString blanks;
            AppendRandomBlanks(blanks);
            const qsizetype room = used + blanks.size() + (count - i);
            if (static_cast<qsizetype>(out.size()) < room) {
                out.resize(static_cast<size_t>(room));
                units = out.data();
            }
            std::copy_n(reinterpret_cast<const char16_t*>(blanks.constData()), blanks.size(), units + used);
            used += blanks.size();
            break;
        }
        case 10:
            endLine(used);
            if (text.LineCount() == kMaxCodedLines || (stopAt >= 1 && text.LineCount() == stopAt))
                return true;
            break;
        case 13:
            break;
        default:
            units[used++] = unit;
            break;
        }
    }
    if (used > (text.m_ends.empty() ? 0 : text.m_ends.back()))
        endLine(used);
    return true;
}

namespace {
// Reads and decodes an opened file into text, emptying LineBuffer and setting LineCount; a
// file that cannot be opened or read, or that does not decode, is reported and yields no lines.
void ReadOpened(QFile& file, bool opened, const QString& path, const QString& tag, qint16 stopAt, CodedText& text)
{
    AppState& s = State();
    s.LineBuffer.clear();
    s.LineCount = 0;

    // The bytes of the file, in a buffer kept from file to file: loading the course reads
    // hundreds of files, and one large allocation per file costs more than reading it.
    static QByteArray data;
    data.resize(0);
    bool ok = opened;
    if (ok) {
        data.resize(file.size());
        const qint64 got = file.read(data.data(), data.size());
        ok = got >= 0 && file.error() == QFileDevice::NoError;
        data.resize(qMax<qint64>(got, 0));
    }
    text.Clear();
    if (ok)
        ok = DecodeCodedRecords(data, tag, stopAt, text);
    if (!ok) {
        MsgBox::Warning(QStringLiteral("The file ") + path + QStringLiteral(" is corrupted!"));
        return;
    }
    s.LineCount = static_cast<qint16>(text.LineCount());
}
} // namespace

void ReadCodedLines(const QString& path, const QString& tag, qint16 stopAt)
{
    QFile file(SafeFile::Native(path));
    const bool opened = file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    static CodedText text;
    ReadOpened(file, opened, path, tag, stopAt, text);
    QStringList& lines = State().LineBuffer;
    lines.reserve(text.LineCount());
    for (qsizetype i = 0; i < text.LineCount(); ++i)
        lines.append(text.Line(i).toString());
}

bool ReadCodedText(const QString& path, const QString& tag, qint16 stopAt, CodedText& text)
{
    QFile file(SafeFile::Native(path));
    const bool opened = file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    // Only a failed open needs to know whether there is a file at all.
    if (!opened && !QFileInfo(file.fileName()).isFile())
        return false;
    ReadOpened(file, opened, path, tag, stopAt, text);
    return true;
}
