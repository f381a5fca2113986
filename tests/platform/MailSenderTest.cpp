#include <gtest/gtest.h>

#include <QFile>
#include <QFileSystemWatcher>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <optional>

#include "Clock.h"
#include "LoopbackService.h"
#include "MailSender.h"
#include "TestSupport.h"
#include "TutorMail.h"

namespace {

// Starts mail and runs the event loop until its result comes.
MailSender::Result SendAndWait(const MailSender::Mail& mail)
{
    QObject context;
    std::optional<MailSender::Result> result;
    MailSender::Send(mail, &context, [&](MailSender::Result r) { result = r; });
    EXPECT_FALSE(result) << "reported inside the call";
    WaitForMail();
    return result.value_or(MailSender::Result::Failed);
}

MailSender::Result SendToTutorAndWait(const QString& mailbox, const QString& subject, const QString& text)
{
    return SendAndWait({MailSender::SplitRecipients(TutorRecipients(mailbox)), subject, text});
}

// A stand-in sendmail program that keeps its arguments and the message it was given.
class StubSendmail : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Install(0);
    }
    void TearDown() override
    {
        MailSender::EndAll();
        qunsetenv("VELMORA_SENDMAIL");
    }

    void Install(int exitCode)
    {
        const QString script = m_dir.filePath("sendmail");
        ASSERT_NO_FATAL_FAILURE(WriteScript(script, QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\ncat > '%2'\nexit %3\n")
                                                        .arg(m_dir.filePath("args"), m_dir.filePath("message"))
                                                        .arg(exitCode)));
        qputenv("VELMORA_SENDMAIL", script.toUtf8());
    }
    QByteArray Read(const char* name) const
    {
        QFile f(m_dir.filePath(QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The header block of the message, split into lines.
    QList<QByteArray> Headers() const
    {
        const QByteArray message = Read("message");
        return message.left(message.indexOf("\r\n\r\n")).split('\n');
    }

    QTemporaryDir m_dir;
};

TEST_F(StubSendmail, AMailReachesTheProgramWithItsHeadersAndBody)
{
    const MailSender::Result result = SendToTutorAndWait(QStringLiteral("lee"), QStringLiteral("Ann's questions about lesson 5"),
                                                  QStringLiteral("什么意思？\r\nSecond line"));
    EXPECT_EQ(result, MailSender::Result::Sent);
    EXPECT_EQ(Read("args"), QByteArray("-t -oi\n"));
    const QByteArray message = Read("message");
    EXPECT_TRUE(message.startsWith("To: lee@velmora.example, tutor@velmora.example\r\n"));
    EXPECT_TRUE(message.contains("Subject: Ann's questions about lesson 5\r\n"));
    const QByteArray body = message.mid(message.indexOf("\r\n\r\n") + 4);
    EXPECT_EQ(QByteArray::fromBase64(body), QStringLiteral("什么意思？\r\nSecond line").toUtf8());
}

TEST_F(StubSendmail, NamesWithLineBreaksAddNoHeader)
{
    SendAndWait({{QStringLiteral("tutor@velmora.example")},
                      QStringLiteral("Eve\r\nBcc: victim@example.org's questions"), QStringLiteral("hi")});
    for (const QByteArray& line : Headers())
        EXPECT_FALSE(line.startsWith("Bcc")) << line.constData();
    EXPECT_EQ(Headers().size(), 5);

    // Chinese subjects are encoded words and decode back.
    SendAndWait({{QStringLiteral("tutor@velmora.example")}, QStringLiteral("王小明的问题"), QStringLiteral("x")});
    const QByteArray subject = Headers().at(1);
    EXPECT_TRUE(subject.startsWith("Subject: =?UTF-8?B?"));
    EXPECT_EQ(QByteArray::fromBase64(subject.mid(19, subject.indexOf("?=") - 19)),
              QStringLiteral("王小明的问题").toUtf8());
}

TEST_F(StubSendmail, FailuresAreReported)
{
    Install(75);
    EXPECT_EQ(SendToTutorAndWait(QStringLiteral("tutor"), QStringLiteral("s"), QStringLiteral("t")),
        MailSender::Result::Failed);
    Install(0);
    QFile::remove(m_dir.filePath("message"));
    // A recipient that would break the header line is refused before anything runs.
    EXPECT_EQ(SendAndWait({{QStringLiteral("a@b\r\nBcc: c@d")}, QStringLiteral("s"), QStringLiteral("t")}),
              MailSender::Result::Failed);
    EXPECT_TRUE(Read("message").isEmpty());
    qputenv("VELMORA_SENDMAIL", m_dir.filePath("missing").toUtf8());
    EXPECT_TRUE(MailSender::SendmailProgram().isEmpty());
}

// True while pid is a process that has not ended (a zombie has ended).
bool Alive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close > 0 && line.mid(close + 2, 1) != "Z";
}

TEST_F(StubSendmail, AMailProgramThatHangsIsEndedWithItsChildrenAndSaysWhetherItTookTheMail)
{
    // Each program starts a child, says so, and hangs: before or after reading the mail.
    const struct {
        const char* name;
        const char* read;
        MailSender::Result result;
        bool endedAtOnce; // by EndAll, as a test ends, rather than by the time limit
    } cases[] = {
        {"hangs before reading", "", MailSender::Result::Failed, false},
        {"reads the mail, then hangs", "cat > /dev/null\n", MailSender::Result::MaybeSent, false},
        {"hangs before reading, ended at once", "", MailSender::Result::Failed, true},
        {"reads the mail, then hangs, ended at once", "cat > /dev/null\n", MailSender::Result::MaybeSent, true},
    };
    Clock::UseManual(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(m_dir.filePath("child"));
        ASSERT_NO_FATAL_FAILURE(WriteScript(m_dir.filePath("sendmail"),
            QStringLiteral("#!/bin/sh\n(%3) &\n%2echo $! > '%1.tmp' && mv '%1.tmp' '%1'\n%3\n")
                .arg(m_dir.filePath("child"), QLatin1String(c.read), HangWhileTestsRun())));
        QFileSystemWatcher watcher({m_dir.path()});
        QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);

        QObject context;
        std::optional<MailSender::Result> result;
        MailSender::Send({{QStringLiteral("tutor@velmora.example")}, QStringLiteral("s"), QString(100000, u'x')}, &context,
            [&](MailSender::Result r) { result = r; });
        while (!QFile::exists(m_dir.filePath("child")))
            ASSERT_TRUE(changed.wait(5000));
        const qint64 child = Read("child").trimmed().toLongLong();
        ASSERT_TRUE(Alive(child));
        if (c.endedAtOnce) {
            MailSender::EndAll();
        } else {
            Clock::Advance(MailSender::TimeLimitMs - 1);
            EXPECT_FALSE(result);
            Clock::Advance(1);
            WaitForMail();
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(MailSender::Running(), 0);
        for (int i = 0; i < 1000000 && Alive(child); ++i)
            QThread::yieldCurrentThread();
        EXPECT_FALSE(Alive(child));
    }
    Clock::UseReal();

    // The next mail goes as usual.
    Install(0);
    EXPECT_EQ(SendToTutorAndWait(QStringLiteral("tutor"), QStringLiteral("s"), QStringLiteral("t")), MailSender::Result::Sent);
}

TEST_F(StubSendmail, AtTheProgramsEndAMailProgramIsAskedToEndThenMadeToWithItsGroup)
{
    // Each program starts a child and says so, after reading the mail or not; then it waits,
    // doing with the request to end (SIGTERM) what trap says.
    const struct {
        const char* name;
        const char* trap;
        const char* read;
        MailSender::Result result;
    } cases[] = {
        {"finishes and ends when asked", "trap 'exit 0' TERM", "cat > /dev/null\n", MailSender::Result::Sent},
        {"ended by the request before reading", "", "", MailSender::Result::Failed},
        {"ended by the request after reading", "", "cat > /dev/null\n", MailSender::Result::MaybeSent},
        {"deaf to the request, its child too", "trap '' TERM", "cat > /dev/null\n", MailSender::Result::MaybeSent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString pids = m_dir.filePath("pids");
        QFile::remove(pids);
        ASSERT_NO_FATAL_FAILURE(WriteScript(m_dir.filePath("sendmail"),
            QStringLiteral("#!/bin/sh\n%2\n%3(%4) &\necho $$ > '%1.tmp' && mv '%1.tmp' '%1'\nwait\n")
                .arg(pids, QLatin1String(c.trap), QLatin1String(c.read), HangWhileTestsRun())));
        QObject context;
        std::optional<MailSender::Result> result;
        MailSender::Send({{QStringLiteral("tutor@velmora.example")}, QStringLiteral("s"), QString(100000, u'x')}, &context,
            [&](MailSender::Result r) { result = r; });
        ASSERT_TRUE(RunUntil([&] { return QFile::exists(pids); }));
        const qint64 group = Read("pids").trimmed().toLongLong();
        ASSERT_GT(group, 0);

        MailSender::BeginEnding();
        MailSender::FinishEnding(200);
        EXPECT_EQ(result, c.result) << "reported before the end goes on";
        EXPECT_EQ(MailSender::Running(), 0);
        EXPECT_TRUE(RunUntil([group] { return LiveProcessesOfGroup(group).isEmpty(); }));
        ::kill(-static_cast<pid_t>(group), SIGKILL); // never outlives the test, even failing
    }
}

TEST_F(StubSendmail, AMailProgramStillRunningWhenTheProgramEndsIsEndedWithItsChildren)
{
    // The program ends in a child: this test program run again for this test alone, which
    // finds this run's folder in the environment.
    const char* const folderVariable = "VELMORA_TEST_MAIL_FOLDER";
    const bool inChild = qEnvironmentVariableIsSet(folderVariable);
    const QString folder = inChild ? qEnvironmentVariable(folderVariable) : m_dir.path();
    qputenv(folderVariable, folder.toUtf8());
    const QString pids = folder + "/pids";
    const QString hanging = folder + "/hanging";
    if (!inChild) {
        ASSERT_NO_FATAL_FAILURE(WriteScript(hanging,
            QStringLiteral("#!/bin/sh\n(%2) &\necho $$ $! > '%1.tmp' && mv '%1.tmp' '%1'\n%2\n").arg(pids, HangWhileTestsRun())));
    }
    qputenv("VELMORA_SENDMAIL", hanging.toUtf8());
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QObject context;
            MailSender::Send({{QStringLiteral("tutor@velmora.example")}, QStringLiteral("s"), QStringLiteral("t")},
                &context, {});
            RunUntil([&] { return QFile::exists(pids); });
            m_dir.remove();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    qunsetenv(folderVariable);

    // The mail program's process group (the program's own id) holds it, its child and what
    // each runs: that is what must be gone, not only the two ids it gave.
    const QList<QByteArray> started = Read("pids").trimmed().split(' ');
    const struct EndsGroup {
        qint64 group;
        ~EndsGroup() // never outlives the test, even failing
        {
            if (group > 0)
                ::kill(-static_cast<pid_t>(group), SIGKILL);
        }
    } ends{started.value(0).toLongLong()};
    ASSERT_EQ(started.size(), 2) << "the mail program and its child";
    ASSERT_GT(ends.group, 0);
    // Ended by the other program's end; the kernel takes a moment to carry it out.
    EXPECT_TRUE(RunUntil([&ends] { return LiveProcessesOfGroup(ends.group).isEmpty(); }));
}

TEST(MailComposerTest, TheComposerGetsTheAddressesAfterItsOptionsAndCountsOnlyWhenItStarted)
{
    QTemporaryDir bin;
    ASSERT_TRUE(bin.isValid());
    const QByteArray path = qgetenv("PATH");
    qputenv("VELMORA_SENDMAIL", bin.filePath("no-sendmail").toUtf8());
    qputenv("PATH", bin.path().toUtf8());
    const struct {
        const char* name;
        std::optional<int> exitCode; // none: no composer at all
        MailSender::Result result;
    } cases[] = {
        {"started", 0, MailSender::Result::Composer},
        {"no mail program behind it", 3, MailSender::Result::Failed},
        {"missing", std::nullopt, MailSender::Result::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(bin.filePath("xdg-email"));
        if (c.exitCode) {
            ASSERT_NO_FATAL_FAILURE(WriteScript(bin.filePath("xdg-email"),
                QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '%1'\nexit %2\n")
                    .arg(bin.filePath("args"))
                    .arg(*c.exitCode)));
        }
        EXPECT_EQ(SendAndWait({{QStringLiteral("-x@a.example"), QStringLiteral("b@a.example")}, QStringLiteral("s"),
                      QStringLiteral("t")}),
            c.result);
    }
    QFile args(bin.filePath("args"));
    ASSERT_TRUE(args.open(QIODevice::ReadOnly));
    EXPECT_TRUE(args.readAll().endsWith("\n--\n-x@a.example\nb@a.example\n"));
    qputenv("PATH", path);
    qunsetenv("VELMORA_SENDMAIL");
}

TEST(TutorMailTest, TheDefaultTutorGetsACopyOfQuestionsToOthers)
{
    const std::pair<const char*, const char*> cases[] = {
        {"lee", "lee@velmora.example;tutor@velmora.example"},
        {"tutor", "tutor@velmora.example"},
        {"TUTOR", "TUTOR@velmora.example"},
        {"", "@velmora.example;tutor@velmora.example"},
    };
    for (const auto& [mailbox, recipients] : cases) {
        SCOPED_TRACE(mailbox);
        EXPECT_EQ(TutorRecipients(QString::fromLatin1(mailbox)), QString::fromLatin1(recipients));
    }
    EXPECT_EQ(MailSender::SplitRecipients(QStringLiteral(" a@x ; ;b@y;")), (QStringList{"a@x", "b@y"}));
}

} // namespace
