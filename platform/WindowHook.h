#pragma once
// The window that serves an interface of an earlier folder while it is loaded. An earlier
// folder declares a small interface (the receiver of a sound's end, the view of the learner's
// progress) and keeps one WindowHook per place a window can serve it; a window of a later
// folder that implements the interface sets itself in Form_Load and clears itself in
// Form_Unload. Get() never hands out a window that is unloading or gone, so a window that
// forgets to clear itself is still never called after its unload, and a call never loads one.
//
// A receiver that is not a QObject (a plain service object of the earlier folder itself) is
// handed out until it is cleared.

#include <QObject>
#include <QPointer>

#include "Form.h"

template <class Interface> class WindowHook {
public:
    void Set(Interface* receiver)
    {
        m_receiver = receiver;
        m_object = dynamic_cast<QObject*>(receiver);
        m_isObject = m_object != nullptr;
    }
    // Clears the hook only when receiver is the one set, so that a window going away never
    // clears its successor.
    void Clear(Interface* receiver)
    {
        if (m_receiver != receiver)
            return;
        m_receiver = nullptr;
        m_object.clear();
        m_isObject = false;
    }
    // The receiver, or nullptr when none is set or the window that set itself is unloading.
    Interface* Get() const
    {
        if (!m_receiver)
            return nullptr;
        if (m_isObject) {
            if (!m_object)
                return nullptr;
            if (const Form* form = qobject_cast<const Form*>(m_object.data()); form && form->IsUnloading())
                return nullptr;
        }
        return m_receiver;
    }

private:
    Interface* m_receiver{nullptr};
    QPointer<QObject> m_object;
    bool m_isObject{false};
};
