#pragma once
// The editable combo box: a text box with a drop-down list under it. Typing never adds to
// the list and nothing is completed from it: the window alone decides what the list holds.
// Click fires when an entry is picked from the list (the text has become that entry), DblClick
// after a double click in the text box. The text box is a LineBox (TextBoxes.h): a paste
// puts in only the first line of a text, within the box's length.

#include <QComboBox>
#include <QString>

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);

    // AddItem: text into the list at index (0-based; -1 or beyond the end appends). The text
    // in the box stays as it was.
    void AddItem(const QString& text, int index = -1);
    QString List(int index) const;
    int ListCount() const { return count(); }

    // The selection in the text box, 0-based.
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int start);
    void SetSelLength(int length);

    // Gives the box the keyboard focus; false when it cannot take it (hidden or disabled).
    bool SetFocus();

signals:
    void Click();
    void DblClick();
};
