// The program's end from outside and from inside, in a program of its own (EndHost.cpp) that
// holds unsaved questions, a reading text and a chat message, with a mail to the tutor still
// going: ended by SIGTERM, SIGHUP, the session manager's end or its own last window, it saves
// what its windows hold and leaves no mail program, nor anything one started, behind.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

#include "ChatHistory.h"
#include "LoopbackService.h"
#include "QuestionNotes.h"
#include "RecordFolder.h"
#include "RichTextBox.h"
#include "TestSupport.h"

namespace {

class ProgramEndTest : public AppFixture {
protected:
    void TearDown() override
    {
        // Whatever a failed case left running goes: the program, and the mail program's group.
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished();
        }
        if (m_group == 0)
            m_group = ReadGroup();
        if (m_group > 0)
            ::kill(-static_cast<pid_t>(m_group), SIGKILL);
        qunsetenv("VELMORA_SENDMAIL");
        AppFixture::TearDown();
    }

    // Starts the program with a stand-in sendmail program that starts a child, says both ids
    // and waits, after the given trap of SIGTERM; returns once the mail is going and the chat
    // message is in.
    void Start(const QString& trap)
    {
        const QString pids = Path(QStringLiteral("pids"));
        ASSERT_NO_FATAL_FAILURE(WriteScript(Path(QStringLiteral("sendmail")),
            QStringLiteral("#!/bin/sh\n%1\n(%2) &\necho $$ $! > '%3.tmp' && mv '%3.tmp' '%3'\nwait\n")
                .arg(trap, HangWhileTestsRun(), pids)));
        qputenv("VELMORA_SENDMAIL", Path(QStringLiteral("sendmail")).toUtf8());
        m_program.setProgram(QStringLiteral(END_HOST));
        m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program.start();
        ASSERT_TRUE(RunUntil([&] { return m_program.canReadLine() || m_program.state() == QProcess::NotRunning; }));
        ASSERT_EQ(m_program.readLine(), QByteArray("ready\n"));
        ASSERT_TRUE(RunUntil([&] { return QFile::exists(pids); })) << "the mail program never started";
        m_group = ReadGroup();
        ASSERT_GT(m_group, 0);
        ASSERT_GE(LiveProcessesOfGroup(m_group).size(), 2) << "the mail program and its child";
    }

    // The mail program's process group, as it said (0 until it did).
    qint64 ReadGroup() const { return ReadFile(QStringLiteral("pids")).trimmed().split(' ').value(0).toLongLong(); }

    QProcess m_program;
    qint64 m_group{0}; // the mail program's process group (its own id)
};

TEST_F(ProgramEndTest, EveryEndSavesWhatTheWindowsHoldAndLeavesNoMailProgram)
{
    enum class End { Signal, SessionManager, LastWindow };
    const struct {
        const char* name;
        End end;
        int signal;
        const char* trap; // what the mail program does with SIGTERM
    } cases[] = {
        {"SIGTERM", End::Signal, SIGTERM, ""},
        {"SIGHUP, the mail program ignoring SIGTERM", End::Signal, SIGHUP, "trap '' TERM"},
        {"SIGTERM, a second one while ending", End::Signal, SIGTERM, "trap 'kill -TERM $PPID; exit 0' TERM"},
        {"the session manager's end", End::SessionManager, 0, ""},
        {"the last window unloaded", End::LastWindow, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* record : {"Record/Question.txt", "Record/Reading.rtf", "Record/Chat.txt", "pids"})
            QFile::remove(Path(QLatin1String(record)));
        ASSERT_NO_FATAL_FAILURE(Start(QLatin1String(c.trap)));

        switch (c.end) {
        case End::Signal:
            ::kill(static_cast<pid_t>(m_program.processId()), c.signal);
            break;
        case End::SessionManager:
            m_program.write("die\n");
            m_program.waitForBytesWritten();
            break;
        case End::LastWindow:
            m_program.write("unload\n");
            m_program.waitForBytesWritten();
            break;
        }
        ASSERT_TRUE(m_program.waitForFinished(60000));
        EXPECT_EQ(m_program.exitStatus(), QProcess::NormalExit) << "ended by the signal itself";
        EXPECT_EQ(m_program.exitCode(), 0);
        // Ended before the program's own end; the kernel takes a moment to carry it out.
        EXPECT_TRUE(RunUntil([&] { return LiveProcessesOfGroup(m_group).isEmpty(); }))
            << "a mail program or its child outlived the program";
        ::kill(-static_cast<pid_t>(m_group), SIGKILL);
        m_group = 0;

        // What the windows held loads back whole.
        EXPECT_EQ(ReadQuestions(RecordPath(QStringLiteral("Question.txt"))),
            std::optional<QString>(QStringLiteral("First question\r\nSecond question")));
        RichTextBox reading;
        EXPECT_TRUE(reading.LoadFile(RecordPath(QStringLiteral("Reading.rtf"))));
        EXPECT_EQ(reading.Text(), QStringLiteral("你好, reading"));
        const QVector<ChatMessage> chat = ChatHistory::Load();
        ASSERT_FALSE(chat.isEmpty());
        EXPECT_EQ(chat.front().Text, QStringLiteral("你好吗"));
        EXPECT_FALSE(chat.front().Received);
        EXPECT_EQ(chat.size(), 1);
        EXPECT_EQ(QDir(Path(QStringLiteral("Record"))).entryList(QDir::Files | QDir::Hidden),
            (QStringList{QStringLiteral("Chat.txt"), QStringLiteral("Question.txt"), QStringLiteral("Reading.rtf")}))
            << "only the records, no temporary";
    }
}

} // namespace
