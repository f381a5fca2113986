#include "StartupForms.h"

#include "Background.h"
#include "Begin.h"
#include "Forms.h"
#include "LoadData.h"
#include "RegisterOCX.h"
#include "Setting.h"
#include "StartOrNot.h"
#include "frmAbout.h"

void RegisterStartupForms()
{
    Forms::RegisterFactory(QStringLiteral("RegisterOCX"), [] { return new RegisterOCX; });
    Forms::RegisterFactory(QStringLiteral("Background"), [] { return new Background; });
    Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new Begin; });
    Forms::RegisterFactory(QStringLiteral("StartOrNot"), [] { return new StartOrNot; });
    Forms::RegisterFactory(QStringLiteral("Setting"), [] { return new Setting; });
    Forms::RegisterFactory(QStringLiteral("frmAbout"), [] { return new frmAbout; });
    LoadData::Register();
}
