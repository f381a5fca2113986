#pragma once
// The one application-wide filter of the form runtime. It gives every form with key preview
// (Form::SetKeyPreview) the keys of its controls before they do (Form_KeyDown, Form_KeyUp,
// Form_KeyPress: Esc 27 on key up, F4 115, Enter 13), and fires Form_Activate and
// Form_Deactivate only when another form of the program takes the focus, never for our own
// message boxes or file dialogs, nor when the focus leaves the program. Created with the first
// form; forms need do nothing to use it.
//
// It also keeps the activation where the keys belong on a desktop with a window manager, as
// the old platform did: a control given the focus activates its window (GiveFocus), a message
// box gives the activation back to the window that had it (MsgBox), and a main window restored
// after a minimise gives it back to the window of its tree that had it before, to a window
// given the keys while it was down, or to the box or dialog of ours that came back with it. A
// window closed or hidden by the window manager's close box gives the keys back to the window
// of ours that was active before it (CloseBox), where the window manager would give them to
// the window's owner, the full-screen main window.

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QPointer>

class Form;
class QWidget;

class FormEvents : public QObject {
public:
    static FormEvents& Instance();

    // Gives a control the focus and activates its window: on X11 the focus given to a control
    // of a window that is not active goes nowhere, and the keys stay with whatever window the
    // window manager activated last. A window that is down with a minimised program takes the
    // keys when it comes back. False when the control cannot take the focus (hidden or
    // disabled).
    static bool GiveFocus(QWidget* control);
    // Activates a window with the keys on the control of it that had them last (on the window
    // itself when none had): a window shown or uncovered without an activation of its own.
    static bool GiveKeysTo(QWidget* window);
    // Asks the window manager to activate a window the program has chosen to take the keys
    // (a panel that keeps no focus on any control).
    static void Activate(QWidget* window);
    // Gives the activation back to the window that had it before a message box or dialog of
    // ours: the window manager hands a closed box's activation to a window of its own choosing,
    // the full-screen main window at the root of the window's owners, at times after the
    // request; for a moment that window then hands it back.
    static void GiveBack(QWidget* window);
    // The window a message box opens over: the active window of ours, or, when none is (the
    // program is minimised, or another program has the keys), the form of ours that had them
    // last, where it is still shown or down with the program.
    static QWidget* AskingWindow();

    // The window manager's close box on a form: runs its Form_CloseRequested. When that hid or
    // unloaded the form and gave the keys nowhere itself, the most recently active window of
    // ours that is still shown takes them back, unless a message box or file dialog has them,
    // or that window is going away with its owner (the program is ending), or it is the
    // closed window's owner (the window manager gives them there itself).
    void CloseBox(Form* form);

    // A form going away is no longer the active one.
    void Forget(Form* form);
    // A form is minimised or restored: on the restore, the window of its tree that was active
    // when it was minimised, or was given the keys since, is activated again (the window
    // manager activates the restored one); a box or dialog of ours open then takes them first.
    void Minimised(Form* form);
    void Restored(Form* form);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    FormEvents();
    void ActiveWindowChanged(QWidget* now);
    // The window that takes the keys back when closing has closed: the most recently active
    // form that is still shown and not going away with an owner of its own.
    Form* Heir(const Form* closing) const;
    // The window manager may drop an activation asked for while it activates a window of its
    // own choosing (the one just clicked, the main window just restored), or activate that one
    // after it: for a moment the window asked for is asked again, and takes the activation
    // back once from that window.
    void Insist(QWidget* asked, QWidget* intruder);
    void AskAgain(QWidget* window, int times);
    bool StillAsked(const QWidget* asked) const;

    QPointer<Form> m_active;
    QList<QPointer<Form>> m_recent; // the forms active of late, least recent first
    quint64 m_keysGiven{0};         // counts the program's own choices of where the keys go
    QPointer<QWidget> m_asked;
    QPointer<QWidget> m_intruder;
    QPointer<QWidget> m_pressed; // the window of the learner's last press
    QDeadlineTimer m_pressedRecently;
    QDeadlineTimer m_askedUntil;
    QPointer<Form> m_minimised;
    QPointer<Form> m_activeBeforeMinimise;
    QList<QPointer<Form>> m_recentBeforeMinimise; // m_recent when it was minimised
};
