// Speech against the length of its own recordings, on a real sound server: the one the
// desktop runs, or else a private PulseAudio null sink this program starts itself. It fails
// (exit status 1) when it can measure nothing: no server runs and none can be started, the
// server offers no output, paplay does not play, or a sentence plays no syllable.
//
//   build/bench/speech_pace_bench [rounds] [pause ms] [idle ms]
//
// Speaks three sentences through the syllable queue, then reads the text of lesson 1 aloud
// word by word as its read-aloud task does. The learner's pause after each word (3000 ms in
// the task) is left out unless given; it is a fixed wait, not speech, and is not counted. For
// each sentence it takes the time from the start to the end of the first syllable (the
// device's start-up latency beside the first recording) and from the end of the first
// syllable to the end of the last, beside the recordings of the syllables after the first.
// Goal: rest <= 1.15 x its recordings + 150 ms.
//
// Each round starts with the first sound after the learner has been idle for [idle ms] (by
// default long enough for the output stream to close), the program's first sound in the
// first round, held against paplay of the same file on the same server after the same idle
// time just before it: from the start to the end of the first syllable against paplay's start
// to its end (it ends once the server has played the whole sound); bound: at most 1.3 times
// paplay (medians). On a null sink both wait up to 2 s: a sink that had no stream to play
// renders 2 s of silence ahead and a new stream waits for its end (a sound card's sink
// rewinds what it holds when a new stream asks for a shorter latency), for paplay as for us.

#include <QApplication>
#include <QAudioDevice>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtNumeric>
#include <cstdio>
#include <cstring>
#include <vector>

#include "AppState.h"
#include "BenchTree.h"
#include "BlankTrim.h"
#include "Clock.h"
#include "LessonScript.h"
#include "LessonText.h"
#include "NullSinkServer.h"
#include "LoadingSteps.h"
#include "ReadAfter.h"
#include "SharedPlayer.h"
#include "SoundOutput.h"
#include "SoundStream.h"
#include "SyllableQueue.h"
#include "WavFile.h"
#include "WavePlayer.h"

namespace {

// The first sound of a round against paplay of the same file: at most this many times as long
// (medians). Both end when the server says the sound was played: paplay also starts a process
// and waits for the device's own latency, which the stream's clock leaves out; on a null sink
// both also wait for the end of the silence it rendered ahead, up to 2 s.
constexpr double FirstOverPaplayAtMost = 1.3;

// One sentence: milliseconds measured and of the recordings played.
struct Figure {
    int Syllables{0};
    double FirstMs{0};    // start to the end of the first syllable
    double FirstRecMs{0}; // its recording
    double RestMs{0};     // end of the first syllable to the end of the last
    double RestRecMs{0};  // the recordings after the first
    bool TimedOut{false};
    bool Heard{true}; // the end of a syllable was heard

    void Add(const Figure& f)
    {
        Heard = Heard && f.Heard;
        Syllables += f.Syllables;
        FirstMs += f.FirstMs;
        FirstRecMs += f.FirstRecMs;
        RestMs += f.RestMs;
        RestRecMs += f.RestRecMs;
        TimedOut = TimedOut || f.TimedOut;
    }
    double Goal() const { return 1.15 * RestRecMs + 150; }
};

double RecordingMs(const QString& path)
{
    const WavFile::Audio audio = WavFile::Read(path);
    return audio.IsValid() ? audio.frames * 1000.0 / audio.sampleRate : 0;
}

// Hears the end of every syllable (MMControl1's Done) and of the whole queue (the read-aloud
// task's receiver, as CurrentActivity is 6).
class Listener : public PlayDoneReceiver {
public:
    Listener()
    {
        QObject::connect(MMControl1(), &WavePlayer::Done, [this](int code) {
            if (code == WavePlayer::Successful)
                SyllableEnds.append(Elapsed.nsecsElapsed() / 1e6);
        });
        RegisterPlayDoneReceiver(SoundOwnerCode::Text, this);
    }
    void PlayDone() override
    {
        EndMs = Elapsed.nsecsElapsed() / 1e6;
        Loop.quit();
    }

    Figure Speak(const QString& pinyin)
    {
        SyllableEnds.clear();
        EndMs = -1;
        Elapsed.start();
        PlayPinyinSequence(pinyin);
        Figure f;
        if (EndMs < 0) {
            QTimer limit;
            limit.setSingleShot(true);
            QObject::connect(&limit, &QTimer::timeout, &Loop, &QEventLoop::quit);
            limit.start(60000);
            Loop.exec();
        }
        f.TimedOut = EndMs < 0;
        const AppState& s = State();
        QList<double> recordings;
        for (int k = 1; k <= s.SyllableQueueCount; ++k) {
            const QString path = SyllableSoundPath(s.SyllableQueue.At(1, k));
            if (WavFile::IsPlayable(path))
                recordings.append(RecordingMs(path));
        }
        f.Syllables = int(recordings.size());
        f.Heard = !recordings.isEmpty() && !SyllableEnds.isEmpty();
        if (!f.Heard)
            return f;
        f.FirstMs = SyllableEnds.first();
        f.FirstRecMs = recordings.first();
        f.RestMs = std::max(0.0, (f.TimedOut ? Elapsed.nsecsElapsed() / 1e6 : EndMs) - SyllableEnds.first());
        for (qsizetype k = 1; k < recordings.size(); ++k)
            f.RestRecMs += recordings[k];
        return f;
    }

    QElapsedTimer Elapsed;
    QList<double> SyllableEnds;
    double EndMs{-1};
    QEventLoop Loop;
};

void Print(const char* name, const Figure& f)
{
    std::printf("%-28s %4d syl  first %7.0f ms (rec %6.0f, latency %+6.0f)  rest %7.0f ms / rec %7.0f = %5.2fx"
                "  goal <= %7.0f ms: %s%s\n",
                name, f.Syllables, f.FirstMs, f.FirstRecMs, f.FirstMs - f.FirstRecMs, f.RestMs, f.RestRecMs,
                f.RestRecMs > 0 ? f.RestMs / f.RestRecMs : 0.0, f.Goal(), f.RestMs <= f.Goal() ? "met" : "MISSED",
                f.TimedOut ? " (timed out)" : "");
    std::fflush(stdout);
    // A sentence beyond its goal, one that never ended or one that played nothing makes the
    // run fail.
    if (!f.Heard || f.Syllables == 0)
        BenchTree::Fail(qPrintable(QStringLiteral("%1 played no syllable (is the data tree built?)").arg(QLatin1String(name))));
    else if (f.TimedOut || f.RestMs > f.Goal())
        BenchTree::CheckAtMost(qPrintable(QStringLiteral("%1: rest / goal").arg(QLatin1String(name))),
                               f.TimedOut ? qInf() : f.RestMs / f.Goal(), 1.0);
}

// The read-aloud task of lesson 1, word by word, as the lesson text window segments it. Each
// word is its own sentence: the figures add up over the words.
Figure ReadLessonAloud(Listener& listener, int pauseMs, int* words, double* totalMs, double* totalRecMs)
{
    AppState& s = State();
    s.ViewedLesson = 1;
    LoadLessonScript();
    const QString text = BuildLessonText(s.LessonLines, true).Plain;
    Figure sum;
    qsizetype readPos = 1;
    QElapsedTimer whole;
    whole.start();
    *words = 0;
    *totalRecMs = 0;
    double pausedMs = 0;
    for (;;) {
        const ReadAfterWord next = SegmentNextWord(text, readPos, s.LessonWords[0].mid(0, s.LessonWordCount),
                                                   s.WordText[0].mid(0, s.LessonEntryCount));
        if (next.End)
            break;
        readPos = next.ReadPos + next.Word.size();
        const int entry = next.Entry;
        const QString chinese = next.FromLesson ? s.LessonWords[0].value(entry - 1) : s.WordText[0].value(entry - 1);
        const QString numbered = next.FromLesson ? s.LessonWords[2].value(entry - 1) : s.WordPinyin.value(entry - 1);
        const QString pinyin = WordPinyinInEntry(next.Word, chinese, numbered);
        if (BlankTrim(pinyin).isEmpty())
            continue;
        if (pauseMs > 0 && *words > 0) {
            QElapsedTimer paused;
            paused.start();
            QEventLoop pause;
            QTimer::singleShot(pauseMs, &pause, &QEventLoop::quit);
            pause.exec();
            pausedMs += paused.nsecsElapsed() / 1e6;
        }
        const Figure f = listener.Speak(pinyin);
        if (qEnvironmentVariableIsSet("SPEECH_PACE_WORDS"))
            Print(qPrintable(pinyin), f);
        ++*words;
        *totalRecMs += f.FirstRecMs + f.RestRecMs;
        sum.Add(f);
    }
    *totalMs = whole.nsecsElapsed() / 1e6 - pausedMs; // the learner's pauses are no speech
    return sum;
}

// The output a sound server already running offers, asked of a copy of this program, so that
// this one's multimedia layer first meets the server it measures on. The copy never starts a
// server of its own (libpulse's autospawn is off for it). Empty when none runs.
QString RunningServerOutput()
{
    QTemporaryDir folder;
    QFile config(folder.filePath(QStringLiteral("client.conf")));
    if (!folder.isValid() || !config.open(QIODevice::WriteOnly) || config.write("autospawn = no\n") < 0)
        return {};
    config.close();
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), config.fileName());
    probe.setProcessEnvironment(env);
    probe.setStandardErrorFile(QProcess::nullDevice()); // "no server" is an answer here
    probe.start(QStringLiteral("/proc/self/exe"), {QStringLiteral("--output")});
    if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
        return {};
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
}

// paplay of the file on the server this program plays on, from its start to its end, with the
// event loop running meanwhile; negative when it did not play.
double PaplayMs(const QString& path)
{
    QProcess paplay;
    paplay.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    QObject::connect(&paplay, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&paplay, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    paplay.start(QStringLiteral("paplay"), {path});
    loop.exec();
    const double ms = clock.nsecsElapsed() / 1e6;
    if (paplay.state() != QProcess::NotRunning) {
        paplay.kill();
        paplay.waitForFinished();
        return -1;
    }
    const bool played = paplay.error() == QProcess::UnknownError && paplay.exitStatus() == QProcess::NormalExit
        && paplay.exitCode() == 0;
    return played ? ms : -1;
}

int Fail(const char* why)
{
    BenchTree::Fail(qPrintable(QStringLiteral("speech_pace_bench measured nothing: ") + QLatin1String(why)));
    return BenchTree::ExitStatus();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 2 && std::strcmp(argv[1], "--output") == 0) {
        QCoreApplication probe(argc, argv);
        const QAudioDevice output = QMediaDevices::defaultAudioOutput();
        std::printf("%s\n", qPrintable(output.description()));
        return output.isNull() ? 3 : 0;
    }
    // A server the desktop runs holds the sound server's name on the session bus, where a
    // private one would die for want of it: the benchmark measures on that one. Otherwise it
    // starts its own, off the desktop's display and session bus.
    const QString running = RunningServerOutput();
    NullSinkServer sink;
    if (running.isEmpty()) {
        qunsetenv("DISPLAY");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        if (!sink.Start())
            return Fail("no sound server runs, and no PulseAudio null sink could be started");
    }
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    const int pauseMs = argc > 2 ? std::max(0, atoi(argv[2])) : 0;
    const int idleMs = argc > 3 ? std::max(0, atoi(argv[3])) : SoundStream::IdleCloseMs + 500;
    if (QMediaDevices::defaultAudioOutput().isNull())
        return Fail("the sound server offers no output device");
    Clock::UseReal();
    ResetState();
    AppState& s = State();
    s.AppPath = BenchTree::Path();
    s.CurrentActivity = 6;
    BenchTree::NoProgress progress;
    LoadWordTable(progress);
    SetUpSharedPlayers();

    Listener listener;
    std::printf("%s: %s\n", running.isEmpty() ? "private null sink" : "the running sound server",
                qPrintable(QMediaDevices::defaultAudioOutput().description()));
    const QString firstFile = SyllableSoundPath(QStringLiteral("wo3"));
    std::vector<double> firstMs, paplayMs;
    auto idle = [idleMs] {
        QEventLoop loop;
        QTimer::singleShot(idleMs, &loop, &QEventLoop::quit);
        loop.exec();
    };
    for (int round = 1; round <= rounds; ++round) {
        std::printf("-- round %d: after %d ms idle, paplay; after %d ms idle, the first sentence\n", round, idleMs,
                    idleMs);
        idle();
        const double paplay = PaplayMs(firstFile);
        idle();
        const Figure first = listener.Speak(QStringLiteral("wo3 shi4 zhong1 guo2 ren2"));
        Print("wo3 shi4 zhong1 guo2 ren2", first);
        std::printf("%-28s first sound %7.0f ms, paplay of its file %7.0f ms\n", "", first.FirstMs, paplay);
        if (paplay < 0) {
            Fail("paplay did not play the first syllable's file");
            break;
        }
        if (first.Heard) {
            firstMs.push_back(first.FirstMs);
            paplayMs.push_back(paplay);
        }
        Print("ten syllables", listener.Speak(QStringLiteral("jin1 tian1 wo3 he2 peng2 you3 qu4 shang1 dian4 mai3")));
        Print("ni3 hao3", listener.Speak(QStringLiteral("ni3 hao3")));
        int words = 0;
        double totalMs = 0;
        double totalRecMs = 0;
        const Figure lesson = ReadLessonAloud(listener, pauseMs, &words, &totalMs, &totalRecMs);
        Print("lesson 1 read aloud (sum)", lesson);
        std::printf("%-28s %4d words: %7.0f ms speaking / rec %7.0f = %5.2fx; latency %.0f ms a word\n", "",
                    words, totalMs, totalRecMs, totalRecMs > 0 ? totalMs / totalRecMs : 0.0,
                    words > 0 ? (lesson.FirstMs - lesson.FirstRecMs) / words : 0.0);
    }
    if (!firstMs.empty()) {
        using BenchTree::Percentile;
        std::printf("\nfirst sound of a round (ms)  min %6.0f  median %6.0f  max %6.0f\n", Percentile(firstMs, 0),
                    BenchTree::Median(firstMs), Percentile(firstMs, 1));
        std::printf("paplay of the same file     min %6.0f  median %6.0f  max %6.0f\n", Percentile(paplayMs, 0),
                    BenchTree::Median(paplayMs), Percentile(paplayMs, 1));
        BenchTree::CheckAtMost("first sound / paplay of its file, medians",
                               BenchTree::Median(firstMs) / BenchTree::Median(paplayMs), FirstOverPaplayAtMost);
    }
    CloseSharedPlayers();
    CloseSoundOutputs();
    return BenchTree::ExitStatus();
}
