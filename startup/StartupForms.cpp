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
    Forms::RegisterFactory<RegisterOCX>();
    Forms::RegisterFactory<Background>();
    Forms::RegisterFactory<Begin>();
    Forms::RegisterFactory<StartOrNot>();
    Forms::RegisterFactory<Setting>();
    Forms::RegisterFactory<frmAbout>();
    LoadData::Register();
}
