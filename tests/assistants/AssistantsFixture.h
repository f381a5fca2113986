#pragma once
// The windows around the Assistants menu for its tests: the start menu and the main window
// stand in without starting up (they count the exits and minimisations asked of them), the
// two dictionary windows are the real classes at sizes the tests choose, and the screen is
// 1024 x 768 pixels at 96 dpi (15360 x 11520 twips, 15 twips per pixel).

#include <QCoreApplication>
#include <QPushButton>

#include "SharedPlayer.h"
#include "AppState.h"
#include "AssistantsForms.h"
#include "ChatForms.h"
#include "Background.h"
#include "Begin.h"
#include "Begin4.h"
#include "Dictionary.h"
#include "DictionaryOnline.h"
#include "FormCalls.h"
#include "Forms.h"
#include "TestSupport.h"
#include "Twips.h"

namespace assistants_test {

class MenuProbe : public Begin {
public:
    void Common01() override { ++exits; }
    void Form_MouseMove() override { ++mouseMoves; }
    int exits{0};
    int mouseMoves{0};

protected:
    void Form_Load() override {}
};

class MainProbe : public Background {
public:
    void MinimizeProgram() override { ++minimised; }
    int minimised{0};

protected:
    void Form_Load() override {}
};

inline constexpr double DictionaryWidth = 11000;
inline constexpr double DictionaryHeight = 2000;
inline constexpr double OnlineHeight = 2500;

class AssistantsFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Twips::OverrideScreen(QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 728));
        Forms::RegisterFactory(QStringLiteral("Background"), [] { return new MainProbe; });
        Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new MenuProbe; });
        Forms::RegisterFactory(QStringLiteral("Dictionary"), [] {
            auto* d = new Dictionary;
            d->SetSize(DictionaryWidth, DictionaryHeight);
            return d;
        });
        Forms::RegisterFactory(QStringLiteral("DictionaryOnline"), [] {
            auto* d = new DictionaryOnline;
            d->SetSize(DictionaryWidth, OnlineHeight);
            return d;
        });
        RegisterAssistantsForms();
        RegisterChatForms();
        PrepareTables();

        main = static_cast<MainProbe*>(Forms::Load(QStringLiteral("Background")));
        main->show();
        menu = static_cast<MenuProbe*>(Forms::Load(QStringLiteral("Begin")));
        menu->Show(Form::Modeless, main);
        Forms::Load(QStringLiteral("Dictionary"));
        Forms::Load(QStringLiteral("DictionaryOnline"));
        panel = Forms::Load<Begin4>();
        panel->Show(Form::Modeless, menu);
        State().CurrentActivity = 10;
    }

    void TearDown() override
    {
        AppFixture::TearDown();
        Twips::ClearScreenOverride();
    }

    // The course tables, before the dictionary windows load (they index them then).
    virtual void PrepareTables() {}

    // Clicks a row's "Open" button.
    static void Open(const char* button)
    {
        auto* b = Forms::Control<QPushButton>(QStringLiteral("Begin4"), QLatin1String(button));
        ASSERT_NE(b, nullptr);
        b->click();
    }

    // Lets an unloaded window go.
    static void Settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static bool Visible(const char* name)
    {
        Form* f = Forms::Find(QLatin1String(name));
        return f && f->isVisible();
    }

    MainProbe* main{nullptr};
    MenuProbe* menu{nullptr};
    Begin4* panel{nullptr};
};

// The same, with the main window's shared players set up (on the silent backend).
class AssistantsWithPlayers : public AssistantsFixture {
protected:
    void SetUp() override
    {
        AssistantsFixture::SetUp();
        SetUpSharedPlayers();
    }
    void TearDown() override
    {
        CloseSharedPlayers();
        AssistantsFixture::TearDown();
    }
};

} // namespace assistants_test
