#include "ProgramForms.h"

#include "AssistantsForms.h"
#include "ChatForms.h"
#include "CourseForms.h"
#include "DictionaryForms.h"
#include "SetupForms.h"
#include "StartupForms.h"

void RegisterProgramForms()
{
    RegisterStartupForms();
    RegisterDictionaryForms();
    RegisterCourseForms();
    RegisterAssistantsForms();
    RegisterChatForms();
    RegisterSetupForms();
}
