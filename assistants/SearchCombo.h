#pragma once
// The keyword box of the sentence and dialogue tools: an editable combo box whose list is the
// search history, and which selects its whole text when it takes the focus, so that typing
// replaces a failed search's "Sorry" text.

#include <QFocusEvent>
#include <QLineEdit>

#include "ComboBox.h"

class SearchCombo : public ComboBox {
public:
    using ComboBox::ComboBox;

protected:
    void focusInEvent(QFocusEvent* e) override
    {
        ComboBox::focusInEvent(e);
        if (lineEdit())
            lineEdit()->selectAll();
    }
};
