#pragma once
// The registry of loaded forms. A form is loaded at most once (forms are single instances, as
// the old forms were). Looking a form up never loads it: calling into a form that is not
// loaded does nothing. The program ends when the last loaded form unloads.
//
// Each folder registers a factory for its forms (RegisterFactory<T>()). A window calls a
// window of its own or an earlier folder through its class: Find<Background>(), null-checked,
// then a plain C++ call. An earlier folder loads a later folder's form by its name
// (Load("Zoom")) and calls it only through an interface of its own that the form implements
// (see WindowHook.h); never by method or control name.

#include <QString>
#include <QStringList>
#include <functional>

#include "Form.h"

namespace Forms {

using Factory = std::function<Form*()>;

void RegisterFactory(const QString& formName, Factory factory);
// Registers T under its class name, which is its form name (T declares Q_OBJECT).
template <class T> void RegisterFactory()
{
    RegisterFactory(QLatin1String(T::staticMetaObject.className()), [] { return new T; });
}
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

// The object name of one element of a control array: IndexedName("Label2", 5) is "Label2(5)".
inline QString IndexedName(const char* arrayName, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(arrayName)).arg(index);
}

// Ends the program when no form is loaded any more (called by the form runtime).
// Tests switch this off so that unloading the last form does not quit their application.
void SetQuitWhenEmpty(bool on);

// Unloads every loaded form (tests, and the last resort at exit).
void UnloadAll();
// Unloads every loaded form without asking any of them (the tests' clean slate: a window
// whose task is unfinished would otherwise stay for the next test).
void DiscardAll();

// Registry bookkeeping, used by Form itself.
void Register(Form* form);
void Deregister(Form* form);

} // namespace Forms
