// Reading coded course files: a large lesson-like file (the 32767-line limit, Chinese,
// pinyin and English mixed), a file of table misses, where every record draws blanks, and a
// large file of zero records (one line of blanks, read to its end). Each is read round after
// round beside its reference, and the ratio of the medians is held against its bound (exit
// status 1 when one is missed): the lesson file beside read(2) of its bytes, the floor of any
// reader; the damaged files beside a good lesson file of the same size.
//
// The goals: a course file decoded in a few times what reading its bytes costs, and a damaged
// file costing no more than what its records ask for. Today the lesson file takes 8 times the
// floor; the zero records 1.3 to 1.6 times a good file; the misses, each drawing a run of up
// to 99 blanks where a good record gives one character, about 20 times. The bounds leave room
// for a busy machine and catch a reader that slows down by half.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "AppState.h"
#include "BenchTree.h"
#include "CodedFile.h"
#include "VmqEncoder.h"

namespace {

constexpr double LessonBound = 14;
constexpr double MissesBound = 30;
constexpr double ZerosBound = 2.5;

QString WriteCoded(const QTemporaryDir& dir, const QString& name, const QByteArray& data)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
    return path;
}

QByteArray LargeLessonText()
{
    const QStringList group{QStringLiteral("w.o3 m.en0 x.ue2 x.i2 zh.ong1 w.en2 , n.i3 h.ao3 ma0 ?"),
        QStringLiteral("我们学习中文，你好吗？老师说：“今天的课很有意思。”"),
        QStringLiteral("We study Chinese; how are you? The teacher says: \"Today's lesson is interesting.\"")};
    QStringList lines;
    while (lines.size() + 3 <= kMaxCodedLines)
        lines += group;
    return *Vmq::EncodeLines(lines, QStringLiteral("RT"));
}

// Records whose Kind asks for a table and whose code no table holds.
QByteArray MissText(int records)
{
    QByteArray data;
    const char record[6] = {'\xff', '\xff', '\x01', '\x00', '\x00', '\x00'};
    for (int i = 0; i < records; ++i) {
        data.append(record, 6);
        if (i % 40 == 39)
            data.append("\x00\x00\x05\x00\x05\x00", 6);
    }
    return data;
}

// Reads data as a coded file of the given tag beside its reference: with no good file given,
// read(2) of the same file; else the good file, of the same size, read as a lesson text.
void ReadBeside(benchmark::State& state, const char* name, const QByteArray& data, const QString& tag,
    const QByteArray& good, double bound)
{
    QTemporaryDir dir;
    const QString path = WriteCoded(dir, QStringLiteral("file.vmq"), data);
    const QString goodPath = WriteCoded(dir, QStringLiteral("good.vmq"), good);
    const std::vector<QByteArray> paths{QFile::encodeName(path)};
    BenchTree::SideBySide(state, std::string(name) + (good.isEmpty() ? " / read(2)" : " / a lesson file as large") + ", medians",
        bound,
        [&] {
            ReadCodedLines(path, tag, 0);
            benchmark::DoNotOptimize(State().LineCount);
        },
        [&] {
            if (good.isEmpty())
                benchmark::DoNotOptimize(BenchTree::ReadWithSystemCalls(paths));
            else
                ReadCodedLines(goodPath, QStringLiteral("RT"), 0);
        });
    state.SetBytesProcessed(state.iterations() * data.size());
}

void BM_ReadLargeLessonFile(benchmark::State& state)
{
    ReadBeside(state, "large lesson file", LargeLessonText(), QStringLiteral("RT"), {}, LessonBound);
}
BENCHMARK(BM_ReadLargeLessonFile)->Unit(benchmark::kMillisecond)->Iterations(100);

void BM_ReadTableMisses(benchmark::State& state)
{
    const QByteArray misses = MissText(20000);
    ReadBeside(state, "table misses", misses, QStringLiteral("RW"), LargeLessonText().left(misses.size()), MissesBound);
}
BENCHMARK(BM_ReadTableMisses)->Unit(benchmark::kMillisecond)->Iterations(400);

// Code 0 only, as large as the lesson file: a blank run for every record, one line that fills
// up early.
void BM_ReadZeroRecords(benchmark::State& state)
{
    const QByteArray lesson = LargeLessonText();
    ReadBeside(state, "zero records", QByteArray(lesson.size() / 6 * 6, '\0'), QStringLiteral("RW"), lesson, ZerosBound);
}
BENCHMARK(BM_ReadZeroRecords)->Unit(benchmark::kMillisecond)->Iterations(100);
} // namespace
