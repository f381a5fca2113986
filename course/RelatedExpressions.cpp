#include "RelatedExpressions.h"

WindowHook<RelatedExpressionsFill>& RelatedExpressionsHook()
{
    static WindowHook<RelatedExpressionsFill> hook;
    return hook;
}
