// stroke_convert: writes the stroke files of the data tree from the medians of the
// hanzi-writer-data package, for every character of the course's character lists.
//
//   stroke_convert PACKAGE_DIR CONTENT_DIR TREE
//
// PACKAGE_DIR holds <character>.json and ARPHICPL.TXT; the characters are those of
// CONTENT_DIR/Vocabulary/zi<n>.txt (the second line of each pair starts with the character).
// Writes TREE/Characters/<n>.vmq, TREE/ARPHICPL.TXT and, last, TREE/NOTICE-strokes.txt, whose
// presence tells the build that the stroke files are complete. Output is byte-reproducible.
//
// The package gives each stroke as a median line on a 1024-unit grid with y pointing up
// (y = 900 is the top). The pop-up draws a file at half size, X / 2 + the big character's
// width - 130 to the right and Y / 2 below its last reading; the stroke-order samples draw it
// at full size. The grid is mapped to a square of 2880 twips from (800, 1220): at half size it
// stands 90 twips inside the pop-up's right half, level with the em box of the 72-point
// character beside it (the drawing starts 230 twips below the last reading, the character's
// glyph about 840). Points are set at most 80 twips apart along each median, so that the
// 4-pixel dots run together even at half size, and each stroke is closed by one stroke-end
// record.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <random>

#include "SafeFile.h"
#include "StrokeFile.h"

namespace {

constexpr double BoxLeft = 800;
constexpr double BoxTop = 1220;
constexpr double BoxSize = 2880;
constexpr double GridSize = 1024;
constexpr double GridTop = 900;
constexpr double MaxStep = 80;

int Fail(const QString& message)
{
    std::fprintf(stderr, "stroke_convert: %s\n", qPrintable(message));
    return 1;
}

// The characters of the course's character lists, in list order.
QStringList CourseCharacters(const QString& contentDir, QString* error)
{
    QStringList characters;
    for (int n = 1;; ++n) {
        QFile file(contentDir + QStringLiteral("/Vocabulary/zi%1.txt").arg(n));
        if (!file.exists())
            break;
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read ") + file.fileName();
            return {};
        }
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (qsizetype i = 1; i < lines.size(); i += 2) {
            if (!lines.at(i).isEmpty() && !characters.contains(lines.at(i).left(1)))
                characters << lines.at(i).left(1);
        }
    }
    if (characters.isEmpty())
        *error = QStringLiteral("no character lists under ") + contentDir;
    return characters;
}

StrokePoint GridToTwips(const QJsonArray& xy)
{
    const double scale = BoxSize / GridSize;
    const double x = std::round(BoxLeft + xy.at(0).toDouble() * scale);
    const double y = std::round(BoxTop + (GridTop - xy.at(1).toDouble()) * scale);
    // X = 0 would read as a stroke end.
    return {float(std::max(1.0, x)), float(y)};
}

// The records of one character: each median walked in steps of at most MaxStep twips,
// then its stroke end.
QVector<StrokePoint> StrokeRecords(const QJsonArray& medians)
{
    QVector<StrokePoint> records;
    for (const QJsonValue& median : medians) {
        const QJsonArray points = median.toArray();
        if (points.isEmpty())
            continue;
        StrokePoint previous = GridToTwips(points.at(0).toArray());
        records.append(previous);
        for (qsizetype i = 1; i < points.size(); ++i) {
            const StrokePoint next = GridToTwips(points.at(i).toArray());
            const double dx = next.X - previous.X;
            const double dy = next.Y - previous.Y;
            const int steps = std::max(1, int(std::ceil(std::hypot(dx, dy) / MaxStep)));
            for (int s = 1; s <= steps; ++s) {
                const StrokePoint p{float(std::round(previous.X + dx * s / steps)),
                                    float(std::round(previous.Y + dy * s / steps))};
                if (p.X != records.last().X || p.Y != records.last().Y)
                    records.append(p);
            }
            previous = next;
        }
        records.append(StrokePoint{0, 0});
    }
    return records;
}

// The file image: keys drawn from a generator seeded by the character's code. A stroke end
// is stored as the negative of its key's offset, which unscrambles to exactly 0.
QByteArray StrokeFileImage(const QVector<StrokePoint>& records, quint32 seed)
{
    std::mt19937 keys(seed);
    QByteArray image;
    image.reserve(records.size() * StrokeRecordSize);
    for (const StrokePoint& p : records) {
        const auto xKey = quint8(keys() % StrokeKeyCount);
        const auto yKey = quint8(keys() % StrokeKeyCount);
        image += EncodeStrokeRecord(p, xKey, yKey);
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: stroke_convert PACKAGE_DIR CONTENT_DIR TREE\n");
        return 2;
    }
    const QString package = args.at(0);
    const QString tree = args.at(2);
    QString error;
    const QStringList characters = CourseCharacters(args.at(1), &error);
    if (characters.isEmpty())
        return Fail(error);
    if (!QFile::exists(package + QStringLiteral("/ARPHICPL.TXT")))
        return Fail(QStringLiteral("no hanzi-writer-data package in ") + package);

    const QString notice = tree + QStringLiteral("/NOTICE-strokes.txt");
    QFile::remove(notice);
    if (!QDir().mkpath(tree + QStringLiteral("/Characters")))
        return Fail(QStringLiteral("cannot create ") + tree + QStringLiteral("/Characters"));

    int written = 0;
    QStringList uncovered;
    QStringList unnamed;
    for (const QString& ch : characters) {
        QFile json(package + QLatin1Char('/') + ch + QStringLiteral(".json"));
        if (!json.open(QIODevice::ReadOnly)) {
            uncovered << ch;
            continue;
        }
        const QString name = StrokeFileName(ch.at(0));
        if (name.isEmpty()) {
            unnamed << ch;
            continue;
        }
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(json.readAll(), &parseError);
        if (parseError.error != QJsonParseError::NoError)
            return Fail(json.fileName() + QStringLiteral(": ") + parseError.errorString());
        const QVector<StrokePoint> records = StrokeRecords(doc.object().value(QStringLiteral("medians")).toArray());
        if (records.isEmpty() || records.size() > StrokeRecordLimit)
            return Fail(json.fileName() + QStringLiteral(": unusable medians"));
        if (!SafeFile::WriteAll(tree + QLatin1Char('/') + name, StrokeFileImage(records, ch.at(0).unicode())))
            return Fail(QStringLiteral("cannot write ") + tree + QLatin1Char('/') + name);
        ++written;
    }

    const QString licence = tree + QStringLiteral("/ARPHICPL.TXT");
    QFile::remove(licence);
    if (!QFile::copy(package + QStringLiteral("/ARPHICPL.TXT"), licence))
        return Fail(QStringLiteral("cannot copy the licence to ") + licence);

    QString text = QStringLiteral(
        "Stroke files of Velmora\n\n"
        "The stroke files in \"Characters\" (%1 characters) were converted for this program from the\n"
        "stroke medians of the npm package hanzi-writer-data %2, which derives them from the\n"
        "Make Me a Hanzi project and from fonts by Arphic Technology. Each median was mapped from\n"
        "its 1024-unit grid to twips, set with points at most 80 twips apart, and stored in this\n"
        "program's own scrambled record format. The data is distributed under the Arphic Public\n"
        "License, whose text is in ARPHICPL.TXT beside this notice.\n\n"
        "hanzi-writer-data: https://github.com/chanind/hanzi-writer-data\n"
        "Make Me a Hanzi: https://github.com/skishore/makemeahanzi\n");
    QString version;
    QFile packageJson(package + QStringLiteral("/package.json"));
    if (packageJson.open(QIODevice::ReadOnly))
        version = QJsonDocument::fromJson(packageJson.readAll()).object().value(QStringLiteral("version")).toString();
    text = text.arg(written).arg(version);
    if (!unnamed.isEmpty())
        text += QStringLiteral("\nWithout a stroke file, because their code page 936 code gives no file number of their "
                               "own: ") + unnamed.join(QString()) + QLatin1Char('\n');
    if (!SafeFile::WriteAll(notice, text.toUtf8()))
        return Fail(QStringLiteral("cannot write ") + notice);
    std::printf("stroke_convert: %d stroke files, %lld characters not in the package, %lld without a file number\n",
                written, qlonglong(uncovered.size()), qlonglong(unnamed.size()));
    return 0;
}
