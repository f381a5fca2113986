#include "AssistantsForms.h"

#include "Alphabet1.h"
#include "Begin4.h"
#include "Forms.h"
#include "Surname.h"
#include "ToolPlaceholder.h"

void RegisterAssistantsForms()
{
    Forms::RegisterFactory<Begin4>();
    Forms::RegisterFactory<Alphabet1>();
    Forms::RegisterFactory<Surname>();
    // Last: tools without a window of their own yet open a least window.
    RegisterToolPlaceholders();
}
