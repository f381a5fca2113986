#include "TestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "AppState.h"
#include "BackgroundWriter.h"
#include "Clock.h"
#include "Forms.h"
#include "LoopbackService.h"
#include "MailSender.h"
#include "SafeFile.h"
#include "SharedPlayer.h"

#include <fcntl.h>
#include <unistd.h>

FifoUnblocker::FifoUnblocker(const QString& fifo)
    : m_thread([this, path = QFile::encodeName(fifo)] {
        while (!m_done) {
            const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0)
                ::close(fd);
            std::this_thread::yield();
        }
    })
{
}

FifoUnblocker::~FifoUnblocker()
{
    m_done = true;
    m_thread.join();
}

void WaitForWrites()
{
    BackgroundWriter::Instance().WaitForAll();
    QCoreApplication::processEvents();
}

bool PressWithKeys(QWidget* control, int key)
{
    control->window()->activateWindow();
    control->setFocus(Qt::OtherFocusReason);
    if (!RunUntil([control] { return control->hasFocus(); }))
        return false;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    return true;
}

void WaitForMail()
{
    // A stand-in that hangs on the test clock would otherwise hold the run for good.
    if (!RunUntil([] { return MailSender::Running() == 0; })) {
        ADD_FAILURE() << "a mail program is still running";
        MailSender::EndAll();
    }
}

void WriteScript(const QString& path, const QString& script)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(script.toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString HangWhileTestsRun()
{
    return QStringLiteral("while kill -0 %1 2>/dev/null; do sleep 1; done").arg(QCoreApplication::applicationPid());
}

QList<qint64> LiveProcessesOfGroup(qint64 group)
{
    QList<qint64> live;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isProcess = false;
        const qint64 pid = entry.toLongLong(&isProcess);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!isProcess || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // After the name in parentheses: state, parent, process group.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(0) != "Z" && fields.at(2).toLongLong() == group)
            live << pid;
    }
    return live;
}

void AppFixture::SetUp()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(m_dir->isValid());
    qputenv("VELMORA_APPPATH", m_dir->path().toUtf8());
    ResetState();
    Clock::UseManual(QDateTime(QDate(2026, 3, 2), QTime(9, 0)));
    m_boxes = std::make_unique<MsgBox::Recorder>();
}

void AppFixture::TearDown()
{
    MailSender::EndAll(); // a stand-in mail program left hanging never outlives its test
    Forms::UnloadAll();
    Forms::DiscardAll(); // a window that refused (its task unfinished) must not reach the next test
    // The shared players outlive the state: a sound still playing would reach the next test.
    CloseSharedPlayers();
    // Files still being written in the background land in this test's folder, and their
    // outcome is reported here.
    WaitForWrites();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    m_boxes.reset();
    Clock::UseReal();
    qunsetenv("VELMORA_APPPATH");
    m_dir.reset();
}

QString AppFixture::Path(const QString& relative) const
{
    return m_dir->path() + QLatin1Char('/') + SafeFile::Native(relative);
}

void AppFixture::WriteFile(const QString& relative, const QByteArray& data) const
{
    const QString p = Path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray AppFixture::ReadFile(const QString& relative) const
{
    QFile f(Path(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
