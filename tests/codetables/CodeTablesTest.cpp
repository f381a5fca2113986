#include <QSet>
#include <gtest/gtest.h>

#include "CodeTableData.h"
#include "CodeTables.h"
#include "JIeMiNewWords.h"
#include "JIeMiSpoken.h"
#include "JIeMiText.h"

namespace {
struct TableCase {
    const char* name;
    CodeTable table;
    const CodeTableData::CodePair* byCode;
    qint16 (*decode)(const qint16&);
};

const TableCase kTables[] = {
    {"NewWords", CodeTable::NewWords, CodeTableData::NewWordsByCode, DecodeNewWordsCode},
    {"Text", CodeTable::Text, CodeTableData::TextByCode, DecodeTextCode},
    {"Spoken", CodeTable::Spoken, CodeTableData::SpokenByCode, DecodeSpokenCode},
};

bool IsSurrogate(qint16 v)
{
    const auto u = static_cast<quint16>(v);
    return u >= 0xD800 && u <= 0xDFFF;
}
} // namespace

TEST(CodeTablesTest, EachTableHoldsDistinctUsableCodesForDistinctChineseCharacters)
{
    for (const TableCase& t : kTables) {
        SCOPED_TRACE(t.name);
        QSet<qint16> codes;
        QSet<qint16> units;
        for (int i = 0; i < CodeTableData::kPairCount; ++i) {
            const auto& p = t.byCode[i];
            codes.insert(p.code);
            units.insert(p.unit);
            EXPECT_FALSE(p.code == 0 || p.code == 10 || p.code == 13 || IsSurrogate(p.code)) << p.code;
            const auto u = static_cast<quint16>(p.unit);
            EXPECT_TRUE(u >= 0x4E00 && u <= 0x9FFF) << u;
        }
        EXPECT_EQ(codes.size(), 1588);
        EXPECT_EQ(units.size(), 1588);
    }
}

TEST(CodeTablesTest, LookUpAgreesWithALinearSearchOverEveryCode)
{
    for (const TableCase& t : kTables) {
        SCOPED_TRACE(t.name);
        int held = 0;
        for (int c = -32768; c <= 32767; ++c) {
            const qint16 code = static_cast<qint16>(c);
            qint16 expected = 0;
            for (int i = 0; i < CodeTableData::kPairCount; ++i)
                if (t.byCode[i].code == code)
                    expected = t.byCode[i].unit;
            const qint16 before = code;
            ASSERT_EQ(t.decode(code), expected) << c;
            ASSERT_EQ(code, before);
            held += expected != 0;
        }
        EXPECT_EQ(held, 1588);
    }
}

TEST(CodeTablesTest, EncodingIsTheInverseOfDecoding)
{
    for (const TableCase& t : kTables) {
        SCOPED_TRACE(t.name);
        for (int i = 0; i < CodeTableData::kPairCount; ++i) {
            const auto& p = t.byCode[i];
            EXPECT_EQ(EncodeUnit(t.table, static_cast<char16_t>(static_cast<quint16>(p.unit))), p.code);
        }
        EXPECT_EQ(EncodeUnit(t.table, u'a'), 0);
        EXPECT_EQ(EncodeUnit(t.table, u'\u3000'), 0);
    }
}

TEST(CodeTablesTest, TablesShareTheCharactersButNotTheCodes)
{
    // 时 (U+65F6) is among the most frequent characters, so every table holds it.
    const qint16 shi = 0x65F6;
    QSet<qint16> codes;
    for (const TableCase& t : kTables) {
        const qint16 code = EncodeUnit(t.table, u'时');
        ASSERT_NE(code, 0) << t.name;
        EXPECT_EQ(t.decode(code), shi);
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), 3);
}

TEST(CodeTablesTest, TagsChooseTables)
{
    struct Case {
        const char* tag;
        std::optional<CodeTable> table;
    };
    const Case cases[] = {{"RW", CodeTable::NewWords}, {"VO", CodeTable::NewWords}, {"RT", CodeTable::Text},
        {"RQ", CodeTable::Text}, {"SP", CodeTable::Spoken}, {"rw", std::nullopt}, {"", std::nullopt},
        {"RW ", std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        EXPECT_EQ(TableForTag(QString::fromLatin1(c.tag)), c.table);
    }
}
