#include "AssistantsForms.h"

#include "Begin4.h"
#include "Forms.h"

void RegisterAssistantsForms()
{
    Forms::RegisterFactory<Begin4>();
}
