#include "Dictionary.h"

Dictionary::Dictionary()
    : Form(QStringLiteral("Dictionary"))
{
    SetCaption(QStringLiteral("Dictionary"));
}

void Dictionary::Common01(QString& word, bool exact)
{
    m_rules.Search(word, exact);
}
