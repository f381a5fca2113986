#include "Zoom.h"

Zoom::Zoom()
    : Form(QStringLiteral("Zoom"))
{
    SetCaption(QStringLiteral("Zoom"));
}

void Zoom::ChaZhao(const QString&, const QString&, const QString&, double, double, double, double, double, double,
                   qint16)
{
}

void Zoom::ShowPinYin(const QString&, const QString&, double, double, double, double, double, double, qint16)
{
}
