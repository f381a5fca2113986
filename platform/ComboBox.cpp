#include "ComboBox.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <algorithm>
#include <functional>

#include "FormEvents.h"
#include "TextBoxes.h"

namespace {
// The box's text part: reports a double click after it has made its own selection, so the
// window's handler has the last word. While it handles a key or the loss of the focus it
// says so: Qt's combo box then picks the list entry equal to the typed text (on Enter, or
// when the learner moves on) and announces it as activated, which is no pick from the list.
class ComboEdit : public LineBox {
public:
    using LineBox::LineBox;
    std::function<void()> DoubleClicked;
    bool Finishing{false};

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        LineBox::mouseDoubleClickEvent(e);
        if (DoubleClicked)
            DoubleClicked();
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        const QScopedValueRollback finishing(Finishing, true);
        LineBox::keyPressEvent(e);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        const QScopedValueRollback finishing(Finishing, true);
        LineBox::focusOutEvent(e);
    }
};
} // namespace

ComboBox::ComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    auto* edit = new ComboEdit(this);
    edit->DoubleClicked = [this] { emit DblClick(); };
    setLineEdit(edit);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setDuplicatesEnabled(true);
    connect(this, &QComboBox::activated, this, [this, edit] {
        if (!edit->Finishing)
            emit Click();
    });
}

QString ComboBox::Text() const
{
    return currentText();
}

void ComboBox::SetText(const QString& text)
{
    setEditText(text);
}

void ComboBox::AddItem(const QString& text, int index)
{
    // The list's first entry would otherwise become the box's text.
    const QString keep = Text();
    const QSignalBlocker quiet(this);
    insertItem(index < 0 || index > count() ? count() : index, text);
    setCurrentIndex(-1);
    setEditText(keep);
}

QString ComboBox::List(int index) const
{
    return index >= 0 && index < count() ? itemText(index) : QString();
}

int ComboBox::SelStart() const
{
    const QLineEdit* edit = lineEdit();
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int ComboBox::SelLength() const
{
    return int(lineEdit()->selectedText().size());
}

void ComboBox::SetSelStart(int start)
{
    lineEdit()->setCursorPosition(std::clamp(start, 0, int(Text().size())));
}

void ComboBox::SetSelLength(int length)
{
    const int start = SelStart();
    lineEdit()->setSelection(start, std::clamp(length, 0, int(Text().size()) - start));
}

bool ComboBox::SetFocus()
{
    return FormEvents::GiveFocus(this);
}
