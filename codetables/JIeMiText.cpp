#include "JIeMiText.h"

#include "CodeTables.h"

qint16 DecodeTextCode(const qint16& code) { return DecodeCode(CodeTable::Text, code); }
