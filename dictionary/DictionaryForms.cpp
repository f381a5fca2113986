#include "DictionaryForms.h"

#include "Zoom.h"
#include "Dictionary.h"
#include "DictionaryOnline.h"
#include "Forms.h"

void RegisterDictionaryForms()
{
    Forms::RegisterFactory<Zoom>();
    Forms::RegisterFactory<Dictionary>();
    Forms::RegisterFactory<DictionaryOnline>();
}
