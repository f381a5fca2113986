// libFuzzer target for the loading of the on-line word cache (Record/wangci.txt), the file that
// holds text fetched from the network. The first input byte chooses whether a count file
// (Record/Cang.vmq, the next two bytes) is written; the rest is the cache file. Checks that
// loading never crashes and that the tables it fills keep their own rules.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "AppState.h"
#include "CharacterTable.h"
#include "LoadingSteps.h"
#include "MsgBox.h"
#include "TextFilters.h"

namespace {
class Progress : public LoadProgress {
public:
    void SetMaximum(int, int maximum) override { m_maximum = maximum; }
    int Maximum(int) const override { return m_maximum; }
    int Value(int) const override { return m_value; }
    void SetValue(int, int value) override { m_value = value; }
    void SetCaption(int, const QString&) override {}
    void ProcessEvents() override {}

private:
    int m_maximum{100};
    int m_value{0};
};

// As in the coded-file target, the application object lives until the process ends.
QCoreApplication* g_app = nullptr;
std::unique_ptr<QTemporaryDir> g_dir;
std::unique_ptr<MsgBox::Recorder> g_boxes;

void Write(const QString& relative, const uint8_t* data, size_t size)
{
    QFile f(g_dir->filePath(relative));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

void Check(bool holds)
{
    if (!holds)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    g_app = new QCoreApplication(*argc, *argv);
    g_dir = std::make_unique<QTemporaryDir>();
    g_boxes = std::make_unique<MsgBox::Recorder>();
    QDir(g_dir->path()).mkpath(QStringLiteral("Record"));
    qputenv("VELMORA_APPPATH", g_dir->path().toLocal8Bit());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    ResetState();
    // Two characters known before the cache is read, so that cached words also become phrases.
    AppendCharacterRecord({QStringLiteral("你"), {}, {}});
    AppendCharacterRecord({QStringLiteral("好"), {}, {}});

    const QString countFile = g_dir->filePath(QStringLiteral("Record/Cang.vmq"));
    QFile::remove(countFile);
    if (data[0] & 1)
        Write(QStringLiteral("Record/Cang.vmq"), data + 1, 2);
    Write(QStringLiteral("Record/wangci.txt"), data + 3, size - 3);

    Progress progress;
    LoadOnlineWords(progress);

    const AppState& s = State();
    Check(s.OnlineWordCount == s.OnlineWordTable.size());
    Check(s.OnlineWordCount >= 0 && s.OnlineWordCount <= OnlineTableLimit);
    for (const OnlineWord& w : s.OnlineWordTable)
        Check(!w.Word.isEmpty() && !w.Word.contains(QLatin1Char(':')) && !w.Entry.isEmpty());
    Check(s.CharacterCount == s.CharacterTable.size());
    Check(s.CharacterCount >= 2 && s.CharacterCount <= TableLimit);
    Check(progress.Value(4) <= progress.Maximum(4));
    for (qsizetype i = 0; i < s.CharacterTable.size(); ++i) {
        const CharacterRecord& r = s.CharacterTable.at(i);
        Check(r.Character.size() == 1 && !HasNonHanzi(r.Character));
        Check(FindCharacterRecord(r.Character) == FindCharacterRecordLinear(r.Character));
        for (const CharacterReading& reading : r.Readings)
            Check(reading.Tone.size() == 1 && reading.Tone[0].isDigit());
    }
    g_boxes->Clear();
    return 0;
}
