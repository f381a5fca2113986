#pragma once
// Code table of the coded course files read with the tag "SP".

#include <QtGlobal>

// The character unit paired with code (as a signed 16-bit number), or 0 when the table holds
// no such code. Constant data: no state, no allocation, the code is left unchanged.
qint16 DecodeSpokenCode(const qint16& code);
