#pragma once
// The three code tables as one family, for the coded-file reader and the encoder: which table
// a tag selects, decoding a code and the inverse look-up the encoder needs.

#include <QString>
#include <QtGlobal>
#include <optional>

enum class CodeTable { NewWords, Text, Spoken };

// "RW" and "VO" select NewWords, "RT" and "RQ" Text, "SP" Spoken (exact, case-sensitive);
// any other tag selects no table.
std::optional<CodeTable> TableForTag(const QString& tag);

// The character unit (signed 16-bit) the table pairs with code, or 0 when it holds none.
qint16 DecodeCode(CodeTable table, qint16 code);
// The whole table as a direct array of 65536 answers, indexed by the code as quint16 (0 where
// the table holds no such code). Built once, on first use.
const qint16* DecodeArray(CodeTable table);

// The code the table pairs with the character unit, or 0 when the table does not hold the
// character (no table uses 0 as a code).
qint16 EncodeUnit(CodeTable table, char16_t unit);
