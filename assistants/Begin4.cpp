#include "Begin4.h"

Begin4::Begin4()
    : MenuPanel(QStringLiteral("Begin4"))
{
    SetCaption(QStringLiteral("Begin4"));
}
