#include "DictionaryForms.h"

#include "Zoom.h"
#include "Dictionary.h"
#include "DictionaryOnline.h"
#include "Forms.h"

void RegisterDictionaryForms()
{
    Forms::RegisterFactory(QStringLiteral("Zoom"), [] { return new Zoom; });
    Forms::RegisterFactory(QStringLiteral("Dictionary"), [] { return new Dictionary; });
    Forms::RegisterFactory(QStringLiteral("DictionaryOnline"), [] { return new DictionaryOnline; });
}
