#include "MailSender.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

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
QElapsedTimer g_askedToEnd; // when the program's end asked the mail programs to end

// Runs in the mail program's process before its start. Its own process group, so that an end
// ends whatever the program started too. No descriptor of ours but its standard ones reaches
// it: a program left hanging must hold nothing that waits for our end (a pipe a parent reads
// to its end, a lock). input, when not -1, becomes its standard input.
void PrepareChild(int input)
{
    ::setpgid(0, 0);
    if (input >= 0)
        ::dup2(input, STDIN_FILENO);
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
    rlimit open{};
    const rlim_t last = ::getrlimit(RLIMIT_NOFILE, &open) == 0 ? std::min<rlim_t>(open.rlim_cur, 65536) : 1024;
    for (int fd = 3; fd < static_cast<int>(last); ++fd)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

class Job;
// Every mail job alive, for the ends below.
std::vector<Job*>& Jobs()
{
    static std::vector<Job*> jobs;
    return jobs;
}
void EndAllAtExit();

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
        Jobs().push_back(this);
        // Registered after the list exists, so it runs before the list goes.
        [[maybe_unused]] static const bool endsAtExit = std::atexit(EndAllAtExit) == 0;
        m_process.setChildProcessModifier([] { PrepareChild(-1); });
        connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                FailLater();
        });
        connect(&m_process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
            m_group = 0;
            const bool ok = !m_timedOut && status == QProcess::NormalExit && exitCode == 0;
            if (m_askedToEnd && !m_timedOut)
                m_taken = Taken();
            if (ok)
                Report(m_composer ? Result::Composer : Result::Sent);
            else
                Report((m_timedOut || m_askedToEnd) && m_taken ? Result::MaybeSent : Result::Failed);
            deleteLater();
        });
        connect(&m_limit, &Timer::Tick, this, &Job::TimeUp);
    }
    ~Job() override
    {
        std::erase(Jobs(), this);
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
            m_process.setChildProcessModifier([readEnd] { PrepareChild(readEnd); });
        }
        m_process.start(QIODevice::ReadOnly);
        m_group = static_cast<pid_t>(m_process.processId());
        if (m_writeEnd >= 0) {
            m_writer = new QSocketNotifier(m_writeEnd, QSocketNotifier::Write, this);
            connect(m_writer, &QSocketNotifier::activated, this, &Job::Feed);
            Feed();
        }
        m_limit.SetEnabled(true);
    }

    // Ends the program now, with its process group, and reports as the time limit would.
    void EndNow()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_limit.SetEnabled(false);
        m_timedOut = true;
        m_taken = Taken();
        EndGroup();
        m_process.waitForFinished(); // finished() reports
    }

    // The program's end, first step: a sendmail program still running is asked to end, with
    // its process group, so that it may finish what it is doing (a mail half handed on). A
    // composer stays: it is the learner's mail window now, maybe holding what they wrote.
    void AskToEnd()
    {
        if (m_composer || m_group <= 0 || m_process.state() == QProcess::NotRunning)
            return;
        m_limit.SetEnabled(false);
        m_askedToEnd = true;
        m_endingGroup = m_group;
        ::kill(-m_endingGroup, SIGTERM);
    }
    // The last step: the program has until deadline to end, then goes with its group. The
    // group is ended in any case: a child that outlived the program would be left to nobody.
    void FinishEnding(const QDeadlineTimer& deadline)
    {
        if (m_endingGroup <= 0)
            return;
        const pid_t group = m_endingGroup;
        m_endingGroup = 0;
        if (m_process.state() != QProcess::NotRunning
            && !m_process.waitForFinished(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1))))
            EndNow(); // reports as the time limit would
        ::kill(-group, SIGKILL);
    }

    // At exit, for an end that skipped the road above: a sendmail program still running goes
    // with its process group; a composer stays. Only plain members are read here, after the
    // application object may be gone.
    void EndAtExit() const
    {
        if (!m_composer && m_group > 0)
            ::kill(-m_group, SIGKILL);
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
    bool m_askedToEnd{false}; // by the program's end
    pid_t m_endingGroup{0}; // the group asked to end, until the end is finished
    QByteArray m_input;
    qsizetype m_written{0};
    int m_readEnd{-1};
    int m_writeEnd{-1};
    pid_t m_group{0}; // the running program's process group (its own id)
    QSocketNotifier* m_writer{nullptr};
    QProcess m_process;
    Timer m_limit;
};

void EndAllAtExit()
{
    for (const Job* job : Jobs())
        job->EndAtExit();
}

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

void BeginEnding()
{
    g_askedToEnd.start();
    for (Job* job : Jobs())
        job->AskToEnd();
}

void FinishEnding(int graceMs)
{
    const QDeadlineTimer deadline(g_askedToEnd.isValid() ? std::max<qint64>(graceMs - g_askedToEnd.elapsed(), 0) : graceMs);
    QList<QPointer<Job>> jobs;
    for (Job* job : Jobs())
        jobs << job;
    for (const QPointer<Job>& job : jobs) {
        if (job)
            job->FinishEnding(deadline);
    }
}

void EndAll()
{
    QList<QPointer<Job>> jobs;
    for (Job* job : Jobs())
        jobs << job;
    // A report may run code that ends other jobs meanwhile.
    for (const QPointer<Job>& job : jobs) {
        if (job)
            job->EndNow();
    }
}

} // namespace MailSender
