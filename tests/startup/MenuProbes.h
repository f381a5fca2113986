#pragma once
// Stand-ins for the windows around the start menu that belong to other folders or are
// built elsewhere (loading window, course panel, Assistants menu, dictionary windows,
// uninstaller); the main window is the real one. Each logs its load, show, hide and unload into one shared journal,
// so the tests can read the order in which the menu drives them.

#include <QApplication>
#include <QStringList>
#include <functional>

#include "AppState.h"
#include "Background.h"
#include "Begin.h"
#include "Form.h"
#include "FormCalls.h"
#include "Forms.h"
#include "TestSupport.h"
#include "Timer.h"

namespace menuprobes {

inline QStringList& Journal()
{
    static QStringList journal;
    return journal;
}

// Called at each unload, to look at the shared state at that moment.
inline std::function<void(const QString&)>& OnUnload()
{
    static std::function<void(const QString&)> f;
    return f;
}

// Sets OnUnload for as long as it lives. A hook usually captures the test's own locals, and the
// probe forms outlive the test (a later test's tear-down unloads them): declare the hook after
// what it captures, so it is gone before they are.
class UnloadHook {
public:
    explicit UnloadHook(std::function<void(const QString&)> hook) { OnUnload() = std::move(hook); }
    ~UnloadHook() { OnUnload() = nullptr; }
    UnloadHook(const UnloadHook&) = delete;
    UnloadHook& operator=(const UnloadHook&) = delete;
};

class ProbeForm : public Form {
    Q_OBJECT
public:
    explicit ProbeForm(const QString& name)
        : Form(name)
    {
        SetSize(4920, 5655);
    }
protected:
    void Form_Load() override
    {
        Journal() << QStringLiteral("load ") + FormName();
        if (FormName() == QLatin1String("LoadData")) {
            // Like the real loading window: done at once, then it starts the menu's Timer2.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    Journal() << QStringLiteral("LoadData modal=%1").arg(IsShownModal() ? 1 : 0);
                    Unload();
                },
                Qt::QueuedConnection);
        }
    }
    void Form_Unload() override
    {
        Journal() << QStringLiteral("unload ") + FormName();
        if (OnUnload())
            OnUnload()(FormName());
        if (FormName() == QLatin1String("LoadData") && State().CurrentActivity == -1)
            if (auto* menu = Forms::Find<Begin>())
                menu->Timer2->SetEnabled(true);
    }
};

inline void RegisterProbes()
{
    Forms::RegisterFactory(QStringLiteral("Background"), [] { return new Background; });
    for (const char* name : {"LoadData", "Begin1", "Begin4", "Zoom", "Dictionary", "DictionaryOnline",
             "Uninstall"}) {
        const QString n = QLatin1String(name);
        Forms::RegisterFactory(n, [n] { return new ProbeForm(n); });
    }
    Journal().clear();
    OnUnload() = nullptr;
}

} // namespace menuprobes
