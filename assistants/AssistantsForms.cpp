#include "AssistantsForms.h"

#include "Begin4.h"
#include "Forms.h"

void RegisterAssistantsForms()
{
    Forms::RegisterFactory(QStringLiteral("Begin4"), [] { return new Begin4; });
}
