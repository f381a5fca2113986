#pragma once
// The registry of loaded forms. A form is loaded at most once (forms are single instances, as
// the old forms were). Looking a form up never loads it: calling into a form that is not
// loaded does nothing. The program ends when the last loaded form unloads.
//
// Forms of later folders are reached by name: each folder registers a factory for its forms
// (RegisterFactory), and earlier folders load them with Load("Name") and call their public
// Q_INVOKABLE methods with Invoke, or reach a control by its name with Control<T>.

#include <QMetaObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "Form.h"

namespace Forms {

using Factory = std::function<Form*()>;

void RegisterFactory(const QString& formName, Factory factory);
bool HasFactory(const QString& formName);

// Loads the form when it is not loaded yet (construct + Form_Load), returns it either way.
// Returns nullptr when no factory is known for that name.
Form* Load(const QString& formName);
template <class T> T* Load() { return qobject_cast<T*>(Load(T::staticMetaObject.className())); }

// The loaded form of that name, or nullptr. Never loads.
Form* Find(const QString& formName);
template <class T> T* Find() { return qobject_cast<T*>(Find(T::staticMetaObject.className())); }

bool IsLoaded(const QString& formName);
void Unload(const QString& formName);
QStringList LoadedNames();
// The loaded forms, in load order.
QList<Form*> LoadedForms();

// Calls a Q_INVOKABLE method of a loaded form; false (and no call) when the form is not loaded.
template <typename... Args>
bool Invoke(const QString& formName, const char* method, Args&&... args)
{
    Form* f = Find(formName);
    if (!f || f->IsUnloading())
        return false;
    return QMetaObject::invokeMethod(f, method, Qt::DirectConnection, std::forward<Args>(args)...);
}

// The object name of one element of a control array: IndexedName("Label2", 5) is "Label2(5)".
inline QString IndexedName(const char* arrayName, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(arrayName)).arg(index);
}

// A control of a loaded form by its object name, or nullptr.
template <class T> T* Control(const QString& formName, const QString& controlName)
{
    Form* f = Find(formName);
    return f ? f->findChild<T*>(controlName) : nullptr;
}

// Ends the program when no form is loaded any more (called by the form runtime).
// Tests switch this off so that unloading the last form does not quit their application.
void SetQuitWhenEmpty(bool on);

// Unloads every loaded form (tests, and the last resort at exit).
void UnloadAll();

// Registry bookkeeping, used by Form itself.
void Register(Form* form);
void Deregister(Form* form);

} // namespace Forms
