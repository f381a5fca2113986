#include "ChatHistory.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>

#include <algorithm>
#include <mutex>
#include <numeric>
#include <tuple>

#include "BackgroundWriter.h"
#include "CodePage.h"
#include "MsgBox.h"
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

namespace {
// A split moves the oldest messages to files of their own in steps that a crash may part:
// each file is written first under a name that says what Chat.txt holds once the split has
// reached it ("Chat.txt.<n>.<size>-<MD5>.split": the size and digest of the text Chat.txt then
// starts with, which later saves only add to), then Chat.txt is replaced, then the learner is
// told and each file takes its kept name. Whoever finds such files settles them: a split
// that reached Chat.txt is finished, one that did not is undone, so every message is in
// exactly one file whatever step the program ended at.
struct SplitFile {
    QString path;
    int index{0};
    qint64 size{0};
    QByteArray digest; // hex
};

// The renames of split files, from the writer's thread and the window's.
std::mutex finishMutex;

QString SplitName(const QString& path, int index, qint64 size, const QByteArray& digest)
{
    return QStringLiteral("%1.%2.%3-%4.split").arg(path).arg(index).arg(size).arg(QString::fromLatin1(digest));
}

QList<SplitFile> SplitFiles(const QString& path)
{
    const QFileInfo info(path);
    const QRegularExpression pattern(QStringLiteral("^%1\\.(\\d+)\\.(\\d+)-([0-9a-f]{32})\\.split$")
                                         .arg(QRegularExpression::escape(info.fileName())));
    QList<SplitFile> files;
    const QStringList names = info.dir().entryList({info.fileName() + QStringLiteral(".*.split")},
        QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (m.hasMatch())
            files.append({info.dir().filePath(name), m.captured(1).toInt(), m.captured(2).toLongLong(),
                m.captured(3).toLatin1()});
    }
    std::sort(files.begin(), files.end(), [](const SplitFile& a, const SplitFile& b) {
        return std::tie(a.size, a.digest, a.index) < std::tie(b.size, b.digest, b.index);
    });
    return files;
}

// Whether the split of that size and digest reached the file: it starts with that text. A
// file that is gone (the learner cleared the history since) or cannot be read keeps the
// split's files: undoing is only for a file that still holds their messages.
bool Reached(const QString& path, qint64 size, const QByteArray& digest)
{
    QByteArray head;
    const SafeFile::ReadStatus status = SafeFile::ReadRegularHead(path, size, &head);
    if (status != SafeFile::ReadStatus::Ok)
        return true;
    return head.size() == size && QCryptographicHash::hash(head, QCryptographicHash::Md5).toHex() == digest;
}

// Removes the files of splits that never reached path; returns those of splits that did, in
// their order.
QStringList SettleSplits(const QString& path)
{
    QStringList reached;
    const QList<SplitFile> files = SplitFiles(path);
    for (qsizetype i = 0; i < files.size();) {
        qsizetype end = i;
        while (end < files.size() && files[end].size == files[i].size && files[end].digest == files[i].digest)
            ++end;
        const bool done = Reached(path, files[i].size, files[i].digest);
        for (; i < end; ++i) {
            if (done)
                reached.append(files[i].path);
            else
                SafeFile::Remove(files[i].path);
        }
    }
    return reached;
}

// Gives the split files that are still there their kept names (wanted first, when given).
// *failure: why one that is still there could not be moved; empty when none.
QStringList MoveToKept(const QString& path, const QStringList& files, const QStringList& wanted = {},
    QString* failure = nullptr)
{
    const std::lock_guard lock(finishMutex);
    QStringList kept;
    for (qsizetype i = 0; i < files.size(); ++i) {
        bool gone = false;
        const QString name = SafeFile::MoveToKeptName(files[i], path, wanted.value(i), &gone);
        if (!name.isEmpty())
            kept.append(name);
        else if (!gone && failure && failure->isEmpty())
            *failure = QStringLiteral("%1 could not be renamed: %2.")
                           .arg(QFileInfo(files[i]).fileName(), qt_error_string(errno));
    }
    return kept;
}

// On the window's thread: the learner is told where the split files go, then they go there,
// so a program that ends meanwhile leaves them to be named at the next opening. already: files
// moved before, named in the same word.
QStringList TellAndFinish(const QString& path, const QStringList& files, const QStringList& already)
{
    QStringList present;
    for (const QString& f : files) {
        if (QFileInfo::exists(f))
            present.append(f);
    }
    const QStringList names = SafeFile::KeptNames(path, int(present.size()));
    if (!already.isEmpty() || !present.isEmpty())
        MsgBox::Warning(KeptText(already + names));
    return already + MoveToKept(path, present, names);
}

// How many of the oldest lines go to each kept file: each run fits in bound, and they stop
// once what follows fills no more than half of it, so that the next saves do not move messages
// again at once. The newest line always stays. A line larger than bound ends the runs.
QVector<qsizetype> KeptRuns(const QByteArrayList& encoded, qint64 bound)
{
    qint64 rest = 0;
    for (const QByteArray& line : encoded)
        rest += line.size();
    QVector<qsizetype> runs;
    qsizetype i = 0;
    while (rest > bound) {
        qint64 run = 0;
        const qsizetype start = i;
        while (i + 1 < encoded.size() && run + encoded.at(i).size() <= bound && rest - run > bound / 2)
            run += encoded.at(i++).size();
        if (i == start)
            break;
        rest -= run;
        runs.append(i - start);
    }
    return runs;
}

// Lines from to to of encoded, as the file holds them.
QByteArray Joined(const QByteArrayList& encoded, qsizetype from, qsizetype to)
{
    qsizetype size = 0;
    for (qsizetype i = from; i < to; ++i)
        size += encoded.at(i).size();
    QByteArray data;
    data.reserve(size);
    for (qsizetype i = from; i < to; ++i)
        data += encoded.at(i);
    return data;
}

struct Written {
    SaveOutcome outcome;
    QStringList split; // the files of a split that reached the file, still to take their names
};

// Save to path, on any thread. finish: the split's files take their kept names at once;
// otherwise they are left to TellAndFinish.
Written SaveTo(const QString& path, const QVector<ChatMessage>& messages, KeptPart& kept, bool finish)
{
    Written written;
    SaveOutcome& outcome = written.outcome;
    if (messages.size() <= kept.Messages)
        return written;
    const QStringList lines = ToLines(messages.mid(kept.Messages));
    // Each line encoded once, as SafeFile::EncodeTextLines writes it: a long history is
    // measured, split and written from the same bytes.
    QByteArrayList encoded;
    encoded.reserve(lines.size());
    qint64 size = 0;
    for (const QString& line : lines) {
        encoded.append(CodePage::ToGbk(line) + "\r\n");
        size += encoded.back().size();
    }
    const auto failed = [&outcome](const QString& why) {
        outcome.Ok = false;
        outcome.Failure = why;
        return Written{outcome, {}};
    };
    if (size <= SafeFile::MaxTextFileBytes) {
        return SafeFile::WriteAll(path, Joined(encoded, 0, encoded.size())) ? written
                                                                             : failed(SafeFile::WriteFailure());
    }

    // What an earlier split left is settled first, so that its files are never taken for
    // this one's.
    QString failure;
    outcome.Kept = MoveToKept(path, SettleSplits(path), {}, &failure);
    if (!failure.isEmpty())
        return failed(failure);

    const QVector<qsizetype> runs = KeptRuns(encoded, SafeFile::MaxTextFileBytes);
    const qsizetype moving = std::accumulate(runs.begin(), runs.end(), qsizetype(0));
    const QByteArray rest = Joined(encoded, moving, encoded.size());
    if (rest.size() > SafeFile::MaxTextFileBytes) {
        SafeFile::WriteTextLines(path, lines.mid(moving)); // refused: says why
        return failed(SafeFile::WriteFailure());
    }
    const QByteArray digest = QCryptographicHash::hash(rest, QCryptographicHash::Md5).toHex();
    QStringList files;
    const auto undo = [&files, &failed] {
        const QString why = SafeFile::WriteFailure();
        for (const QString& f : files)
            SafeFile::Remove(f);
        return failed(why);
    };
    qsizetype start = 0;
    for (const qsizetype run : runs) {
        files.append(SplitName(path, int(files.size()) + 1, rest.size(), digest));
        if (!SafeFile::WriteInPlace(files.back(), Joined(encoded, start, start + run)))
            return undo();
        start += run;
    }
    if (!SafeFile::WriteAll(path, rest))
        return undo();
    kept.Messages += moving;
    if (finish)
        outcome.Kept += MoveToKept(path, files);
    else
        written.split = files;
    return written;
}
} // namespace

QVector<ChatMessage> Load()
{
    BackgroundWriter::Instance().WaitForAll();
    const QString path = FilePath();
    TellAndFinish(path, SettleSplits(path), {});
    return FromLines(ReadRecordLines(path));
}

SaveOutcome Save(const QVector<ChatMessage>& messages, KeptPart& kept)
{
    if (!messages.isEmpty())
        EnsureRecordFolder();
    return SaveTo(FilePath(), messages, kept, true).outcome;
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
        const Written written = SaveTo(path, messages, *kept, false);
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || (!done && written.split.isEmpty() && written.outcome.Kept.isEmpty()))
            return;
        QMetaObject::invokeMethod(app, [alive, done, written, path] {
            // Gone with its window: the split's files are named at the next opening.
            if (!alive)
                return;
            SaveOutcome outcome = written.outcome;
            outcome.Kept = TellAndFinish(path, written.split, outcome.Kept);
            if (done)
                done(outcome);
        }, Qt::QueuedConnection);
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
