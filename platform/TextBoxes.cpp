#include "TextBoxes.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextCursor>
#include <algorithm>

std::optional<QString> OfferedText(const QMimeData* offer)
{
    // hasText() asks for the list of formats only: a text is fetched once, and only when
    // there is one.
    if (!offer || !offer->hasText())
        return std::nullopt;
    QString text = offer->text();
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

QString FittingText(const QString& text, qsizetype room, bool oneLine)
{
    qsizetype end = std::clamp<qsizetype>(room, 0, text.size());
    if (oneLine) {
        const auto lineBreak = std::find_if(text.cbegin(), text.cbegin() + end,
            [](QChar c) { return c == QLatin1Char('\n') || c == QLatin1Char('\r'); });
        end = lineBreak - text.cbegin();
    }
    if (end > 0 && end < text.size() && text.at(end - 1).isHighSurrogate() && text.at(end).isLowSurrogate())
        --end;
    return text.left(end);
}

// ---- the one-line box ----

LineBox::LineBox(QWidget* parent)
    : QLineEdit(parent)
{
}

QString LineBox::Fitting(const QString& text) const
{
    return FittingText(text, maxLength() - (this->text().size() - selectedText().size()), true);
}

void LineBox::PasteFrom(QClipboard::Mode mode)
{
    if (isReadOnly())
        return;
    const std::optional<QString> offered = OfferedText(QGuiApplication::clipboard()->mimeData(mode));
    if (!offered)
        return;
    const QString taken = Fitting(*offered);
    if (!taken.isEmpty())
        insert(taken);
}

void LineBox::keyPressEvent(QKeyEvent* e)
{
    if (!e->matches(QKeySequence::Paste)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    // As the line edit itself does: on X11, Ctrl+Shift+Insert pastes the mouse selection.
    const bool selection = QGuiApplication::clipboard()->supportsSelection()
        && e->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && e->key() == Qt::Key_Insert;
    PasteFrom(selection ? QClipboard::Selection : QClipboard::Clipboard);
    e->accept();
}

void LineBox::mouseReleaseEvent(QMouseEvent* e)
{
    // The press has put the caret under the pointer; the mouse selection goes in there.
    if (e->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            deselect();
            PasteFrom(QClipboard::Selection);
        }
        e->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void LineBox::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's Paste, named as the line edit names it, takes what fits instead.
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QLineEdit::tr("&Paste"))) {
            disconnect(action, nullptr, this, nullptr);
            connect(action, &QAction::triggered, this, [this] { PasteFrom(QClipboard::Clipboard); });
            action->setEnabled(!isReadOnly() && OfferedText(QGuiApplication::clipboard()->mimeData()));
        }
    }
    menu->popup(e->globalPos());
}

void LineBox::dropEvent(QDropEvent* e)
{
    // The line edit inserts whatever text a drop carries: it is given what fits instead.
    QMimeData fitting;
    if (const std::optional<QString> offered = OfferedText(e->mimeData())) {
        const QString taken = Fitting(*offered);
        if (!taken.isEmpty())
            fitting.setText(taken);
    }
    QDropEvent drop(e->position(), e->possibleActions(), &fitting, e->buttons(), e->modifiers(), e->type());
    QLineEdit::dropEvent(&drop);
    e->setDropAction(drop.dropAction());
    e->setAccepted(drop.isAccepted());
}

// ---- the multi-line box ----

PlainTextBox::PlainTextBox(QWidget* parent)
    : QPlainTextEdit(parent)
{
}

bool PlainTextBox::canInsertFromMimeData(const QMimeData* source) const
{
    return source && source->hasText();
}

void PlainTextBox::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly())
        return;
    const std::optional<QString> offered = OfferedText(source);
    if (!offered)
        return;
    const QTextCursor at = textCursor();
    const qsizetype kept = document()->characterCount() - 1 - (at.selectionEnd() - at.selectionStart());
    const QString taken = FittingText(*offered, m_maxLength - kept, false);
    if (!taken.isEmpty())
        insertPlainText(taken);
}
