#include "Begin4.h"

Begin4::Begin4()
    : Form(QStringLiteral("Begin4"))
{
    SetCaption(QStringLiteral("Begin4"));
}
