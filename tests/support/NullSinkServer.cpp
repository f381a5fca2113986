#include "NullSinkServer.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <csignal>
#include <sys/prctl.h>

namespace {
QString Program() { return QStandardPaths::findExecutable(QStringLiteral("pulseaudio")); }
} // namespace

bool NullSinkServer::Installed() const { return !Program().isEmpty(); }

bool NullSinkServer::Fail(const QByteArray& why, const QByteArray& log)
{
    m_failure = why + (log.isEmpty() ? QByteArray() : "; it wrote:\n" + log);
    Stop();
    return false;
}

bool NullSinkServer::Start()
{
    m_failure.clear();
    const QString exe = Program();
    if (exe.isEmpty())
        return Fail("pulseaudio is not installed", {});
    if (!m_dir.isValid())
        return Fail("no temporary folder for the server: " + m_dir.errorString().toUtf8(), {});
    const QString socket = m_dir.path() + QStringLiteral("/native");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.path() + QStringLiteral("/run"));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.path() + QStringLiteral("/state"));
    env.insert(QStringLiteral("HOME"), m_dir.path());
    // Off the session bus: no bus named to it, none started for the display (D-Bus starts one
    // per X display), and none found in the runtime folder, where the session's own lies.
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
    m_server.setProcessEnvironment(env);
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_server.start(exe, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--use-pid-file=no"),
                         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disable-shm=yes"),
                         QStringLiteral("--log-level=info"), QStringLiteral("--log-target=stderr"),
                         QStringLiteral("--load=module-null-sink"),
                         QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket});
    if (!m_server.waitForStarted(10000))
        return Fail("pulseaudio could not be started: " + m_server.errorString().toUtf8(), {});
    QByteArray log;
    const QDeadlineTimer deadline(20000);
    while (!log.contains("Daemon startup complete") && !log.contains("Daemon startup successful")) {
        if (m_server.state() != QProcess::Running)
            return Fail("the sound server ended while it started", log + m_server.readAll());
        if (deadline.hasExpired())
            return Fail("the sound server did not start within 20 s", log + m_server.readAll());
        if (m_server.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            log += m_server.readAll();
    }
    qputenv("PULSE_SERVER", ("unix:" + socket).toUtf8());
    return true;
}

NullSinkServer::~NullSinkServer()
{
    qunsetenv("PULSE_SERVER");
    Stop();
}

void NullSinkServer::Stop()
{
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        if (!m_server.waitForFinished(10000))
            m_server.kill();
        m_server.waitForFinished(5000);
    }
}
