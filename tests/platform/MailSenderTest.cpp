#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "MailSender.h"
#include "TestSupport.h"
#include "TutorMail.h"

namespace {

// A stand-in sendmail program that keeps its arguments and the message it was given.
class StubSendmail : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Install(0);
    }
    void TearDown() override { qunsetenv("VELMORA_SENDMAIL"); }

    void Install(int exitCode)
    {
        const QString script = m_dir.filePath("sendmail");
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\ncat > '%2'\nexit %3\n")
                    .arg(m_dir.filePath("args"), m_dir.filePath("message"))
                    .arg(exitCode)
                    .toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
    const MailSender::Result result = SendToTutor(QStringLiteral("lee"), QStringLiteral("Ann's questions about lesson 5"),
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
    MailSender::Send({{QStringLiteral("tutor@velmora.example")},
                      QStringLiteral("Eve\r\nBcc: victim@example.org's questions"), QStringLiteral("hi")});
    for (const QByteArray& line : Headers())
        EXPECT_FALSE(line.startsWith("Bcc")) << line.constData();
    EXPECT_EQ(Headers().size(), 5);

    // Chinese subjects are encoded words and decode back.
    MailSender::Send({{QStringLiteral("tutor@velmora.example")}, QStringLiteral("王小明的问题"), QStringLiteral("x")});
    const QByteArray subject = Headers().at(1);
    EXPECT_TRUE(subject.startsWith("Subject: =?UTF-8?B?"));
    EXPECT_EQ(QByteArray::fromBase64(subject.mid(19, subject.indexOf("?=") - 19)),
              QStringLiteral("王小明的问题").toUtf8());
}

TEST_F(StubSendmail, FailuresAreReported)
{
    Install(75);
    EXPECT_EQ(SendToTutor(QStringLiteral("tutor"), QStringLiteral("s"), QStringLiteral("t")), MailSender::Result::Failed);
    Install(0);
    QFile::remove(m_dir.filePath("message"));
    // A recipient that would break the header line is refused before anything runs.
    EXPECT_EQ(MailSender::Send({{QStringLiteral("a@b\r\nBcc: c@d")}, QStringLiteral("s"), QStringLiteral("t")}),
              MailSender::Result::Failed);
    EXPECT_TRUE(Read("message").isEmpty());
    qputenv("VELMORA_SENDMAIL", m_dir.filePath("missing").toUtf8());
    EXPECT_TRUE(MailSender::SendmailProgram().isEmpty());
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
