#include "Begin1.h"

Begin1::Begin1()
    : MenuPanel(QStringLiteral("Begin1"))
{
    SetCaption(QStringLiteral("Begin1"));
}
