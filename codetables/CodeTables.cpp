#include "CodeTables.h"

#include <algorithm>
#include <array>
#include <memory>
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

const qint16* DecodeArray(CodeTable table)
{
    // One direct array per table, indexed by the code as an unsigned 16-bit value: the reader
    // maps every enciphered record, so the answer must not cost a search.
    using Array = std::array<qint16, 65536>;
    auto build = [](CodeTable t) {
        auto a = std::make_unique<Array>();
        a->fill(0);
        for (const auto& p : ByCode(t))
            (*a)[static_cast<quint16>(p.code)] = p.unit;
        return a;
    };
    static const std::unique_ptr<Array> newWords = build(CodeTable::NewWords);
    static const std::unique_ptr<Array> text = build(CodeTable::Text);
    static const std::unique_ptr<Array> spoken = build(CodeTable::Spoken);
    switch (table) {
    case CodeTable::NewWords:
        return newWords->data();
    case CodeTable::Text:
        return text->data();
    case CodeTable::Spoken:
        break;
    }
    return spoken->data();
}

qint16 DecodeCode(CodeTable table, qint16 code) { return DecodeArray(table)[static_cast<quint16>(code)]; }

qint16 EncodeUnit(CodeTable table, char16_t unit)
{
    const auto pairs = ByUnit(table);
    const auto it = std::lower_bound(pairs.begin(), pairs.end(), unit,
        [](const CodeTableData::UnitPair& p, char16_t u) { return p.unit < u; });
    return it != pairs.end() && it->unit == unit ? it->code : qint16{0};
}
