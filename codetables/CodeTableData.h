#pragma once
// The generated pairs of the three code tables (CodeTableData.cpp, written by
// tools/gen_codetables.py). Each table is held twice: sorted by code for the reader and sorted
// by character unit for the encoder. Character units of 0x8000 and above are negative here,
// as a signed 16-bit number holds them.

#include <QtGlobal>

namespace CodeTableData {

inline constexpr int kPairCount = 1588;

struct CodePair {
    qint16 code;
    qint16 unit;
};

struct UnitPair {
    char16_t unit;
    qint16 code;
};

extern const CodePair NewWordsByCode[kPairCount];
extern const UnitPair NewWordsByUnit[kPairCount];
extern const CodePair TextByCode[kPairCount];
extern const UnitPair TextByUnit[kPairCount];
extern const CodePair SpokenByCode[kPairCount];
extern const UnitPair SpokenByUnit[kPairCount];

} // namespace CodeTableData
