#include "Forms.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QPointer>

namespace {
struct Registry {
    QHash<QString, Forms::Factory> factories;
    QList<QPointer<Form>> loaded; // in load order
    bool quitWhenEmpty{true};
};
Registry& R()
{
    static Registry r;
    return r;
}
} // namespace

namespace Forms {

void RegisterFactory(const QString& formName, Factory factory) { R().factories.insert(formName, std::move(factory)); }
bool HasFactory(const QString& formName) { return R().factories.contains(formName); }

Form* Find(const QString& formName)
{
    for (const auto& f : R().loaded)
        if (f && !f->IsUnloading() && f->FormName() == formName)
            return f;
    return nullptr;
}

Form* Load(const QString& formName)
{
    if (Form* f = Find(formName))
        return f;
    auto it = R().factories.constFind(formName);
    if (it == R().factories.constEnd())
        return nullptr;
    Form* f = (*it)();
    if (!f)
        return nullptr;
    Register(f);
    QPointer<Form> guard(f);
    f->RunLoad();
    return guard && !guard->IsUnloading() ? f : nullptr;
}

bool IsLoaded(const QString& formName) { return Find(formName) != nullptr; }

void Unload(const QString& formName)
{
    if (Form* f = Find(formName))
        f->Unload();
}

QStringList LoadedNames()
{
    QStringList names;
    for (const auto& f : R().loaded)
        if (f && !f->IsUnloading())
            names << f->FormName();
    return names;
}

QList<Form*> LoadedForms()
{
    QList<Form*> forms;
    for (const auto& f : R().loaded)
        if (f && !f->IsUnloading())
            forms << f.data();
    return forms;
}

void SetQuitWhenEmpty(bool on) { R().quitWhenEmpty = on; }

void UnloadAll()
{
    const auto forms = R().loaded;
    for (auto it = forms.crbegin(); it != forms.crend(); ++it)
        if (*it)
            (*it)->Unload();
}

void DiscardAll()
{
    const auto forms = R().loaded;
    for (auto it = forms.crbegin(); it != forms.crend(); ++it)
        if (*it)
            (*it)->Discard();
}

void Register(Form* form)
{
    if (!R().loaded.contains(form))
        R().loaded.append(form);
}

void Deregister(Form* form)
{
    auto& list = R().loaded;
    const bool was = list.removeAll(form) > 0;
    list.removeAll(nullptr);
    if (was && list.isEmpty() && R().quitWhenEmpty && QCoreApplication::instance())
        QCoreApplication::instance()->quit();
}

} // namespace Forms
