#include "MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>

#include "Form.h"
#include "FormEvents.h"
#include "ProgramEnd.h"

#include <cstdio>

namespace {
MsgBox::Recorder* g_recorder = nullptr;
int g_showing = 0;
} // namespace

namespace MsgBox {

Recorder::Recorder() { g_recorder = this; }
Recorder::~Recorder()
{
    if (g_recorder == this)
        g_recorder = nullptr;
}

QStringList Recorder::Texts() const
{
    QStringList t;
    for (const auto& b : m_boxes)
        t << b.text;
    return t;
}

Result Recorder::Take(const Shown& s)
{
    m_boxes.append(s);
    if (m_onShow)
        m_onShow(s);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    switch (s.buttons) {
    case YesNo:
        return s.def == DefaultSecond ? No : Yes;
    case OkCancel:
        return s.def == DefaultSecond ? Cancel : Ok;
    default:
        return Ok;
    }
}

bool IsShowing() { return g_showing > 0; }

Result Show(const QString& text, Buttons buttons, Icon icon, const QString& title, DefaultButton def)
{
    const Shown s{text, title, buttons, icon, def};
    if (ProgramEnd::Ending()) {
        // Nobody may be there to answer, and the end must not wait: the text goes to the log,
        // and the box is taken as closed without a button.
        std::fprintf(stderr, "%s\n", qUtf8Printable(title.isEmpty() ? text : title + QStringLiteral(": ") + text));
        return buttons == YesNo ? No : buttons == OkCancel ? Cancel : Ok;
    }
    ++g_showing;
    if (g_recorder) {
        const Result r = g_recorder->Take(s);
        --g_showing;
        return r;
    }
    // The box opens over the window that asked, and that window gets the keys back when the box
    // closes: the window manager would hand the activation to a window of its own choosing
    // (the full-screen main window). Asked while that window is down with a minimised program,
    // the box waits for the restore rather than stand alone on the empty desktop.
    QPointer<QWidget> active = FormEvents::AskingWindow();
    if (auto* form = qobject_cast<Form*>(active.data()); form && form->IsDown()) {
        Form::WaitUntilBack(form);
        if (!active || !active->isVisible())
            active = FormEvents::AskingWindow();
    }
    QMessageBox box(active);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    box.setText(text);
    switch (icon) {
    case Critical: box.setIcon(QMessageBox::Critical); break;
    case Question: box.setIcon(QMessageBox::Question); break;
    case Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Information: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    if (buttons == YesNo) {
        first = box.addButton(QMessageBox::Yes);
        second = box.addButton(QMessageBox::No);
        box.setEscapeButton(second);
    } else if (buttons == OkCancel) {
        first = box.addButton(QMessageBox::Ok);
        second = box.addButton(QMessageBox::Cancel);
        box.setEscapeButton(second);
    } else {
        first = box.addButton(QMessageBox::Ok);
        box.setEscapeButton(first);
    }
    box.setDefaultButton(def == DefaultSecond && second ? second : first);
    box.exec();
    --g_showing;
    FormEvents::GiveBack(active);
    QAbstractButton* clicked = box.clickedButton();
    if (buttons == YesNo)
        return clicked == first ? Yes : No;
    if (buttons == OkCancel)
        return clicked == first ? Ok : Cancel;
    return Ok;
}

} // namespace MsgBox
