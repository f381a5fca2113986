#include "Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "Clock.h"
#include "FormEvents.h"
#include "Forms.h"
#include "Twips.h"
#include "WindowHints.h"

namespace {
// Show order across all forms: owned windows are stacked in the order they were shown.
quint64 g_showSerial = 0;

// Our message boxes and file dialogs that went down with a minimise. They are hidden at their
// window, not as widgets: hiding the dialog itself would end its exec() as if answered.
QList<QPointer<QWidget>> g_boxesDown;

// The form a message box or file dialog of ours is open over; null for any other window.
Form* FormUnderBox(const QWidget* w)
{
    if (!w->isWindow() || w->windowType() != Qt::Dialog || qobject_cast<const Form*>(w) || !w->parentWidget())
        return nullptr;
    return qobject_cast<Form*>(w->parentWidget()->window());
}

bool InTreeOf(const Form* f, const Form* root) { return f && (f == root || f->IsOwnedBy(root)); }

// The visible boxes and dialogs open over root or over a window it owns.
QList<QWidget*> BoxesOver(const Form* root)
{
    QList<QWidget*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && InTreeOf(FormUnderBox(w), root))
            boxes.append(w);
    return boxes;
}

int OwnerDepth(const Form* f)
{
    int depth = 0;
    for (const Form* o = f->Owner(); o; o = o->Owner())
        ++depth;
    return depth;
}

// Ends a wait for a form's return once it is back, unloading or gone: looked at whenever it
// is shown, hidden or changes state, and now and then besides.
class BackWatch : public QObject {
public:
    BackWatch(Form* form, QEventLoop& loop)
        : m_form(form)
        , m_loop(loop)
    {
        form->installEventFilter(this);
        connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
        connect(&m_poll, &QTimer::timeout, this, &BackWatch::Look);
        m_poll.start(250);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show || e->type() == QEvent::Hide || e->type() == QEvent::WindowStateChange)
            QMetaObject::invokeMethod(this, &BackWatch::Look, Qt::QueuedConnection);
        return false;
    }

private:
    void Look()
    {
        if (!m_form || m_form->IsUnloading() || !m_form->IsDown())
            m_loop.quit();
    }

    QPointer<Form> m_form;
    QEventLoop& m_loop;
    QTimer m_poll;
};
} // namespace

Form::Form(const QString& formName)
    : QWidget(nullptr)
    , m_formName(formName)
{
    setObjectName(formName);
    SetCaption(QString());
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_QuitOnClose, false);
    // Key preview and activation come through the one application-wide filter.
    (void)FormEvents::Instance();
}

Form::~Form()
{
    FormEvents::Instance().Forget(this);
    if (m_modalLoop)
        m_modalLoop->quit();
    Forms::Deregister(this);
}

void Form::SetCaption(const QString& caption)
{
    setWindowTitle(caption.isEmpty() ? QCoreApplication::applicationName() : caption);
}

void Form::RunLoad()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void Form::Show(ShowMode mode, Form* owner)
{
    if (m_unloading)
        return;
    m_hiddenWithOwner = false;
    // An owner that this form owns itself (directly or further down) is not taken: a ring of
    // owners would never end the walks that follow a form's owners.
    if (owner && owner != this && !owner->IsOwnedBy(this))
        BecomeOwnedBy(owner);
    m_showSerial = ++g_showSerial;
    // While its owner is down with a minimised program, the form waits for the owner's
    // restore: shown now, it would stand alone on the empty desktop, and the restored owner
    // would cover it.
    const bool down = m_owner && m_owner->IsDown();
    if (down) {
        m_hiddenWithOwner = true;
        if (isVisible())
            hide();
    }
    if (mode == Modal) {
        if (m_modalLoop)
            return;
        setWindowModality(Qt::ApplicationModal);
        if (!down) {
            ShowNormal();
            raise();
            activateWindow();
        }
        QEventLoop loop;
        m_modalLoop = &loop;
        QPointer<Form> self(this);
        if (Clock::IsManual()) {
            // On the test clock, time goes on inside the loop as it does on the wall clock.
            QMetaObject::invokeMethod(
                &loop,
                [self] {
                    Clock::ContinueWhile([self] {
                        return self && !self->IsUnloading() && (self->isVisible() || self->m_hiddenWithOwner);
                    });
                },
                Qt::QueuedConnection);
        }
        loop.exec();
        if (self) {
            m_modalLoop = nullptr;
            setWindowModality(Qt::NonModal);
        }
        return;
    }
    if (down)
        return;
    ShowNormal();
    raise();
    RaiseOwnedWindows();
}

void Form::ShowNormal()
{
    // The window manager iconifies owned windows with their owner, and Qt may learn of it only
    // after it has hidden them: a window shown while Qt still counts it minimised maps iconic,
    // and openbox then iconifies its whole owner tree again.
    if (windowState() & Qt::WindowMinimized)
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
}

void Form::BecomeOwnedBy(Form* owner)
{
    m_owner = owner;
    // Only windows of a transient type get WM_TRANSIENT_FOR from Qt; a plain top-level window
    // with a transient parent is left loose, and the window manager stacks its owner over it.
    if (windowType() != Qt::Tool)
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
    winId();
    owner->winId();
    if (QWindow* window = windowHandle())
        window->setTransientParent(owner->windowHandle());
}

QList<Form*> Form::OwnedWindowsBottomToTop() const
{
    QList<Form*> direct;
    for (Form* f : Forms::LoadedForms())
        if (f->m_owner == this && !f->m_unloading && f->isVisible())
            direct.append(f);
    std::stable_sort(direct.begin(), direct.end(), [](const Form* a, const Form* b) { return a->m_showSerial < b->m_showSerial; });
    QList<Form*> stack;
    for (Form* f : direct) {
        stack.append(f);
        stack.append(f->OwnedWindowsBottomToTop());
    }
    return stack;
}

void Form::RaiseOwnedWindows()
{
    for (Form* f : OwnedWindowsBottomToTop())
        f->raise();
    for (QWidget* box : BoxesOver(this))
        box->raise();
}

bool Form::IsDown() const { return m_hiddenWithOwner || (isVisible() && (windowState() & Qt::WindowMinimized)); }

void Form::WaitUntilBack(Form* form)
{
    if (!form || !form->IsDown())
        return;
    QEventLoop loop;
    BackWatch watch(form, loop);
    loop.exec();
}

void Form::Hide()
{
    m_hiddenWithOwner = false;
    hide();
    ExitModalLoop();
}

void Form::ExitModalLoop()
{
    if (m_modalLoop)
        m_modalLoop->quit();
}

void Form::Unload()
{
    if (m_unloading)
        return;
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel)
        return;
    Discard();
}

void Form::Discard()
{
    if (m_unloading)
        return;
    m_unloading = true;
    Form_Unload();
    hide();
    ExitModalLoop();
    FormEvents::Instance().Forget(this);
    Forms::Deregister(this);
    deleteLater();
}

void Form::Form_CloseRequested()
{
    Unload();
}

double Form::Left() const { return Twips::FromPixelsX(x()); }
double Form::Top() const { return Twips::FromPixelsY(y()); }
double Form::Width() const { return Twips::FromPixelsX(width()); }
double Form::Height() const { return Twips::FromPixelsY(height()); }

void Form::Move(double left, double top)
{
    const QPoint to(Twips::ToPixelsX(left), Twips::ToPixelsY(top));
    // A window first shown at a place has its frame put there by the window manager, while Qt
    // counts the place as its client's: a move to where Qt believes the window stands would go
    // nowhere, and the window stays a title bar lower. The frame is asked to go there again.
    if (isVisible() && pos() == to && windowHandle())
        windowHandle()->setFramePosition(to);
    else
        move(to);
}

void Form::Move(double left, double top, double width, double height)
{
    Twips::Place(this, left, top, width, height);
    m_ownSize = size();
}

void Form::SetSize(double width, double height)
{
    resize(std::max(1, Twips::ToPixelsX(width)), std::max(1, Twips::ToPixelsY(height)));
    m_ownSize = size();
}

void Form::TakeOwnShape(int extraHeight)
{
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    if (!m_ownSize.isValid())
        return;
    const QSize own(m_ownSize.width(), m_ownSize.height() + std::max(0, extraHeight));
    if (size() != own)
        resize(own);
}

Form::WindowStateKind Form::WindowState() const
{
    const Qt::WindowStates s = windowState();
    if (s & Qt::WindowMinimized)
        return Minimized;
    if (s & Qt::WindowMaximized)
        return Maximized;
    return Normal;
}

void Form::SetWindowState(WindowStateKind state)
{
    switch (state) {
    case Minimized:
        setWindowState(windowState() | Qt::WindowMinimized);
        break;
    case Maximized:
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    case Normal:
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        break;
    }
}

void Form::SetBorderless(bool borderless)
{
    setWindowFlag(Qt::FramelessWindowHint, borderless);
}

void Form::FireActivate()
{
    m_active = true;
    Form_Activate();
}

void Form::FireDeactivate()
{
    m_active = false;
    Form_Deactivate();
}

bool Form::HandleKey(QKeyEvent* ke, bool down)
{
    int code = Keys::FromQt(ke->key(), ke->modifiers());
    if (code == 0)
        return false;
    const int shift = (ke->modifiers() & Qt::ShiftModifier ? 1 : 0) | (ke->modifiers() & Qt::ControlModifier ? 2 : 0)
        | (ke->modifiers() & Qt::AltModifier ? 4 : 0);
    const int before = code;
    if (down) {
        m_keysDown.insert(code);
        Form_KeyDown(code, shift);
    } else {
        if (!m_keysDown.remove(code))
            return false;
        Form_KeyUp(code, shift);
    }
    return code == 0 && before != 0;
}

bool Form::PreviewedAlready(const QKeyEvent* ke) const
{
    return ke == m_previewed && ke->type() == m_previewedType && ke->key() == m_previewedKey;
}

bool Form::PreviewKey(QKeyEvent* ke)
{
    if (!m_keyPreview || m_unloading)
        return false;
    if (ke->isAutoRepeat() && ke->type() == QEvent::KeyRelease)
        return false;
    // Remember the event so that the form does not take it a second time when the control
    // ignores it and it travels on; forget it once delivery is over.
    m_previewed = ke;
    m_previewedType = ke->type();
    m_previewedKey = ke->key();
    QMetaObject::invokeMethod(this, [this] { m_previewed = nullptr; }, Qt::QueuedConnection);
    return HandleKey(ke, ke->type() == QEvent::KeyPress);
}

bool Form::event(QEvent* e)
{
    if (e->type() == QEvent::Show && m_owner && !m_unloading) {
        // Sent before the window is mapped: the hints must be in place when the window
        // manager first sees it, and again after each hide (which clears them).
        if (QWindow* window = windowHandle()) {
            if (m_owner->windowHandle() && window->transientParent() != m_owner->windowHandle())
                window->setTransientParent(m_owner->windowHandle());
            WindowHints::SkipTaskbar(window);
        }
    } else if (e->type() == QEvent::WindowActivate && !m_unloading) {
        // Whatever the window manager did with the owner it just raised and activated, the
        // windows it owns go back above it, in their order. After the activation is through.
        QMetaObject::invokeMethod(this, [this] { if (!m_unloading) RaiseOwnedWindows(); }, Qt::QueuedConnection);
    }
    if (!m_unloading && (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease)) {
        auto* ke = static_cast<QKeyEvent*>(e);
        if (!(ke->isAutoRepeat() && e->type() == QEvent::KeyRelease)) {
            const bool seen = PreviewedAlready(ke);
            m_previewed = nullptr;
            if (!seen && HandleKey(ke, e->type() == QEvent::KeyPress))
                return true;
            if (e->type() == QEvent::KeyPress && !ke->text().isEmpty()) {
                int ascii = ke->text().at(0).unicode();
                Form_KeyPress(ascii);
            }
            // Tab and Backtab go on through the controls, from the window itself too (where the
            // keys wait while a control is off).
            if (e->type() == QEvent::KeyPress && (ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab))
                return QWidget::event(e);
            return true;
        }
    }
    return QWidget::event(e);
}

bool Form::IsOwnedBy(const Form* owner) const
{
    for (const Form* f = m_owner; f; f = f->m_owner)
        if (f == owner)
            return true;
    return false;
}

void Form::HideOwnedWindows()
{
    for (QWidget* box : BoxesOver(this)) {
        if (!g_boxesDown.contains(box))
            g_boxesDown.append(box);
        box->windowHandle()->hide();
    }
    for (Form* f : Forms::LoadedForms())
        if (f != this && f->IsOwnedBy(this) && f->isVisible()) {
            f->m_hiddenWithOwner = true;
            f->hide();
        }
}

void Form::ShowOwnedWindows()
{
    // Owners before the windows they own: a window mapped before its owner has no owner for
    // the window manager, which then stacks it anywhere.
    QList<QPointer<Form>> back;
    for (Form* f : Forms::LoadedForms())
        if (f != this && f->m_hiddenWithOwner && f->IsOwnedBy(this))
            back.append(f);
    std::stable_sort(back.begin(), back.end(),
        [](const QPointer<Form>& a, const QPointer<Form>& b) { return OwnerDepth(a) < OwnerDepth(b); });
    for (const QPointer<Form>& f : back)
        if (f && f->m_hiddenWithOwner && !f->m_unloading) {
            f->m_hiddenWithOwner = false;
            f->ShowNormal();
        }
    // Then the boxes and dialogs open over them, on top, each after the window it is open over.
    QList<QPointer<QWidget>> staying;
    for (const QPointer<QWidget>& box : std::as_const(g_boxesDown)) {
        if (!box || box->isHidden())
            continue; // answered or gone meanwhile
        Form* under = FormUnderBox(box);
        if (!InTreeOf(under, this) || !under->isVisible()) {
            staying.append(box);
            continue;
        }
        if (box->windowState() & Qt::WindowMinimized)
            box->setWindowState(box->windowState() & ~Qt::WindowMinimized);
        box->windowHandle()->show();
        box->raise();
    }
    g_boxesDown = staying;
}

void Form::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange || m_unloading)
        return;
    const bool minimisedNow = windowState() & Qt::WindowMinimized;
    const bool minimisedBefore = std::exchange(m_minimisedSeen, minimisedNow);
    if (minimisedNow && !minimisedBefore) {
        FormEvents::Instance().Minimised(this);
        HideOwnedWindows();
    } else if (!minimisedNow && minimisedBefore) {
        ShowOwnedWindows();
        FormEvents::Instance().Restored(this);
    }
    Form_Resize();
}

void Form::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (!m_unloading && m_loaded)
        Form_Resize();
}

bool Form::focusNextPrevChild(bool next)
{
    // Tab and Backtab start from a control that can keep the keys; the toolkit also comes here
    // when the control with the keys is disabled or hidden.
    QWidget* had = focusWidget();
    if (had && had != this && (!had->isEnabled() || !had->isVisibleTo(this))) {
        HandKeysOn(had);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void Form::HandKeysOn(QWidget* lost)
{
    QWidget* next = KeysAfter(lost);
    if (!next || next == lost || next->window() != this)
        next = this;
    if (next != this && next->isEnabled() && next->isVisibleTo(this)) {
        m_keysWaiting = nullptr;
        next->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Meanwhile the window keeps them: keys reach its own handlers, Tab starts the chain anew.
    m_keysWaiting = next == this ? lost : next;
    setFocus(Qt::OtherFocusReason);
}

void Form::ControlBack(QWidget* control)
{
    if (!m_keysWaiting || control != m_keysWaiting || m_unloading)
        return;
    if (focusWidget() != this || !control->isEnabled() || !control->isVisibleTo(this))
        return;
    m_keysWaiting = nullptr;
    control->setFocus(Qt::OtherFocusReason);
}

void Form::focusOutEvent(QFocusEvent* e)
{
    // Moved on within the window: nothing waits for the keys any more. (A window that loses the
    // activation keeps them for its return.)
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        m_keysWaiting = nullptr;
    QWidget::focusOutEvent(e);
}

void Form::closeEvent(QCloseEvent* e)
{
    // The window manager's close button: the form decides (default: unload), and the keys go
    // back to the window active before it where the form gave them nowhere.
    e->ignore();
    if (!m_unloading)
        FormEvents::Instance().CloseBox(this);
}

int Keys::FromQt(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Return;
    case Qt::Key_Escape:
        return Escape;
    case Qt::Key_F4:
        return F4;
    default:
        if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
            return 112 + (qtKey - Qt::Key_F1);
        if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
            return qtKey;
        if (qtKey == Qt::Key_Space)
            return 32;
        if (qtKey == Qt::Key_Backspace)
            return 8;
        if (qtKey == Qt::Key_Tab)
            return 9;
        if (qtKey == Qt::Key_Left)
            return 37;
        if (qtKey == Qt::Key_Up)
            return 38;
        if (qtKey == Qt::Key_Right)
            return 39;
        if (qtKey == Qt::Key_Down)
            return 40;
        if (qtKey == Qt::Key_Delete)
            return 46;
        if (qtKey == Qt::Key_Equal || qtKey == Qt::Key_Plus)
            return 187;
        if (qtKey == Qt::Key_Minus || qtKey == Qt::Key_Underscore)
            return 189;
        return 0;
    }
}

int Keys::FromQt(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return 96 + (qtKey - Qt::Key_0);
        if (qtKey == Qt::Key_Plus)
            return 107;
        if (qtKey == Qt::Key_Minus)
            return 109;
    }
    return FromQt(qtKey);
}
