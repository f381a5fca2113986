#include "frmAbout.h"

frmAbout::frmAbout()
    : Form(QStringLiteral("frmAbout"))
{
    SetBorderless(true);
}
