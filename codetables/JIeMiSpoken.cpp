#include "JIeMiSpoken.h"

#include "CodeTables.h"

qint16 DecodeSpokenCode(const qint16& code) { return DecodeCode(CodeTable::Spoken, code); }
