#pragma once
// The on-line dictionary window. Stands here as an empty window until it is built; the
// reading windows already call its entry point and read its "Automatically" box.

#include <QString>

#include "Form.h"

class DictionaryOnline : public Form {
    Q_OBJECT
public:
    DictionaryOnline();

    // Looks word up. charIndex is the character-table index of its first character (0 or
    // CharacterCount + 1 when there is none); followingText is the caller's text from the
    // selected character on, for widening the query to the longest word found there.
    void Common01(const QString& word, int charIndex, const QString& followingText);
    // Check1, "Automatically": selections in the reading windows are looked up here. Unticked
    // when the window is created.
    bool AutoLookUp() const { return m_autoLookUp; }
    void SetAutoLookUp(bool on) { m_autoLookUp = on; }
    // The query last looked up.
    QString LastQuery;

private:
    bool m_autoLookUp{false};
};
