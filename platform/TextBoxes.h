#pragma once
// The plain text boxes: LineBox, the one-line box (the kit's text box, the combo box's text
// part), and PlainTextBox, the multi-line one. Both take from a paste (Ctrl+V, Shift+Insert,
// the context menu), from the mouse selection (a middle click, Ctrl+Shift+Insert) and from a
// drop only what they can hold:
// - nothing at all, the text and its selection as they were, when no text is offered: a
//   clipboard that no program owns (a fresh session, or the program that copied has ended),
//   one offering nothing or a picture only. Qt 6.4's text edits read the first format of the
//   offer without checking there is one, and end the program on such a paste.
// - of a text, what fits within the box's length (the text it keeps is never longer, however
//   much is offered), and in a one-line box only its first line: a line break in a name or a
//   search would be saved or sent as two lines.

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <optional>

class QMimeData;

// The plain text offered; nothing when none is, or when it is empty.
std::optional<QString> OfferedText(const QMimeData* offer);
// What a box with room for `room` more characters takes of text: its start, never ending
// between the two halves of a character beyond U+FFFF; of a one-line box, only what comes
// before the first line break.
QString FittingText(const QString& text, qsizetype room, bool oneLine);

class LineBox : public QLineEdit {
    Q_OBJECT
public:
    explicit LineBox(QWidget* parent = nullptr);
    // Takes what fits of the clipboard's (or the mouse selection's) text at the caret, over
    // the selection, as the paste keys do.
    void PasteFrom(QClipboard::Mode mode = QClipboard::Clipboard);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // What fits of text over the selection.
    QString Fitting(const QString& text) const;
};

class PlainTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PlainTextBox(QWidget* parent = nullptr);
    // The most characters a paste or a drop fills the box to (line breaks count one each).
    // A text set by the program, or typed, may be longer. A paragraph is laid out whole at
    // every key: at this length a key still takes a few tens of milliseconds.
    static constexpr int DefaultMaxLength = 32767;
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length) { m_maxLength = length; }

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    int m_maxLength{DefaultMaxLength};
};
