#include "Uninstall.h"

Uninstall::Uninstall()
    : Form(QStringLiteral("Uninstall"))
{
    SetCaption(QStringLiteral("Uninstall"));
}
