// libFuzzer target for ReadCodedLines: the first input byte picks the tag, the second the
// stop count; the rest is the coded file. Checks that the reader never crashes and that its
// result keeps its own limits (lines, line length, the stop count).

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "AppState.h"
#include "CodedFile.h"
#include "MsgBox.h"

namespace {
// The application object lives until the process ends: destroying it from an exit handler,
// after Qt's own statics are gone, would crash the fuzzer's clean exit.
QCoreApplication* g_app = nullptr;
std::unique_ptr<QTemporaryDir> g_dir;
std::unique_ptr<MsgBox::Recorder> g_boxes;
QString g_path;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    g_app = new QCoreApplication(*argc, *argv);
    g_dir = std::make_unique<QTemporaryDir>();
    g_boxes = std::make_unique<MsgBox::Recorder>();
    g_path = g_dir->filePath(QStringLiteral("fuzz.vmq"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const tags[] = {"RW", "VO", "RT", "RQ", "SP", "??"};
    if (size < 2)
        return 0;
    const QString tag = QString::fromLatin1(tags[data[0] % 6]);
    const auto stopAt = static_cast<qint16>(static_cast<int8_t>(data[1]));
    {
        QFile f(g_path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data + 2), static_cast<qint64>(size - 2));
    }
    ReadCodedLines(g_path, tag, stopAt);
    const AppState& s = State();
    if (s.LineCount != s.LineBuffer.size() || s.LineCount < 0 || s.LineCount > kMaxCodedLines)
        std::abort();
    if (stopAt >= 1 && s.LineCount > stopAt)
        std::abort();
    for (const QString& line : s.LineBuffer)
        if (line.size() > kMaxCodedLineLength)
            std::abort();
    g_boxes->Clear();
    return 0;
}
