#include "AssistantsForms.h"

#include "Begin4.h"
#include "Forms.h"
#include "ToolPlaceholder.h"

void RegisterAssistantsForms()
{
    Forms::RegisterFactory<Begin4>();
    // Last: tools without a window of their own yet open a least window.
    RegisterToolPlaceholders();
}
