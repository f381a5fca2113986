#pragma once
// The local dictionary window. Its controls come with the window; the search and the
// selection look-up already run on its rules.

#include <QString>

#include "DictionaryRules.h"
#include "Form.h"

class Dictionary : public Form {
    Q_OBJECT
public:
    Dictionary();

    // The one entry point of the local dictionary: searches word (exact = true only from the
    // vocabulary test). A lesson number query hands the whole number back through word.
    void Common01(QString& word, bool exact);
    // Check2, "Automatically": selections in the reading windows are looked up here. Ticked
    // when the window is created.
    bool AutoLookUp() const { return m_autoLookUp; }

private:
    DictionaryRules m_rules;
    bool m_autoLookUp{true};
};
