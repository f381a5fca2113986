// What one syllable costs before it is heard, each timed round after round beside its
// reference, the ratio of the medians held against its bound (exit status 1 when one is
// missed):
// - reading a syllable's file with our WAV reader, beside a plain copy of the file's bytes.
//   Goal: the reader converts every sample and checks the header, and costs no more than it
//   does today, 33 copies (12 us for a 400 ms syllable); a reader a third slower crosses the
//   bound.
// - starting a sentence on the syllable queue (probe, open and start of the first file), beside
//   reading that first file from disk with the same reader. Goal: a sentence starts in little
//   more than its first file takes to read; today 2.1 to 2.3 times.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>

#include "AppState.h"
#include "BenchTree.h"
#include "Clock.h"
#include "SharedPlayer.h"
#include "SyllableQueue.h"
#include "WavFile.h"

namespace {

constexpr double ReadBound = 45;
constexpr double StartBound = 3.2;

// 400 ms of a syllable-sized 22050 Hz mono file.
QByteArray SyllableFile() { return WavFile::Encode16(22050, 1, QByteArray(22050 * 2 * 2 / 5, '\x11')); }

void BM_ReadSyllableFile(benchmark::State& state)
{
    const QByteArray bytes = SyllableFile();
    QByteArray copy(bytes.size(), Qt::Uninitialized);
    BenchTree::SideBySide(state, "syllable file: parsed / copied, medians", ReadBound,
        [&] { benchmark::DoNotOptimize(WavFile::Parse(bytes)); },
        [&] {
            std::memcpy(copy.data(), bytes.constData(), size_t(bytes.size()));
            benchmark::ClobberMemory();
        });
}
BENCHMARK(BM_ReadSyllableFile)->Iterations(20000);

void BM_StartSentence(benchmark::State& state)
{
    QTemporaryDir dir;
    for (const char* s : {"N/ni3", "H/hao3", "M/ma1"}) {
        QDir().mkpath(dir.path() + "/Phonetic Symbols/" + QString(s).left(1));
        QFile f(dir.path() + "/Phonetic Symbols/" + s + ".wav");
        f.open(QIODevice::WriteOnly);
        f.write(SyllableFile());
    }
    qputenv("VELMORA_APPPATH", dir.path().toUtf8());
    ResetState();
    Clock::UseManual(QDateTime::currentDateTime());
    const QString first = dir.path() + QStringLiteral("/Phonetic Symbols/N/ni3.wav");
    BenchTree::SideBySide(state, "sentence started / its first file read, medians", StartBound,
        [] { PlayPinyinSequence(QStringLiteral("ni3 hao3 ma1")); },
        [&] { benchmark::DoNotOptimize(WavFile::Read(first)); });
    CloseSharedPlayers();
}
BENCHMARK(BM_StartSentence)->Iterations(5000);

} // namespace
