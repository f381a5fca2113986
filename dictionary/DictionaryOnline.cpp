#include "DictionaryOnline.h"

DictionaryOnline::DictionaryOnline()
    : Form(QStringLiteral("DictionaryOnline"))
{
    SetCaption(QStringLiteral("DictionaryOnline"));
}
