#include "FormEvents.h"

#include <QApplication>
#include <QKeyEvent>

#include "Form.h"

FormEvents& FormEvents::Instance()
{
    static FormEvents* instance = new FormEvents;
    return *instance;
}

FormEvents::FormEvents()
{
    qApp->installEventFilter(this);
    QObject::connect(qApp, &QApplication::focusChanged, this,
        [this](QWidget*, QWidget*) { ActiveWindowChanged(QApplication::activeWindow()); });
}

void FormEvents::ActiveWindowChanged(QWidget* now)
{
    Form* form = qobject_cast<Form*>(now);
    if (!form)
        return; // our own dialogs, or focus left the program: nothing happens
    if (form == m_active)
        return;
    QPointer<Form> previous = m_active;
    m_active = form;
    if (previous && !previous->IsUnloading())
        previous->FireDeactivate();
    if (m_active && !m_active->IsUnloading())
        m_active->FireActivate();
}

void FormEvents::Forget(Form* form)
{
    if (m_active == form)
        m_active = nullptr;
}

bool FormEvents::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
        return false;
    // A key goes first to the focus widget, then up through its parents when ignored: the
    // preview takes it at the first stop only, and a form's own keys reach it directly.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget != QApplication::focusWidget())
        return false;
    Form* form = qobject_cast<Form*>(widget->window());
    if (!form || form == widget)
        return false;
    return form->PreviewKey(static_cast<QKeyEvent*>(e));
}
