#include "ChatHistory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>

#include "BackgroundWriter.h"
#include "CodePage.h"
#include "RecordFolder.h"
#include "SafeFile.h"

namespace ChatHistory {

QVector<ChatMessage> FromLines(const QStringList& lines)
{
    QVector<ChatMessage> messages;
    for (const QString& line : lines) {
        if (line.size() < 2 || line.at(0) < u'0' || line.at(0) > u'9')
            continue;
        messages.append({line.mid(1), line.at(0) != u'0', {}});
    }
    return messages;
}

QStringList ToLines(const QVector<ChatMessage>& messages)
{
    QStringList lines;
    lines.reserve(messages.size());
    for (const ChatMessage& m : messages)
        lines.append((m.Received ? u'1' : u'0') + m.Text);
    return lines;
}

QString FilePath() { return RecordPath(QStringLiteral("Chat.txt")); }

QVector<ChatMessage> Load()
{
    BackgroundWriter::Instance().WaitForAll();
    return FromLines(ReadRecordLines(FilePath()));
}

namespace {
// How many of the oldest lines go to each kept file: each run fits in bound, and they stop
// once what follows fills no more than half of it, so that the next saves do not move messages
// again at once. A line larger than bound ends the runs.
QVector<qsizetype> KeptRuns(const QStringList& lines, qint64 bound)
{
    QVector<qint64> sizes;
    sizes.reserve(lines.size());
    qint64 rest = 0;
    for (const QString& line : lines) {
        sizes.append(CodePage::ToGbk(line).size() + 2);
        rest += sizes.back();
    }
    QVector<qsizetype> runs;
    qsizetype i = 0;
    while (rest > bound) {
        qint64 run = 0;
        const qsizetype start = i;
        while (i < sizes.size() && run + sizes.at(i) <= bound && rest - run > bound / 2)
            run += sizes.at(i++);
        if (i == start)
            break;
        rest -= run;
        runs.append(i - start);
    }
    return runs;
}

// Save to path, on any thread.
SaveOutcome SaveTo(const QString& path, const QVector<ChatMessage>& messages, KeptPart& kept)
{
    SaveOutcome outcome;
    if (messages.size() <= kept.Messages)
        return outcome;
    QStringList lines = ToLines(messages.mid(kept.Messages));
    qsizetype fitting = 0;
    const QByteArray data = SafeFile::EncodeTextLines(lines, SafeFile::MaxTextFileBytes, &fitting);
    const auto failed = [&outcome] { return SaveOutcome{false, SafeFile::WriteFailure(), outcome.Kept}; };
    if (fitting == lines.size())
        return SafeFile::WriteAll(path, data) ? outcome : failed();
    // The oldest first, each run in a file of its own: a run written is never written again.
    for (const qsizetype run : KeptRuns(lines, SafeFile::MaxTextFileBytes)) {
        const QString keptPath = SafeFile::KeptName(path);
        if (!SafeFile::WriteTextLines(keptPath, lines.mid(0, run)))
            return failed();
        outcome.Kept.append(keptPath);
        kept.Messages += run;
        lines.remove(0, run);
    }
    return SafeFile::WriteTextLines(path, lines) ? outcome : failed();
}
} // namespace

SaveOutcome Save(const QVector<ChatMessage>& messages, KeptPart& kept)
{
    if (!messages.isEmpty())
        EnsureRecordFolder();
    return SaveTo(FilePath(), messages, kept);
}

void SaveLater(const QVector<ChatMessage>& messages, std::shared_ptr<KeptPart> kept, QObject* context,
    std::function<void(const SaveOutcome&)> done)
{
    // The copy shares the messages' data: the window's later changes copy it, never the writer.
    // The shared state stays on this thread: the path and the folder are settled here.
    if (!messages.isEmpty())
        EnsureRecordFolder();
    const QPointer<QObject> alive(context);
    BackgroundWriter::Instance().Post([messages, path = FilePath(), kept = std::move(kept), alive,
                                          done = std::move(done)] {
        const SaveOutcome outcome = SaveTo(path, messages, *kept);
        if (QCoreApplication* app = QCoreApplication::instance(); app && done) {
            QMetaObject::invokeMethod(app, [alive, done, outcome] {
                if (alive)
                    done(outcome);
            }, Qt::QueuedConnection);
        }
    });
}

QString KeptText(const QStringList& kept)
{
    QStringList names;
    for (const QString& path : kept)
        names.append(QDir::toNativeSeparators(path));
    return QStringLiteral("Your training history has grown larger than the %1 MB one file of it may hold. Its older "
                          "messages are kept in:\n%2")
        .arg(SafeFile::MaxTextFileBytes >> 20)
        .arg(names.join(u'\n'));
}

void Remove()
{
    BackgroundWriter::Instance().Post([path = FilePath()] { QFile::remove(path); });
}

} // namespace ChatHistory

namespace ChatRows {

Page LastPage(int messageCount)
{
    Page page;
    if (messageCount <= Count) {
        // Filled from the bottom; the rows above the oldest message stay as they are.
        for (int row = Count - 1, m = messageCount; row >= 0 && m >= 1; --row, --m)
            page.Message[row] = m;
        return page;
    }
    page.ScrollEnabled = true;
    page.ScrollMaximum = messageCount - Count;
    page.ScrollValue = page.ScrollMaximum;
    for (int row = 0; row < Count; ++row)
        page.Message[row] = page.ScrollValue + row + 1;
    return page;
}

Page AtScroll(int scrollValue, int messageCount)
{
    Page page;
    page.ScrollEnabled = messageCount > Count;
    page.ScrollMaximum = qMax(0, messageCount - Count);
    page.ScrollValue = qBound(0, scrollValue, page.ScrollMaximum);
    for (int row = 0; row < Count; ++row) {
        const int m = page.ScrollValue + row + 1;
        page.Message[row] = m <= messageCount ? m : 0;
    }
    return page;
}

int MessageOfRow(int row, int messageCount, int scrollValue)
{
    if (row < 0 || row >= Count)
        return 0;
    const int m = messageCount <= Count ? messageCount - (Count - 1 - row) : scrollValue + row + 1;
    return m >= 1 && m <= messageCount ? m : 0;
}

} // namespace ChatRows
