#include "Install.h"

Install::Install()
    : Form(QStringLiteral("Install"))
{
    SetCaption(QStringLiteral("Install"));
}
