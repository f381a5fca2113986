#include "CodeTables.h"

#include <algorithm>
#include <span>

#include "CodeTableData.h"

namespace {
std::span<const CodeTableData::CodePair> ByCode(CodeTable table)
{
    switch (table) {
    case CodeTable::NewWords:
        return CodeTableData::NewWordsByCode;
    case CodeTable::Text:
        return CodeTableData::TextByCode;
    case CodeTable::Spoken:
        break;
    }
    return CodeTableData::SpokenByCode;
}

std::span<const CodeTableData::UnitPair> ByUnit(CodeTable table)
{
    switch (table) {
    case CodeTable::NewWords:
        return CodeTableData::NewWordsByUnit;
    case CodeTable::Text:
        return CodeTableData::TextByUnit;
    case CodeTable::Spoken:
        break;
    }
    return CodeTableData::SpokenByUnit;
}
} // namespace

std::optional<CodeTable> TableForTag(const QString& tag)
{
    if (tag == QLatin1String("RW") || tag == QLatin1String("VO"))
        return CodeTable::NewWords;
    if (tag == QLatin1String("RT") || tag == QLatin1String("RQ"))
        return CodeTable::Text;
    if (tag == QLatin1String("SP"))
        return CodeTable::Spoken;
    return std::nullopt;
}

qint16 DecodeCode(CodeTable table, qint16 code)
{
    const auto pairs = ByCode(table);
    const auto it = std::lower_bound(pairs.begin(), pairs.end(), code,
        [](const CodeTableData::CodePair& p, qint16 c) { return p.code < c; });
    return it != pairs.end() && it->code == code ? it->unit : qint16{0};
}

qint16 EncodeUnit(CodeTable table, char16_t unit)
{
    const auto pairs = ByUnit(table);
    const auto it = std::lower_bound(pairs.begin(), pairs.end(), unit,
        [](const CodeTableData::UnitPair& p, char16_t u) { return p.unit < u; });
    return it != pairs.end() && it->unit == unit ? it->code : qint16{0};
}
