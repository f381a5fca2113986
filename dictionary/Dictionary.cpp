#include "Dictionary.h"

Dictionary::Dictionary()
    : Form(QStringLiteral("Dictionary"))
{
    SetCaption(QStringLiteral("Dictionary"));
}
