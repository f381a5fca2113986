#pragma once
// Where a word of the lesson's word list stands in the lesson text, without a window: the
// words of the list are looked for one after another, each from where the previous one was
// found, so a word that occurs several times is found where the lesson first uses it after the
// words before it.

#include <QString>
#include <QStringList>

// The text searched for a list word: without its bracketed notes; a word written in two parts
// joined by a dot gives its first part only, any other word loses its dots.
QString WordSearchText(const QString& word);

struct WordFindResult {
    bool Found{false};
    int Start{0}; // 0-based selection start in the text
    int Length{0};
    bool operator==(const WordFindResult&) const = default;
};

// Row (1-based) of words, searched in text row by row from the first; when the row's own search
// fails, its first occurrence anywhere in text. Not found at all: Found false (the selection
// stays as it is). An empty search text is never found.
WordFindResult FindListWord(const QString& text, const QStringList& words, int row);
