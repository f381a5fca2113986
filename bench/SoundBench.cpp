// What one syllable costs before it is heard: reading its file with our WAV reader, and
// starting a sentence on the syllable queue (probe, open and start of the first file).

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "AppState.h"
#include "Clock.h"
#include "SharedPlayer.h"
#include "SyllableQueue.h"
#include "WavFile.h"

namespace {

// 400 ms of a syllable-sized 22050 Hz mono file.
QByteArray SyllableFile() { return WavFile::Encode16(22050, 1, QByteArray(22050 * 2 * 2 / 5, '\x11')); }

void BM_ReadSyllableFile(benchmark::State& state)
{
    const QByteArray bytes = SyllableFile();
    for (auto _ : state)
        benchmark::DoNotOptimize(WavFile::Parse(bytes));
}
BENCHMARK(BM_ReadSyllableFile);

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
    for (auto _ : state)
        PlayPinyinSequence(QStringLiteral("ni3 hao3 ma1"));
    CloseSharedPlayers();
}
BENCHMARK(BM_StartSentence);

} // namespace
