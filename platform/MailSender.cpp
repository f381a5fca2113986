#include "MailSender.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
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
//
// The mail reaches the sendmail program through a pipe of our own rather than QProcess's:
// we keep a reading end of it, which tells, when the time is up, whether the program had
// read the whole mail (it may then have sent it) or had not (it cannot have).
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
            if (ok)
                Report(m_composer ? Result::Composer : Result::Sent);
            else
                Report(m_timedOut && m_taken ? Result::MaybeSent : Result::Failed);
            deleteLater();
        });
        connect(&m_limit, &Timer::Tick, this, &Job::TimeUp);
    }
    ~Job() override
    {
        if (m_process.state() != QProcess::NotRunning)
            EndGroup();
        CloseWriteEnd();
        if (m_readEnd >= 0)
            ::close(m_readEnd);
    }

    // Reports Failed from the event loop (a start may fail inside the call) and goes.
    void FailLater()
    {
        QMetaObject::invokeMethod(this, [this] {
            Report(Result::Failed);
            deleteLater();
        }, Qt::QueuedConnection);
    }

    // Runs program; input, when not null, is its standard input.
    void Start(const QString& program, const QStringList& args, const QByteArray& input)
    {
        m_process.setProgram(program);
        m_process.setArguments(args);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.setStandardInputFile(QProcess::nullDevice());
        if (!input.isNull()) {
            int ends[2];
            if (::pipe2(ends, O_CLOEXEC) != 0) {
                FailLater();
                return;
            }
            m_readEnd = ends[0];
            m_writeEnd = ends[1];
            ::fcntl(m_writeEnd, F_SETFL, ::fcntl(m_writeEnd, F_GETFL) | O_NONBLOCK);
            m_input = input;
            // The child's copy of the reading end becomes its standard input; every other
            // copy of either end closes at its exec, so the program sees the end of the mail.
            const int readEnd = m_readEnd;
            m_process.setChildProcessModifier([readEnd] {
                ::setpgid(0, 0);
                ::dup2(readEnd, STDIN_FILENO);
            });
        }
        m_process.start(QIODevice::ReadOnly);
        if (m_writeEnd >= 0) {
            m_writer = new QSocketNotifier(m_writeEnd, QSocketNotifier::Write, this);
            connect(m_writer, &QSocketNotifier::activated, this, &Job::Feed);
            Feed();
        }
        m_limit.SetEnabled(true);
    }

private:
    // Writes what the pipe takes now; the rest when it has room again. All written, the
    // writing end closes.
    void Feed()
    {
        while (m_written < m_input.size()) {
            const ssize_t n = ::write(m_writeEnd, m_input.constData() + m_written, size_t(m_input.size() - m_written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return; // full (EAGAIN): the notifier calls again
            m_written += n;
        }
        CloseWriteEnd();
    }
    void CloseWriteEnd()
    {
        delete m_writer;
        m_writer = nullptr;
        if (m_writeEnd >= 0)
            ::close(m_writeEnd);
        m_writeEnd = -1;
    }
    // Whether the program has read the whole mail.
    bool Taken() const
    {
        int unread = 0;
        return m_readEnd >= 0 && m_written == m_input.size() && ::ioctl(m_readEnd, FIONREAD, &unread) == 0
            && unread == 0;
    }
    void TimeUp()
    {
        m_limit.SetEnabled(false);
        if (m_composer) {
            Report(Result::Composer); // the composer is open: it stays for the learner
            return;
        }
        m_timedOut = true;
        m_taken = Taken();
        EndGroup(); // finished() follows and reports
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
    bool m_taken{false};
    QByteArray m_input;
    qsizetype m_written{0};
    int m_readEnd{-1};
    int m_writeEnd{-1};
    QSocketNotifier* m_writer{nullptr};
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
