// Shows a full-screen borderless main window, a menu it owns and a panel the menu owns, on the
// desktop platform, and prints their native window ids for stacking_check.sh, which clicks
// and raises the main window under a real window manager and reads the stacking back.

#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "Form.h"
#include "Forms.h"

namespace {
Form* Coloured(const char* name, const QColor& colour)
{
    Forms::RegisterFactory(QString::fromLatin1(name), [name, colour] {
        auto* form = new Form(QString::fromLatin1(name));
        form->SetCaption(QString::fromLatin1(name));
        form->setAutoFillBackground(true);
        QPalette pal = form->palette();
        pal.setColor(QPalette::Window, colour);
        form->setPalette(pal);
        return form;
    });
    return Forms::Load(QString::fromLatin1(name));
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Forms::SetQuitWhenEmpty(false);

    Form* backdrop = Coloured("Backdrop", QColor(0, 0, 128));
    Form* menu = Coloured("Menu", QColor(255, 220, 0));
    Form* panel = Coloured("Panel", QColor(0, 160, 0));
    backdrop->SetBorderless(true);
    backdrop->setGeometry(QApplication::primaryScreen()->geometry());
    menu->setGeometry(300, 200, 240, 200);
    panel->setGeometry(560, 200, 240, 200);

    backdrop->Show();
    menu->Show(Form::Modeless, backdrop);
    panel->Show(Form::Modeless, menu);
    QTimer::singleShot(0, [&] {
        std::printf("ready 0x%llx 0x%llx 0x%llx\n", static_cast<unsigned long long>(backdrop->winId()),
            static_cast<unsigned long long>(menu->winId()), static_cast<unsigned long long>(panel->winId()));
        std::fflush(stdout);
    });
    return QApplication::exec();
}
