#include "CodedFile.h"

#include <QFile>
#include <QtEndian>
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

bool DecodeCodedRecords(QByteArrayView data, const QString& tag, qint16 stopAt, QStringList& lines)
{
    lines.clear();
    const std::optional<CodeTable> table = TableForTag(tag);
    const qint16* map = table ? DecodeArray(*table) : nullptr;
    const qsizetype count = data.size() / kCodedRecordSize;
    // One buffer for the line being built: it keeps its capacity from line to line.
    std::u16string current;
    current.reserve(256);
    auto endLine = [&] {
        lines.append(QString(reinterpret_cast<const QChar*>(current.data()), static_cast<qsizetype>(current.size())));
        current.clear();
    };
    for (qsizetype i = 0; i < count; ++i) {
        const char* record = data.data() + i * kCodedRecordSize;
        const int sum = int{Field(record, 1)} + int{Field(record, 2)};
        if (sum < -32768 || sum > 32767) {
            // No well-formed file holds such a record: the file is damaged.
            lines.clear();
            return false;
        }
        qint16 code = static_cast<qint16>(sum);
        if (Field(record, 0) < 0)
            code = map ? map[static_cast<quint16>(code)] : qint16{0};
        switch (code) {
        case 0: {
            QString blanks;
            AppendRandomBlanks(blanks);
            current.append(reinterpret_cast<const char16_t*>(blanks.constData()), static_cast<size_t>(blanks.size()));
            break;
        }
        case 10:
            endLine();
            if (lines.size() == kMaxCodedLines || (stopAt >= 1 && lines.size() == stopAt))
                return true;
            break;
        case 13:
            break;
        default:
            current.push_back(static_cast<char16_t>(static_cast<quint16>(code)));
            break;
        }
    }
    if (!current.empty())
        endLine();
    return true;
}

void ReadCodedLines(const QString& path, const QString& tag, qint16 stopAt)
{
    AppState& s = State();
    s.LineBuffer.clear();
    s.LineCount = 0;

    QFile file(SafeFile::Native(path));
    bool ok = file.open(QIODevice::ReadOnly);
    QByteArray data;
    if (ok) {
        data = file.readAll();
        ok = file.error() == QFileDevice::NoError;
    }
    QStringList lines;
    if (ok)
        ok = DecodeCodedRecords(data, tag, stopAt, lines);
    if (!ok) {
        MsgBox::Warning(QStringLiteral("The file ") + path + QStringLiteral(" is corrupted!"));
        return;
    }
    s.LineBuffer = std::move(lines);
    s.LineCount = static_cast<qint16>(s.LineBuffer.size());
}
