#pragma once
// The related-expressions list beside the typing task, as the typing task fills it. The list
// window implements this and sets itself in RelatedExpressionsHook() while it is loaded
// (Set in Form_Load, Clear in Form_Unload); the typing task fills it through the hook, so a
// list that is not loaded is simply not filled.

#include <QString>

#include "WindowHook.h"

class RelatedExpressionsFill {
public:
    // Lists the vocabulary entries whose Chinese contains word (at most ten, in vocabulary
    // order); showPinyin False leaves the pinyin column empty, as the typing task asks.
    virtual void Common03(QString& word, bool showPinyin) = 0;

protected:
    ~RelatedExpressionsFill() = default;
};

WindowHook<RelatedExpressionsFill>& RelatedExpressionsHook();
