#pragma once
// Tests only: reaching into a loaded form by its name, as a learner's eye would. The program
// itself never calls a window by method or control name strings (the source hygiene test
// fails on them outside tests/).

#include <QMetaObject>
#include <QString>

#include "Forms.h"

namespace Forms {

// Calls a Q_INVOKABLE method of a loaded form; false (and no call) when the form is not loaded.
template <typename... Args> bool Invoke(const QString& formName, const char* method, Args&&... args)
{
    Form* f = Find(formName);
    if (!f || f->IsUnloading())
        return false;
    return QMetaObject::invokeMethod(f, method, Qt::DirectConnection, std::forward<Args>(args)...);
}

// A control of a loaded form by its object name, or nullptr.
template <class T> T* Control(const QString& formName, const QString& controlName)
{
    Form* f = Find(formName);
    return f ? f->findChild<T*>(controlName) : nullptr;
}

} // namespace Forms
