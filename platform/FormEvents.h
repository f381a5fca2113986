#pragma once
// The one application-wide filter of the form runtime. It gives every form with key preview
// (Form::SetKeyPreview) the keys of its controls before they do (Form_KeyDown, Form_KeyUp,
// Form_KeyPress: Esc 27 on key up, F4 115, Enter 13), and fires Form_Activate and
// Form_Deactivate only when another form of the program takes the focus, never for our own
// message boxes or file dialogs, nor when the focus leaves the program. Created with the first
// form; forms need do nothing to use it.

#include <QObject>
#include <QPointer>

class Form;
class QWidget;

class FormEvents : public QObject {
public:
    static FormEvents& Instance();
    // A form going away is no longer the active one.
    void Forget(Form* form);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    FormEvents();
    void ActiveWindowChanged(QWidget* now);

    QPointer<Form> m_active;
};
