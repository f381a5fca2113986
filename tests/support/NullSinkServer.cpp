#include "NullSinkServer.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <csignal>
#include <sys/prctl.h>

bool NullSinkServer::Start()
{
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (exe.isEmpty() || !m_dir.isValid())
        return false;
    const QString socket = m_dir.path() + QStringLiteral("/native");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.path() + QStringLiteral("/run"));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), m_dir.path() + QStringLiteral("/state"));
    env.insert(QStringLiteral("HOME"), m_dir.path());
    m_server.setProcessEnvironment(env);
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_server.start(exe, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--use-pid-file=no"),
                         QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disable-shm=yes"),
                         QStringLiteral("--log-level=info"), QStringLiteral("--log-target=stderr"),
                         QStringLiteral("--load=module-null-sink"),
                         QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socket});
    if (!m_server.waitForStarted(10000))
        return false;
    QByteArray log;
    const QDeadlineTimer deadline(20000);
    while (!log.contains("Daemon startup complete") && !log.contains("Daemon startup successful")) {
        if (m_server.state() != QProcess::Running || deadline.hasExpired())
            return false;
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
