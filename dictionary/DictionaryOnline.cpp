#include "DictionaryOnline.h"

DictionaryOnline::DictionaryOnline()
    : Form(QStringLiteral("DictionaryOnline"))
{
    SetCaption(QStringLiteral("DictionaryOnline"));
}

void DictionaryOnline::Common01(const QString& word, int, const QString&)
{
    LastQuery = word;
}
