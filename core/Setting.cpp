#include "Setting.h"

#include <QPalette>

Setting::Setting()
    : Form(QStringLiteral("Setting"))
{
    SetBorderless(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    SetSize(4920, 5655);
}
