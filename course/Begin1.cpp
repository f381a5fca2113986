#include "Begin1.h"

Begin1::Begin1()
    : Form(QStringLiteral("Begin1"))
{
    SetCaption(QStringLiteral("Begin1"));
}
