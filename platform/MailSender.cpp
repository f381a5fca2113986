#include "MailSender.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

#include "Timer.h"

namespace MailSender {

namespace {

// A header value on one line: every CR, LF and other control character becomes a blank.
QString OneLine(const QString& value)
{
    QString line = value;
    for (QChar& c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return line;
}

bool IsAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7E)
            return false;
    }
    return true;
}

// RFC 2047 encoded words of at most 75 characters, split between whole characters.
QByteArray EncodedHeader(const QString& value)
{
    const QString line = OneLine(value);
    if (IsAscii(line))
        return line.toLatin1();
    QByteArrayList words;
    QString piece;
    for (qsizetype i = 0; i < line.size(); ++i) {
        piece += line.at(i);
        if (line.at(i).isHighSurrogate() && i + 1 < line.size())
            piece += line.at(++i);
        if (piece.toUtf8().size() >= 39) { // 39 bytes -> 52 base64 characters per word
            words << "=?UTF-8?B?" + piece.toUtf8().toBase64() + "?=";
            piece.clear();
        }
    }
    if (!piece.isEmpty())
        words << "=?UTF-8?B?" + piece.toUtf8().toBase64() + "?=";
    return words.join("\r\n ");
}

QByteArray WrappedBase64(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        out += encoded.mid(i, 76) + "\r\n";
    return out;
}

bool ValidAddress(const QString& address)
{
    // Addresses go on a header line: nothing that could end it or start another.
    return !address.isEmpty() && address == OneLine(address) && !address.contains(u',')
           && address.count(u'@') == 1;
}

} // namespace

QStringList SplitRecipients(const QString& recipientText)
{
    QStringList addresses;
    for (const QString& part : recipientText.split(u';')) {
        const QString address = part.trimmed();
        if (!address.isEmpty())
            addresses << address;
    }
    return addresses;
}

QString SendmailProgram()
{
    const QString configured = qEnvironmentVariable("VELMORA_SENDMAIL");
    if (!configured.isEmpty())
        return QFileInfo(configured).isExecutable() ? configured : QString();
    for (const char* path : {"/usr/sbin/sendmail", "/usr/lib/sendmail"}) {
        if (QFileInfo(QString::fromLatin1(path)).isExecutable())
            return QString::fromLatin1(path);
    }
    return QStandardPaths::findExecutable(QStringLiteral("sendmail"));
}

QByteArray Message(const Mail& mail)
{
    QByteArray message;
    QStringList to;
    for (const QString& address : mail.Recipients)
        to << OneLine(address);
    message += "To: " + to.join(QStringLiteral(", ")).toUtf8() + "\r\n";
    message += "Subject: " + EncodedHeader(mail.Subject) + "\r\n";
    message += "MIME-Version: 1.0\r\n";
    message += "Content-Type: text/plain; charset=UTF-8\r\n";
    message += "Content-Transfer-Encoding: base64\r\n";
    message += "\r\n";
    message += WrappedBase64(mail.Body.toUtf8());
    return message;
}

namespace {

int g_running = 0;

// One mail on its way: the program, its time limit and the report. It deletes itself once
// its program has ended (a composer may outlive the report).
class Job : public QObject {
public:
    Job(QObject* context, std::function<void(Result)> done, bool composer, int timeLimitMs)
        : m_context(context), m_done(std::move(done)), m_composer(composer), m_limit(this, timeLimitMs)
    {
        ++g_running;
        // Its own process group, so that the time limit ends whatever the program started too.
        m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
        connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                FailLater();
        });
        connect(&m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
            const bool ok = !m_timedOut && status == QProcess::NormalExit && exitCode == 0;
            Report(ok ? (m_composer ? Result::Composer : Result::Sent) : Result::Failed);
            deleteLater();
        });
        connect(&m_limit, &Timer::Tick, this, &Job::TimeUp);
    }
    ~Job() override
    {
        if (m_process.state() != QProcess::NotRunning)
            EndGroup();
    }

    // Reports Failed from the event loop (a start may fail inside the call) and goes.
    void FailLater()
    {
        QMetaObject::invokeMethod(this, [this] {
            Report(Result::Failed);
            deleteLater();
        }, Qt::QueuedConnection);
    }

    void Start(const QString& program, const QStringList& args, const QByteArray& input)
    {
        m_process.setProgram(program);
        m_process.setArguments(args);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        if (input.isNull())
            m_process.setStandardInputFile(QProcess::nullDevice());
        m_process.start(input.isNull() ? QIODevice::ReadOnly : QIODevice::ReadWrite);
        if (!input.isNull()) {
            m_process.write(input);
            m_process.closeWriteChannel();
        }
        m_limit.SetEnabled(true);
    }

private:
    void TimeUp()
    {
        m_limit.SetEnabled(false);
        if (m_composer) {
            Report(Result::Composer); // the composer is open: it stays for the learner
            return;
        }
        m_timedOut = true;
        EndGroup(); // finished() follows and reports the failure
    }
    void EndGroup()
    {
        const qint64 pid = m_process.processId();
        if (pid > 0)
            ::kill(-static_cast<pid_t>(pid), SIGKILL);
        m_process.kill();
    }
    void Report(Result result)
    {
        if (m_reported)
            return;
        m_reported = true;
        --g_running;
        m_limit.SetEnabled(false);
        if (m_context && m_done)
            m_done(result);
    }

    QPointer<QObject> m_context;
    std::function<void(Result)> m_done;
    bool m_composer;
    bool m_reported{false};
    bool m_timedOut{false};
    QProcess m_process;
    Timer m_limit;
};

} // namespace

void Send(const Mail& mail, QObject* context, std::function<void(Result)> done, int timeLimitMs)
{
    if (mail.Recipients.isEmpty() || !std::all_of(mail.Recipients.cbegin(), mail.Recipients.cend(), ValidAddress)) {
        // Refused before any program is looked for or run.
        (new Job(context, std::move(done), false, timeLimitMs))->FailLater();
        return;
    }
    const QString program = SendmailProgram();
    auto* job = new Job(context, std::move(done), program.isEmpty(), timeLimitMs);
    if (program.isEmpty()) {
        QStringList args{QStringLiteral("--utf8"), QStringLiteral("--subject"), OneLine(mail.Subject),
                         QStringLiteral("--body"), mail.Body, QStringLiteral("--")};
        args << mail.Recipients; // after "--": an address can never be taken for an option
        job->Start(QStringLiteral("xdg-email"), args, QByteArray());
        return;
    }
    job->Start(program, {QStringLiteral("-t"), QStringLiteral("-oi")}, Message(mail));
}

int Running()
{
    return g_running;
}

} // namespace MailSender
