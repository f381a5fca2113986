// The reference for the launch benchmark: a bare Qt window showing a Chinese label, ended as
// soon as it has the focus and is painted, as the program is ended at its start menu.

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("你好，欢迎学习中文 Welcome"));
    label.setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 20));
    label.setObjectName(QStringLiteral("Label"));
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, [](QWindow* window) {
        if (!window)
            return;
        QApplication::processEvents();
        std::fputs("at window\n", stdout);
        std::fflush(stdout);
        std::_Exit(0);
    });
    label.show();
    label.activateWindow();
    return QApplication::exec();
}
