#pragma once
// The new-words review's list, counter and buttons, without the window.

#include <QString>
#include <QStringList>

// The word list: "1. " + the first word's Chinese, "2. " + ...
QStringList ReviewListItems(const QStringList& chinese, int count);

// The counter: "0 / n " before any word is shown (with its blank), "k / n" afterwards.
QString ReviewCounterAtLoad(int count);
QString ReviewCounter(int current, int count);

// "<<" and ">>" on word current (1-based) of count words; both off for a single word and for
// an empty list.
struct ReviewButtons {
    bool Previous{false};
    bool Next{false};
    bool operator==(const ReviewButtons&) const = default;
};
ReviewButtons ReviewButtonsAt(int current, int count);
