// Reading coded course files: a large lesson-like file (the 32767-line limit, Chinese,
// pinyin and English mixed), a file of table misses, where every record draws blanks, and a
// large file of zero records (one line of blanks, read to its end).

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "AppState.h"
#include "CodedFile.h"
#include "VmqEncoder.h"

namespace {
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

void BM_ReadLargeLessonFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QByteArray data = LargeLessonText();
    const QString path = WriteCoded(dir, QStringLiteral("lifr.vmq"), data);
    for (auto _ : state) {
        ReadCodedLines(path, QStringLiteral("RT"), 0);
        benchmark::DoNotOptimize(State().LineCount);
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_ReadLargeLessonFile)->Unit(benchmark::kMillisecond);

void BM_ReadTableMisses(benchmark::State& state)
{
    QTemporaryDir dir;
    const QByteArray data = MissText(20000);
    const QString path = WriteCoded(dir, QStringLiteral("misses.vmq"), data);
    for (auto _ : state) {
        ReadCodedLines(path, QStringLiteral("RW"), 0);
        benchmark::DoNotOptimize(State().LineCount);
    }
    state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_ReadTableMisses)->Unit(benchmark::kMillisecond);

// 12 MB of code 0: two million blank runs, one line that fills up early.
void BM_ReadZeroRecords(benchmark::State& state)
{
    QTemporaryDir dir;
    const QByteArray data(6 * 2000000, '\0');
    const QString path = WriteCoded(dir, QStringLiteral("zeros.vmq"), data);
    for (auto _ : state) {
        ReadCodedLines(path, QStringLiteral("RW"), 0);
        benchmark::DoNotOptimize(State().LineCount);
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_ReadZeroRecords)->Unit(benchmark::kMillisecond);
} // namespace
