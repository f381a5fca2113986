#include "FormEvents.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <utility>

#include "Form.h"

namespace {
constexpr int kActivationRetries = 3;
constexpr int kActivationRetryMs = 100;
constexpr int kInsistMs = 600;
constexpr int kRecentForms = 16;
} // namespace

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

void FormEvents::Insist(QWidget* asked, QWidget* intruder)
{
    m_asked = asked;
    m_intruder = intruder;
    m_askedUntil = QDeadlineTimer(kInsistMs);
    if (intruder)
        AskAgain(asked, kActivationRetries);
}

void FormEvents::AskAgain(QWidget* window, int times)
{
    QTimer::singleShot(kActivationRetryMs, window, [this, window, times] {
        if (!StillAsked(window) || window->isActiveWindow())
            return;
        window->activateWindow();
        if (times > 1)
            AskAgain(window, times - 1);
    });
}

bool FormEvents::StillAsked(const QWidget* asked) const
{
    const QWidget* modal = QApplication::activeModalWidget();
    return asked && asked == m_asked && m_intruder && asked->isVisible() && !m_askedUntil.hasExpired()
        && (!modal || modal == asked);
}

void FormEvents::ActiveWindowChanged(QWidget* now)
{
    const bool intruder = now && now == m_intruder && StillAsked(m_asked);
    if (intruder) {
        m_intruder = nullptr;
        m_asked->activateWindow();
    }
    Form* form = qobject_cast<Form*>(now);
    if (!form)
        return; // our own dialogs, or focus left the program: nothing happens
    if (form == m_active)
        return;
    QPointer<Form> previous = m_active;
    m_active = form;
    // A window the window manager activated in the way of the one asked for never had the
    // keys for the learner: a window closed after it hands them back past it.
    if (!intruder) {
        m_recent.removeAll(form);
        m_recent.removeAll(nullptr);
        m_recent.append(form);
        if (m_recent.size() > kRecentForms)
            m_recent.removeFirst();
    }
    if (previous && !previous->IsUnloading())
        previous->FireDeactivate();
    if (m_active && !m_active->IsUnloading())
        m_active->FireActivate();
}

bool FormEvents::GiveFocus(QWidget* control)
{
    if (!control || !control->isEnabled())
        return false;
    FormEvents& events = Instance();
    if (auto* down = qobject_cast<Form*>(control->window()); down && down->IsDown() && !down->IsUnloading()
        && (control == down || control->isVisibleTo(down))) {
        // It comes back with the program, and takes the keys then.
        control->setFocus(Qt::OtherFocusReason);
        if (events.m_minimised && (down == events.m_minimised || down->IsOwnedBy(events.m_minimised)))
            events.m_activeBeforeMinimise = down;
        ++events.m_keysGiven;
        return true;
    }
    if (!control->isVisible())
        return false;
    // Asked even where Qt still counts the window active: Qt learns of a focus change late
    // (a click on another window of ours has moved the focus while its release is handled).
    QWidget* window = control->window();
    window->activateWindow();
    control->setFocus(Qt::OtherFocusReason);
    // In answer to a click on another window of ours, the window manager may drop the request
    // or activate the clicked window after it.
    ++events.m_keysGiven;
    const bool clicked = events.m_pressed && events.m_pressed != window && !events.m_pressedRecently.hasExpired();
    events.Insist(window, clicked ? events.m_pressed.data() : nullptr);
    return true;
}

bool FormEvents::GiveKeysTo(QWidget* window)
{
    return window && (GiveFocus(window->focusWidget()) || GiveFocus(window));
}

void FormEvents::GiveBack(QWidget* window)
{
    if (!window || !window->isVisible())
        return;
    window->activateWindow();
    QWidget* root = window;
    if (const auto* form = qobject_cast<const Form*>(window))
        for (Form* owner = form->Owner(); owner; owner = owner->Owner())
            root = owner;
    Instance().Insist(window, root != window ? root : nullptr);
}

QWidget* FormEvents::AskingWindow()
{
    const FormEvents& events = Instance();
    // While the program is down, the window that had the keys when it went down: the window
    // manager may activate another one of ours in passing as they all go.
    if (events.m_minimised && events.m_activeBeforeMinimise && !events.m_activeBeforeMinimise->IsUnloading())
        return events.m_activeBeforeMinimise;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (auto it = events.m_recent.crbegin(); it != events.m_recent.crend(); ++it) {
        Form* f = it->data();
        if (f && !f->IsUnloading() && (f->isVisible() || f->IsDown()))
            return f;
    }
    return nullptr;
}

void FormEvents::Activate(QWidget* window)
{
    window->activateWindow();
    ++Instance().m_keysGiven;
}

void FormEvents::CloseBox(Form* form)
{
    QPointer<Form> closing(form);
    const QPointer<Form> owner = form->Owner();
    const bool hadKeys = QApplication::activeWindow() == form;
    const quint64 given = m_keysGiven;
    form->Form_CloseRequested();
    if (closing && !closing->IsUnloading() && closing->isVisible())
        return; // the form stays
    // Only the keys the closed window had are handed on, and only where nobody else chose.
    if (!hadKeys || m_keysGiven != given || QApplication::activeModalWidget())
        return;
    if (QWidget* active = QApplication::activeWindow(); active && !qobject_cast<Form*>(active))
        return; // a box or dialog of ours
    Form* heir = Heir(closing);
    if (!heir || heir == owner || !GiveKeysTo(heir))
        return;
    // The window manager gives the activation to the closed window's owner as it goes.
    if (owner)
        Insist(heir, owner);
}

Form* FormEvents::Heir(const Form* closing) const
{
    for (auto it = m_recent.crbegin(); it != m_recent.crend(); ++it) {
        Form* f = it->data();
        if (!f || f == closing || f->IsUnloading() || !f->isVisible() || f->isMinimized())
            continue;
        bool leaving = false;
        for (const Form* o = f->Owner(); o && !leaving; o = o->Owner())
            leaving = o->IsUnloading();
        if (!leaving)
            return f;
    }
    return nullptr;
}

void FormEvents::Minimised(Form* form)
{
    // The window manager iconifies the owned windows with their owner: the owner's record stays.
    if (m_minimised && form->IsOwnedBy(m_minimised))
        return;
    m_minimised = form;
    m_activeBeforeMinimise = m_active && (m_active == form || m_active->IsOwnedBy(form)) ? m_active : nullptr;
    m_recentBeforeMinimise = m_recent;
}

void FormEvents::Restored(Form* form)
{
    if (form != m_minimised)
        return;
    QPointer<Form> back = m_activeBeforeMinimise;
    const QList<QPointer<Form>> recent = std::exchange(m_recentBeforeMinimise, {});
    m_minimised = nullptr;
    m_activeBeforeMinimise = nullptr;
    // After the owned windows are mapped again and the window manager has done its part.
    QPointer<Form> restored = form;
    QMetaObject::invokeMethod(
        this,
        [this, back, recent, restored] {
            // A box or dialog that came back with the program holds every other window: it
            // takes the keys.
            QWidget* window = QApplication::activeModalWidget();
            if (!window && back && back != restored && !back->IsUnloading() && back->isVisible())
                window = back;
            // A window that had them and has not come back (the character pop-up, which hides
            // as the program goes down) leaves them to the window of the tree active before it.
            for (auto it = recent.crbegin(); !window && back && back != restored && it != recent.crend(); ++it) {
                Form* f = it->data();
                if (f && f != restored && f->IsOwnedBy(restored) && !f->IsUnloading() && f->isVisible())
                    window = f;
            }
            if (!window || !window->isVisible() || window == restored)
                return;
            window->activateWindow();
            Insist(window, restored);
        },
        Qt::QueuedConnection);
}

void FormEvents::Forget(Form* form)
{
    if (m_active == form)
        m_active = nullptr;
    m_recent.removeAll(form);
}

bool FormEvents::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::ShowToParent) {
        // A control that lost the keys to being disabled or hidden may take them back.
        auto* control = qobject_cast<QWidget*>(watched);
        if (control && !control->isWindow())
            if (auto* form = qobject_cast<Form*>(control->window()))
                form->ControlBack(control);
        return false;
    }
    if (e->type() == QEvent::MouseButtonPress) {
        // The learner chooses anew.
        auto* widget = qobject_cast<QWidget*>(watched);
        m_pressed = widget ? widget->window() : nullptr;
        m_pressedRecently = QDeadlineTimer(kInsistMs);
        m_asked = nullptr;
        m_intruder = nullptr;
    }
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
