#include "ChatHistory.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>

#include "BackgroundWriter.h"
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
// No messages: nothing written.
bool Write(const QString& path, const QVector<ChatMessage>& messages)
{
    return messages.isEmpty() || SafeFile::WriteTextLines(path, ToLines(messages));
}
} // namespace

bool Save(const QVector<ChatMessage>& messages)
{
    if (!messages.isEmpty())
        EnsureRecordFolder();
    return Write(FilePath(), messages);
}

void SaveLater(const QVector<ChatMessage>& messages, QObject* context, std::function<void(bool)> done)
{
    // The copy shares the messages' data: the window's later changes copy it, never the writer.
    // The shared state stays on this thread: the path and the folder are settled here.
    if (!messages.isEmpty())
        EnsureRecordFolder();
    const QPointer<QObject> alive(context);
    BackgroundWriter::Instance().Post([messages, path = FilePath(), alive, done = std::move(done)] {
        const bool ok = Write(path, messages);
        if (QCoreApplication* app = QCoreApplication::instance(); app && done) {
            QMetaObject::invokeMethod(app, [alive, done, ok] {
                if (alive)
                    done(ok);
            }, Qt::QueuedConnection);
        }
    });
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
