// Velmora: a desktop Mandarin course.

#include <QApplication>
#include <cstdio>

#include "AppState.h"
#include "AssistantsForms.h"
#include "ChatForms.h"
#include "StartupForms.h"
#include "CourseForms.h"
#include "DictionaryForms.h"
#include "Forms.h"
#include "SetupForms.h"

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
    RegisterStartupForms();
    RegisterDictionaryForms();
    RegisterCourseForms();
    RegisterAssistantsForms();
    RegisterChatForms();
    RegisterSetupForms();
    // --install opens the installer whatever drive the program was started from.
    State().InstallRequested = QApplication::arguments().contains(QStringLiteral("--install"));
    // The start-up window runs the whole start-up while it loads; it ends the program at once
    // when another copy runs.
    if (!Forms::Load(QStringLiteral("RegisterOCX")))
        return 0;
    if (Forms::LoadedNames().isEmpty())
        return 0;
    return QApplication::exec();
}
