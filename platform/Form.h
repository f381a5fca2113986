#pragma once
// The life of an old-style form on top of a QWidget: Load (construct, run Form_Load, not
// shown), Show (modeless or modal, with an owner), Hide, Unload (Form_Unload, then destroy).
// Owned windows are transient children of their owner, never QObject children, so unloading
// one form never deletes another behind the registry's back. An owned window is a tool window
// (the window manager keeps it above its owner and out of the taskbar; only the main window
// is listed there) and is raised again above its owner whenever the owner is shown or
// activated, whatever the window manager does with transient hints.
//
// A minimised window takes down every window it owns and brings them back with its restore:
// the forms it owns, a form shown meanwhile with such an owner, and our message boxes and file
// dialogs open over any of them, which come back on top.

#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

class QEventLoop;
class QKeyEvent;

class Form : public QWidget {
    Q_OBJECT
public:
    enum ShowMode { Modeless = 0, Modal = 1 };
    enum WindowStateKind { Normal = 0, Minimized = 1, Maximized = 2 };

    explicit Form(const QString& formName);
    ~Form() override;

    const QString& FormName() const { return m_formName; }

    // Show the form. Modal blocks in a local event loop until the form is hidden or unloaded.
    void Show(ShowMode mode = Modeless, Form* owner = nullptr);
    void Hide();
    // Runs Form_QueryUnload/Form_Unload, removes the form from the registry and deletes it
    // later. Safe to call twice.
    void Unload();
    // Unloads without asking: Form_QueryUnload is not run, so nothing can keep the form.
    void Discard();
    bool IsUnloading() const { return m_unloading; }
    Form* Owner() const { return m_owner; }
    bool IsShownModal() const { return m_modalLoop != nullptr; }
    // True when owner is this form's owner, or its owner's owner, and so on.
    bool IsOwnedBy(const Form* owner) const;
    // The visible windows this form owns, directly or further down, from bottom to top: the
    // windows it owns in the order they were shown, each followed by the windows it owns.
    QList<Form*> OwnedWindowsBottomToTop() const;
    // Raises those windows in that order, then the boxes and dialogs of ours open over any of
    // them (done whenever this form is shown or activated).
    void RaiseOwnedWindows();
    // True while the form is down with a minimised program: minimised itself, or hidden (or
    // kept from showing) because an owner of it is; its owner's restore brings it back.
    bool IsDown() const;
    // Serves events until the form is back from a minimise, or gone: a box asked for over a
    // window that is down opens once it is back, rather than alone on the empty desktop.
    static void WaitUntilBack(Form* form);

    // Geometry in twips, as the forms were designed (outer frame = client area here).
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void Move(double left, double top);
    void Move(double left, double top, double width, double height);
    void SetSize(double width, double height);
    // The client size the program gave the form (SetSize, or Move with a size), in pixels;
    // invalid while none was given. What the learner does to the window never changes it.
    QSize OwnSize() const { return m_ownSize; }
    // Back at its own size, extraHeight pixels taller, no longer maximised, whatever the learner
    // did to the window (maximised it, resized it): a window of a stack is placed so.
    void TakeOwnShape(int extraHeight = 0);

    WindowStateKind WindowState() const;
    void SetWindowState(WindowStateKind state);

    // Caption and border style. A form without a caption of its own (none given, or an empty
    // one) is titled with the program's name, so a window manager's title bar or switcher
    // never shows a blank or the form's internal name.
    void SetCaption(const QString& caption);
    QString Caption() const { return windowTitle(); }
    void SetBorderless(bool borderless);

    // Key preview: the form sees keys before its controls (Esc, F4, Enter), through the one
    // application-wide filter (FormEvents).
    void SetKeyPreview(bool on) { m_keyPreview = on; }
    bool KeyPreview() const { return m_keyPreview; }

    // Called by the registry right after construction (not shown yet).
    void RunLoad();

protected:
    // The form's own events, named as the old forms named them. Defaults do nothing.
    virtual void Form_Load() {}
    // Set cancel to true to refuse the unload.
    virtual void Form_QueryUnload(bool& cancel) { (void)cancel; }
    virtual void Form_Unload() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Resize() {}
    // keyCode may be set to 0 to swallow the key.
    virtual void Form_KeyDown(int& keyCode, int shift) { (void)keyCode; (void)shift; }
    virtual void Form_KeyUp(int& keyCode, int shift) { (void)keyCode; (void)shift; }
    virtual void Form_KeyPress(int& keyAscii) { (void)keyAscii; }
    // The window manager's close: by default an unload. Forms that must ignore it override.
    // A form it hides or unloads hands the keys back to the window active before it
    // (FormEvents::CloseBox) unless it gave them somewhere itself.
    virtual void Form_CloseRequested();
    // What takes the keys when the control that has them is disabled or hidden (a Start that
    // turns itself off): what the window expects next. Never the next control of the chain, as
    // the toolkit would have it, where Return would press a button the learner never went to (a
    // test's Close). By default the window itself, where Return presses nothing, and the control
    // takes the keys back when it is enabled or shown again, unless they have moved meanwhile.
    // A control named here that cannot take them yet takes them as soon as it can.
    virtual QWidget* KeysAfter(QWidget* control) { (void)control; return this; }

    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    // The toolkit's way on from a control disabled or hidden with the keys goes to KeysAfter.
    bool focusNextPrevChild(bool next) override;

private:
    friend class FormEvents;
    // The key preview (FormEvents): a key on its way to one of this form's controls.
    bool PreviewKey(QKeyEvent* ke);
    void FireActivate();
    void FireDeactivate();
    void ExitModalLoop();
    bool HandleKey(QKeyEvent* ke, bool down);
    // True when the key event is on its way from one of this form's controls (the focus
    // widget) up to the form: the preview has already seen it there.
    bool PreviewedAlready(const QKeyEvent* ke) const;
    // Owned windows go down with their owner and come back with it.
    void HideOwnedWindows();
    void ShowOwnedWindows();
    // show(), in the normal state whatever the window manager last told of this window.
    void ShowNormal();
    void BecomeOwnedBy(Form* owner);
    // The keys of a control disabled or hidden with them go where KeysAfter says.
    void HandKeysOn(QWidget* lost);
    // A control enabled or shown again (FormEvents): the one waiting for the keys takes them,
    // while they are still on the window.
    void ControlBack(QWidget* control);

    QString m_formName;
    QPointer<Form> m_owner;
    QEventLoop* m_modalLoop{nullptr};
    bool m_unloading{false};
    bool m_loaded{false};
    bool m_keyPreview{false};
    bool m_active{false};
    bool m_hiddenWithOwner{false};
    // Minimised as this form last heard: a state change's own "old state" is the window's,
    // which already holds the new state when two changes come close behind each other (a
    // minimise the window manager undoes at once for a window of ours shown at that moment).
    bool m_minimisedSeen{false};
    quint64 m_showSerial{0}; // when the form was last shown, for the stacking of owned windows
    QSize m_ownSize;
    // The control that takes the keys back from the window when it can (HandKeysOn).
    QPointer<QWidget> m_keysWaiting;
    // The key event the preview took last, until the event loop turns over.
    const QKeyEvent* m_previewed{nullptr};
    int m_previewedType{0};
    int m_previewedKey{0};
    // Keys that went down on this form and are still held. A release counts only for a key
    // pressed here: one pressed in an open list, a message box or a window that has closed
    // since never reaches this form as a lone release.
    QSet<int> m_keysDown;
};

// Virtual key codes the forms compare against.
namespace Keys {
constexpr int Return = 13;
constexpr int Escape = 27;
constexpr int F4 = 115;
int FromQt(int qtKey);
// With the modifiers: the numeric keypad's digits are 96-105 (its "+" 107, "-" 109), apart
// from the main row's 48-57, "=" / "+" 187 and "-" 189.
int FromQt(int qtKey, Qt::KeyboardModifiers modifiers);
}
