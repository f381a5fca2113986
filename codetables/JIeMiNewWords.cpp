#include "JIeMiNewWords.h"

#include "CodeTables.h"

qint16 DecodeNewWordsCode(const qint16& code) { return DecodeCode(CodeTable::NewWords, code); }
