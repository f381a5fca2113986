#pragma once
// Code table of the coded course files read with the tags "RT" and "RQ".

#include <QtGlobal>

// The character unit paired with code (as a signed 16-bit number), or 0 when the table holds
// no such code. Constant data: no state, no allocation, the code is left unchanged.
qint16 DecodeTextCode(const qint16& code);
