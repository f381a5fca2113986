#include "Zoom.h"

Zoom::Zoom()
    : Form(QStringLiteral("Zoom"))
{
    SetCaption(QStringLiteral("Zoom"));
}
