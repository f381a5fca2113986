#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <cerrno>
#include <optional>
#include <unistd.h>

#include "ChatHistory.h"
#include "CodePage.h"
#include "SafeFile.h"
#include "TestSupport.h"

namespace {

using ChatRows::Page;

TEST(ChatHistoryLines, LoadRulesSkipShortAndNonDigitLines)
{
    const QStringList lines = {
        QStringLiteral("1你好"),   // received
        QStringLiteral("0hello"),  // own
        QStringLiteral("7x"),      // any digit but 0 is received
        QStringLiteral("a你好"),   // starts with a letter
        QStringLiteral("1"),       // one character only
        QString(),
        QStringLiteral(" 1blank"), // starts with a blank
        QStringLiteral("０x"),     // a full-width digit is no digit here
        QStringLiteral("0 "),
    };
    const QVector<ChatMessage> messages = ChatHistory::FromLines(lines);
    ASSERT_EQ(messages.size(), 4);
    const struct {
        const char* text;
        bool received;
    } want[] = {{"你好", true}, {"hello", false}, {"x", true}, {" ", false}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(messages[i].Text, QString::fromUtf8(want[i].text));
        EXPECT_EQ(messages[i].Received, want[i].received);
        EXPECT_TRUE(messages[i].Sound.isEmpty());
    }
}

class ChatHistoryFile : public AppFixture {};

TEST_F(ChatHistoryFile, SavesGb18030WithCrLfAndLoadsItBack)
{
    const QVector<ChatMessage> messages = {
        {QStringLiteral("你好"), false, QStringLiteral("ni3hao3")},
        {QStringLiteral("ok 😀"), true, {}}, // outside code page 936: GB18030 keeps it
    };
    ASSERT_TRUE(ChatHistory::Save(messages).Ok);
    EXPECT_EQ(ReadFile("Record/Chat.txt"),
        QByteArray::fromHex("30C4E3BAC30D0A") + QByteArray("1ok ") + QByteArray::fromHex("9439FC360D0A"));
    const QVector<ChatMessage> loaded = ChatHistory::Load();
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded[0].Text, messages[0].Text);
    EXPECT_FALSE(loaded[0].Received);
    EXPECT_TRUE(loaded[0].Sound.isEmpty()) << "read-aloud sequences are not stored";
    EXPECT_EQ(loaded[1].Text, messages[1].Text);
    EXPECT_TRUE(loaded[1].Received);
    EXPECT_TRUE(QDir(Path("Record")).entryList(QDir::Files | QDir::Hidden).contains("Chat.txt"));
    EXPECT_EQ(QDir(Path("Record")).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary left";
}

TEST_F(ChatHistoryFile, NoMessagesWriteNothingAndAMissingFileLoadsNone)
{
    EXPECT_TRUE(ChatHistory::Load().isEmpty());
    EXPECT_TRUE(ChatHistory::Save({}).Ok);
    EXPECT_FALSE(QFile::exists(Path("Record/Chat.txt")));

    WriteFile("Record/Chat.txt", "1old\r\n");
    EXPECT_TRUE(ChatHistory::Save({}).Ok);
    EXPECT_EQ(ReadFile("Record/Chat.txt"), QByteArray("1old\r\n"));
    ChatHistory::Remove();
    WaitForWrites();
    EXPECT_FALSE(QFile::exists(Path("Record/Chat.txt")));
}

// A history just under the file's bound, each line a distinct message of about 2 KB, and a
// few new messages that push it past: saving them moves the oldest half to a kept file.
class ChatSplitTest : public AppFixture {
protected:
    static constexpr int NewMessages = 20;

    void SetUp() override
    {
        AppFixture::SetUp();
        const QString body(990, QChar(0x4F60));
        QByteArray bytes;
        bytes.reserve(SafeFile::MaxTextFileBytes);
        for (int i = 0;; ++i) {
            const QString line = QStringLiteral("1%1 ").arg(i) + body;
            const QByteArray encoded = CodePage::ToGbk(line) + "\r\n";
            if (bytes.size() + encoded.size() > SafeFile::MaxTextFileBytes)
                break;
            bytes += encoded;
            m_old.append(line);
        }
        WriteFile("history.txt", bytes);
        for (int i = 0; i < NewMessages; ++i)
            m_new.append(QStringLiteral("1new %1 ").arg(i) + body);
    }

    // A Record folder holding only the history: a link to one file, which saves replace but
    // never change.
    void FreshRecord()
    {
        QDir(Path("Record")).removeRecursively();
        QFile::remove(Path("told.txt"));
        ASSERT_TRUE(QDir().mkpath(Path("Record")));
        ASSERT_EQ(::link(QFile::encodeName(Path("history.txt")).constData(),
                      QFile::encodeName(ChatHistory::FilePath()).constData()),
            0);
        m_boxes->Clear();
    }

    // Every message as the next session finds it: the kept files in their order, then the
    // history it loads.
    QStringList NextSession() const
    {
        const QStringList loaded = ChatHistory::ToLines(ChatHistory::Load());
        QStringList all;
        for (int n = 1; QFileInfo::exists(Kept(n)); ++n)
            all += SafeFile::ReadTextLines(Kept(n));
        return all + loaded;
    }

    QString Kept(int n) const { return Path(QStringLiteral("Record/Chat (kept %1).txt").arg(n)); }
    // What the learner was told, in the killed session and in the next one.
    QString Told() const { return QString::fromUtf8(ReadFile("told.txt")) + m_boxes->Texts().join(u'\n'); }
    QStringList SplitFiles() const { return QDir(Path("Record")).entryList({QStringLiteral("*.split")}, QDir::Files); }

    QStringList m_old;
    QStringList m_new;
};

// The session's save killed before each step that changes the disk, in a process of its own
// (and once not at all): the next session has every message exactly once, in order: the new
// ones too once the step that replaces Chat.txt is done. A kept file is named to the learner,
// by the killed session or at the next opening.
TEST_F(ChatSplitTest, ASaveKilledAtAnyStepOfASplitLeavesEveryMessageOnceAndTheLearnerTold)
{
    bool reached = false; // the new messages were on disk after an earlier step
    for (int step = 1; step < 40; ++step) {
        SCOPED_TRACE(testing::Message() << "killed at step " << step);
        FreshRecord();
        QProcess child;
        child.start(QStringLiteral(CHAT_SPLIT_CHILD), {QString::number(step), QString::number(NewMessages)});
        ASSERT_TRUE(child.waitForFinished(120000));
        const bool killed = child.exitStatus() == QProcess::CrashExit;
        if (!killed) {
            ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        }

        const QStringList onDisk = NextSession();
        if (onDisk.size() == m_old.size() && !reached) {
            EXPECT_TRUE(onDisk == m_old);
        } else {
            EXPECT_TRUE(onDisk == m_old + m_new) << onDisk.size() << " messages";
            reached = true;
        }
        EXPECT_EQ(Told().contains(QDir::toNativeSeparators(Kept(1))), QFileInfo::exists(Kept(1)));
        EXPECT_FALSE(QFileInfo::exists(Kept(2)));
        EXPECT_TRUE(SplitFiles().isEmpty());
        if (!killed) {
            EXPECT_TRUE(reached);
            EXPECT_TRUE(QFileInfo::exists(Kept(1)));
            return;
        }
    }
    ADD_FAILURE() << "the save never ended";
}

// The disk full at each step of the split in turn: a write that fails says so and leaves the
// messages where they were, and the session's next save (as at its close) finishes the work:
// every message once, and the learner told of the kept file.
TEST_F(ChatSplitTest, AFullDiskAtAnyStepOfASplitLosesNothingAndTheNextSaveFinishesIt)
{
    const QVector<ChatMessage> messages = ChatHistory::FromLines(m_old + m_new);
    for (int step = 1; step < 40; ++step) {
        SCOPED_TRACE(testing::Message() << "full at step " << step);
        FreshRecord();
        int steps = 0;
        QString full; // the step that failed
        SafeFile::SetStepHook([&](const char* at, const QString&) {
            if (++steps != step)
                return 0;
            full = QLatin1String(at);
            return ENOSPC;
        });
        const auto kept = std::make_shared<ChatHistory::KeptPart>();
        QObject session;
        std::optional<ChatHistory::SaveOutcome> first;
        std::optional<ChatHistory::SaveOutcome> second;
        ChatHistory::SaveLater(messages, kept, &session, [&](const ChatHistory::SaveOutcome& o) { first = o; });
        WaitForWrites();
        SafeFile::SetStepHook(nullptr);
        ASSERT_TRUE(first.has_value());
        if (!first->Ok) {
            EXPECT_TRUE(first->Failure.contains(qt_error_string(ENOSPC))) << first->Failure.toStdString();
        } else {
            EXPECT_TRUE(full.isEmpty() || full == "sync" || full == "rename") << full.toStdString();
        }
        ChatHistory::SaveLater(messages, kept, &session, [&](const ChatHistory::SaveOutcome& o) { second = o; });
        WaitForWrites();
        ASSERT_TRUE(second.has_value());
        EXPECT_TRUE(second->Ok);

        EXPECT_TRUE(NextSession() == m_old + m_new);
        EXPECT_TRUE(Told().contains(QDir::toNativeSeparators(Kept(1))));
        EXPECT_FALSE(QFileInfo::exists(Kept(2)));
        EXPECT_TRUE(SplitFiles().isEmpty());
        if (full.isEmpty())
            return;
    }
    ADD_FAILURE() << "the save never ended";
}

TEST(ChatRowsTest, TheLastPageFillsFromTheBottom)
{
    struct Case {
        int count;
        std::array<int, 10> rows;
        bool scroll;
        int maximum;
    };
    const Case cases[] = {
        {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false, 0},
        {3, {0, 0, 0, 0, 0, 0, 0, 1, 2, 3}, false, 0},
        {10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, false, 0},
        {11, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true, 1},
        {40000, {39991, 39992, 39993, 39994, 39995, 39996, 39997, 39998, 39999, 40000}, true, 39990},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const Page page = ChatRows::LastPage(c.count);
        EXPECT_EQ(std::vector<int>(std::begin(page.Message), std::end(page.Message)),
            std::vector<int>(c.rows.begin(), c.rows.end()));
        EXPECT_EQ(page.ScrollEnabled, c.scroll);
        EXPECT_EQ(page.ScrollMaximum, c.maximum);
        EXPECT_EQ(page.ScrollValue, c.maximum);
    }
}

TEST(ChatRowsTest, ScrollingAndReadingARowNameTheSameMessage)
{
    const Page top = ChatRows::AtScroll(0, 11);
    EXPECT_EQ(top.Message[0], 1);
    EXPECT_EQ(top.Message[9], 10);
    EXPECT_EQ(ChatRows::AtScroll(1, 11).Message[9], 11);
    for (int count : {3, 10, 11, 25}) {
        const int maximum = std::max(0, count - 10);
        for (int value = 0; value <= maximum; ++value) {
            const Page page = value == maximum ? ChatRows::LastPage(count) : ChatRows::AtScroll(value, count);
            for (int row = 0; row < 10; ++row) {
                SCOPED_TRACE(testing::Message() << count << " messages, value " << value << ", row " << row);
                EXPECT_EQ(ChatRows::MessageOfRow(row, count, value), page.Message[row]);
            }
        }
    }
    EXPECT_EQ(ChatRows::MessageOfRow(-1, 3, 0), 0);
    EXPECT_EQ(ChatRows::MessageOfRow(10, 3, 0), 0);
}

} // namespace
