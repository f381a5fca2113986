#include "SetupForms.h"

#include "Install.h"
#include "Uninstall.h"
#include "Forms.h"

void RegisterSetupForms()
{
    Forms::RegisterFactory<Install>();
    Forms::RegisterFactory<Uninstall>();
}
