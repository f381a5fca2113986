// Velmora: a desktop Mandarin course.

#include <QApplication>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "AppState.h"
#include "Background.h"
#include "Forms.h"
#include "ProgramEnd.h"
#include "ProgramForms.h"
#include "SoundOutput.h"
#include "Timer.h"

int main(int argc, char** argv)
{
    // Windows are placed by absolute coordinates, which Wayland does not allow: use X11
    // (XWayland included) unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (qgetenv("QT_QPA_PLATFORM") == "xcb" && qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fputs("Velmora needs a graphical desktop: no display was found (DISPLAY is not set).\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    // SIGTERM, SIGHUP and the session manager's end take the road of the program's own end:
    // what the windows hold is saved and the mail programs still running are ended.
    ProgramEnd::Install();
    RegisterProgramForms();
    // --install opens the installer whatever drive the program was started from.
    State().InstallRequested = QApplication::arguments().contains(QStringLiteral("--install"));
    // For the launch benchmark (bench/LaunchBench.cpp): with VELMORA_EXIT_AT_MENU set, the
    // program ends as soon as the start menu has the focus and is painted, without its exit.
    // VELMORA_EXIT_AT_MENU=nowait also leaves out the main window's 100 ms start-up step, so
    // the benchmark can tell that wait from the rest of the launch; a program that ends at
    // its menu is of no use to a learner, so nobody meets this road by accident.
    const bool exitAtMenu = qEnvironmentVariableIsSet("VELMORA_EXIT_AT_MENU");
    const bool skipStartupStep = exitAtMenu && qgetenv("VELMORA_EXIT_AT_MENU") == "nowait";
    if (exitAtMenu) {
        QObject::connect(&app, &QGuiApplication::focusWindowChanged, [](QWindow*) {
            const QWidget* active = QApplication::activeWindow();
            if (!active || active->objectName() != QLatin1String("Begin"))
                return;
            QApplication::processEvents();
            // Tells the benchmark that the menu was reached (not some early end).
            std::fputs("at menu\n", stdout);
            std::fflush(stdout);
            std::_Exit(0);
        });
    }
    // The start-up window runs the whole start-up while it loads; it ends the program at once
    // when another copy runs.
    if (!Forms::Load(QStringLiteral("RegisterOCX")))
        return 0;
    if (Forms::LoadedNames().isEmpty() || ProgramEnd::Ending())
        return 0;
    if (skipStartupStep) {
        // The step's timer fires as soon as the event loop runs, after what the main window
        // queued for its wait.
        if (Background* main = Forms::Find<Background>()) {
            QMetaObject::invokeMethod(main, [main] {
                if (main->Timer1->Enabled())
                    emit main->Timer1->Tick();
            }, Qt::QueuedConnection);
        }
    }
    const int code = QApplication::exec();
    // The sound device goes now, in order, while the application and Qt's sound system still
    // stand: left to static destruction, a sink still open crashed the program at its end.
    CloseSoundOutputs();
    return code;
}
