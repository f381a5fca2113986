#include "SetupForms.h"

#include "Install.h"
#include "Uninstall.h"
#include "Forms.h"

void RegisterSetupForms()
{
    Forms::RegisterFactory(QStringLiteral("Install"), [] { return new Install; });
    Forms::RegisterFactory(QStringLiteral("Uninstall"), [] { return new Uninstall; });
}
