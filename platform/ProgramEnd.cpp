#include "ProgramEnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "BackgroundWriter.h"
#include "Forms.h"
#include "MailSender.h"

namespace {

int g_signalPipe[2]{-1, -1};
pid_t g_owner = 0; // the program's own process: a child between its fork and its exec is not
bool g_ending = false;

extern "C" void OnEndSignal(int signalNumber)
{
    if (::getpid() != g_owner)
        return;
    const int saved = errno;
    const char byte = static_cast<char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1); // full: one is waiting
    errno = saved;
}

void CatchSignal(int signalNumber)
{
    struct sigaction old {};
    if (::sigaction(signalNumber, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
        return; // started with it ignored (nohup): it stays so
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

// The application's Quit (the last window's unload, the session manager's "die") takes the
// road instead of Qt's own quit, which would first close every visible window and give up
// when one refuses: a lesson task asks whether to leave it, and nobody is there to answer.
class QuitFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Quit || watched != QCoreApplication::instance())
            return false;
        ProgramEnd::EndNow(); // while ending already: the road under way leaves the loop
        return true;
    }
};

} // namespace

namespace ProgramEnd {

void Install()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || g_signalPipe[0] >= 0)
        return;
    app->installEventFilter(new QuitFilter(app));
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_owner = ::getpid();
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, app);
    QObject::connect(notifier, &QSocketNotifier::activated, app, [] {
        char bytes[64];
        while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        EndNow();
    });
    CatchSignal(SIGTERM);
    CatchSignal(SIGHUP);
}

void EndNow()
{
    if (g_ending)
        return;
    g_ending = true;
    MailSender::BeginEnding();
    // A window's unload may load another (a task hands back to its panel): those go too.
    for (int round = 0; round < 8 && !Forms::LoadedForms().isEmpty(); ++round)
        Forms::DiscardAll();
    BackgroundWriter::Instance().WaitForAll();
    MailSender::FinishEnding(MailSender::EndGraceMs);
    // Every event loop ends, a message box's or a modal window's too; a loop started after
    // this returns at once.
    QCoreApplication::exit(0);
}

bool Ending() { return g_ending; }

} // namespace ProgramEnd
