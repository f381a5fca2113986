// Velmora: a desktop Mandarin course.

#include <QApplication>

#include "AppState.h"
#include "Forms.h"

int main(int argc, char** argv)
{
    // Windows are placed by absolute coordinates, which Wayland does not allow: use X11
    // (XWayland included) unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    State();
    if (!Forms::Load(QStringLiteral("RegisterOCX")))
        return 0;
    if (Forms::LoadedNames().isEmpty())
        return 0;
    return QApplication::exec();
}
