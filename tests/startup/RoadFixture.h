#pragma once
// The start-up road in a temporary AppPath: every folder's forms registered, the instance
// lock in the temporary folder, a 1024 x 768 screen whose work area ends 40 pixels above the
// bottom (600 twips of taskbar), and a pinned time zone of UTC+1.

#include <QPointer>

#include "AppState.h"
#include "AssistantsForms.h"
#include "Background.h"
#include "Clock.h"
#include "StartupForms.h"
#include "CourseForms.h"
#include "DictionaryForms.h"
#include "FormCalls.h"
#include "Forms.h"
#include "SetupForms.h"
#include "SingleInstance.h"
#include "TestSupport.h"
#include "TimeZone.h"
#include "Twips.h"

class RoadFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        RegisterStartupForms();
        RegisterDictionaryForms();
        RegisterCourseForms();
        RegisterAssistantsForms();
        RegisterSetupForms();
        qputenv("VELMORA_LOCK_DIR", m_dir->path().toUtf8());
        qputenv("VELMORA_DRIVE_TYPE", "3");
        Twips::OverrideScreen(QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 728));
        TimeZone::Information utcPlusOne;
        utcPlusOne.result = 1;
        utcPlusOne.bias = -60;
        utcPlusOne.standardName = QStringLiteral("CET");
        TimeZone::Override(utcPlusOne);
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        SingleInstance::ReleaseForThisRun();
        TimeZone::ClearOverride();
        Twips::ClearScreenOverride();
        qunsetenv("VELMORA_LOCK_DIR");
        qunsetenv("VELMORA_DRIVE_TYPE");
        qunsetenv("VELMORA_FORCE_CODEPAGE_FAILURE");
    }

    // Starts the program as main() does; returns the main window (nullptr when it did not load).
    Background* Start()
    {
        Forms::Load(QStringLiteral("RegisterOCX"));
        return Forms::Find<Background>();
    }
    // The start-up as far as the start menu (or the code-page help window).
    Background* StartAndWait()
    {
        Background* b = Start();
        Clock::Advance(100);
        return b;
    }
    static bool Loaded(const char* name) { return Forms::IsLoaded(QString::fromLatin1(name)); }
    static Form* Find(const char* name) { return Forms::Find(QString::fromLatin1(name)); }
};
