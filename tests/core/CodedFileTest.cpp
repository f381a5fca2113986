#include <QDir>
#include <QFile>
#include <QSet>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>
#include <initializer_list>

#include "AppState.h"
#include "CodeTables.h"
#include "CodedFile.h"
#include "TestSupport.h"

namespace {
// Hand-made records, so the reader is tested against the format itself and not the encoder.
QByteArray Records(std::initializer_list<CodedRecord> records)
{
    QByteArray out;
    for (const CodedRecord& r : records) {
        char bytes[6];
        qToLittleEndian<qint16>(r.Kind, bytes);
        qToLittleEndian<qint16>(r.PartA, bytes + 2);
        qToLittleEndian<qint16>(r.PartB, bytes + 4);
        out.append(bytes, 6);
    }
    return out;
}

CodedRecord Plain(int code) { return {0, static_cast<qint16>(code - 7), 7}; }
CodedRecord Mapped(qint16 code) { return {-1, static_cast<qint16>(code / 2), static_cast<qint16>(code - code / 2)}; }

class CodedFileTest : public AppFixture {
protected:
    QStringList Read(const QByteArray& data, const QString& tag = QStringLiteral("RW"), qint16 stopAt = 0)
    {
        WriteFile(QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq"), data);
        ReadCodedLines(Path(QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq")), tag, stopAt);
        EXPECT_EQ(State().LineCount, State().LineBuffer.size());
        return State().LineBuffer;
    }
};
} // namespace

TEST_F(CodedFileTest, ShortFilesGiveNoLinesAndNoMessage)
{
    for (int size = 0; size <= 5; ++size) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(Read(QByteArray(size, 'x')).isEmpty());
    }
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(CodedFileTest, LinesEndAtTenCarriageReturnsVanishAndTrailingBytesAreIgnored)
{
    struct Case {
        const char* name;
        QByteArray data;
        QStringList lines;
    };
    const Case cases[] = {
        {"seven records", Records({Plain('a'), Plain('b'), Plain(10), Plain('c'), Plain(13), Plain(10), Plain('d')}),
            {"ab", "c", "d"}},
        {"two tens make an empty line", Records({Plain('a'), Plain(10), Plain(10), Plain('b'), Plain(10)}),
            {"a", "", "b"}},
        {"final ten adds no line", Records({Plain('a'), Plain(10)}), {"a"}},
        {"lone ten", Records({Plain(10)}), {""}},
        {"thirteen inside a line", Records({Plain('a'), Plain(13), Plain('b')}), {"ab"}},
        {"trailing bytes", Records({Plain('a'), Plain(10), Plain('b')}) + QByteArray(5, '\x7f'), {"a", "b"}},
        {"negative unit", Records({Plain(-13647)}), {QString(QChar(0xCAB1))}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(c.data), c.lines);
    }
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(CodedFileTest, TagsSelectTheirTables)
{
    const char16_t ni = u'你';
    struct Case {
        const char* tag;
        CodeTable table;
    };
    const Case cases[] = {{"RW", CodeTable::NewWords}, {"VO", CodeTable::NewWords}, {"RT", CodeTable::Text},
        {"RQ", CodeTable::Text}, {"SP", CodeTable::Spoken}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        const qint16 code = EncodeUnit(c.table, ni);
        ASSERT_NE(code, 0);
        EXPECT_EQ(Read(Records({Mapped(code), Plain('!')}), QString::fromLatin1(c.tag)), QStringList{u"你!"_qs});
    }
}

TEST_F(CodedFileTest, MissesAndCodeZeroBecomeRunsOfBlanks)
{
    // A code no table holds (codes are never 0), a zero code, and a mapped record under an
    // unknown tag each give 0 to 99 blanks; a line of blanks alone is kept.
    const qint16 unheld = [] {
        for (int c = 1; c < 32767; ++c)
            if (DecodeCode(CodeTable::NewWords, static_cast<qint16>(c)) == 0)
                return static_cast<qint16>(c);
        return qint16{0};
    }();
    const QRegularExpression blanksThenX(QStringLiteral("^ {0,99}x$"));
    struct Case {
        const char* name;
        CodedRecord record;
        const char* tag;
    };
    const Case cases[] = {{"table miss", Mapped(unheld), "RW"}, {"plain zero", Plain(0), "RT"},
        {"unknown tag", Mapped(EncodeUnit(CodeTable::NewWords, u'你')), "XX"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList lines = Read(Records({c.record, Plain('x'), Plain(10), c.record, Plain(10)}),
            QString::fromLatin1(c.tag));
        ASSERT_EQ(lines.size(), 2);
        EXPECT_TRUE(blanksThenX.match(lines[0]).hasMatch()) << lines[0].toStdString();
        EXPECT_EQ(lines[1].count(QLatin1Char(' ')), lines[1].size());
        EXPECT_LE(lines[1].size(), 99);
    }
}

TEST_F(CodedFileTest, StopAtEndsAfterThatManyLines)
{
    const QByteArray data = Records({Plain('a'), Plain(10), Plain('b'), Plain(10), Plain('c'), Plain(10)});
    struct Case {
        qint16 stopAt;
        QStringList lines;
    };
    const Case cases[] = {{0, {"a", "b", "c"}}, {-3, {"a", "b", "c"}}, {1, {"a"}}, {2, {"a", "b"}}, {9, {"a", "b", "c"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stopAt);
        EXPECT_EQ(Read(data, QStringLiteral("RW"), c.stopAt), c.lines);
    }
}

TEST_F(CodedFileTest, OverflowingRecordMakesTheFileCorrupted)
{
    const CodedRecord overflow{0, 30000, 30000};
    EXPECT_TRUE(Read(Records({Plain('a'), Plain(10), overflow, Plain('b')})).isEmpty());
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].text,
        QStringLiteral("The file ") + Path(QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq")) + " is corrupted!");

    // Reading stops before the damaged record when the caller asked for one line only.
    m_boxes->Clear();
    EXPECT_EQ(Read(Records({Plain('a'), Plain(10), overflow}), QStringLiteral("RW"), 1), QStringList{"a"});
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(CodedFileTest, UnreadableFileIsReportedAndLeavesNoEarlierLines)
{
    EXPECT_EQ(Read(Records({Plain('a'), Plain(10)})), QStringList{"a"});
    const QString folder = Path(QStringLiteral("Vocabulary"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString missing = State().AppPath + QStringLiteral("Nowhere\\ci1.vmq");
    for (const QString& path : {folder, missing}) {
        SCOPED_TRACE(path.toStdString());
        m_boxes->Clear();
        ReadCodedLines(path, QStringLiteral("VO"), 0);
        EXPECT_EQ(State().LineCount, 0);
        EXPECT_TRUE(State().LineBuffer.isEmpty());
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes()[0].text, QStringLiteral("The file ") + path + " is corrupted!");
        EXPECT_EQ(m_boxes->Boxes()[0].title, "Warning");
        EXPECT_EQ(m_boxes->Boxes()[0].icon, MsgBox::Exclamation);
    }
}

TEST_F(CodedFileTest, BackslashPathsAreRead)
{
    WriteFile(QStringLiteral("Spoken/Script.vmq"), Records({Plain('o'), Plain('k')}));
    ReadCodedLines(State().AppPath + QStringLiteral("Spoken\\Script.vmq"), QStringLiteral("SP"), 0);
    EXPECT_EQ(State().LineBuffer, QStringList{"ok"});
}

TEST_F(CodedFileTest, LinesBeyondTheSixteenBitCountAreIgnored)
{
    QByteArray data;
    const QByteArray line = Records({Plain('z'), Plain(10)});
    for (int i = 0; i < kMaxCodedLines + 2; ++i)
        data += line;
    const QStringList lines = Read(data);
    EXPECT_EQ(lines.size(), kMaxCodedLines);
    EXPECT_EQ(State().LineCount, 32767);
}

// The start-up loading reads through ReadCodedText, one CodedText for many files: what it sees
// must be what ReadCodedLines gives, with nothing left over from a longer earlier file.
TEST_F(CodedFileTest, CodedTextGivesTheLinesOfEachFileInTurn)
{
    const auto linesOf = [](const CodedText& text) {
        QStringList lines;
        for (qsizetype i = 0; i < text.LineCount(); ++i)
            lines << text.Line(i).toString();
        return lines;
    };
    const QByteArray files[] = {
        Records({Plain('l'), Plain('o'), Plain('n'), Plain('g'), Plain(10), Plain(10), Plain('x'), Plain(10), Plain('t')}),
        Records({Plain('a'), Plain(10), Plain(0), Plain('b')}),
        Records({Plain('c')}),
        Records({}),
    };
    CodedText text;
    for (const QByteArray& data : files) {
        SCOPED_TRACE(data.size());
        const QStringList expected = Read(data);
        State().LineBuffer = QStringList{"stale"};
        ASSERT_TRUE(ReadCodedText(Path(QStringLiteral("Lessons/Script/Lesson_1/icwp.vmq")), QStringLiteral("RW"), 0, text));
        const QStringList lines = linesOf(text);
        // Runs of blanks are drawn anew on every reading: the text around them is compared.
        EXPECT_EQ(QStringList(lines).replaceInStrings(QStringLiteral(" "), QString()),
            QStringList(expected).replaceInStrings(QStringLiteral(" "), QString()));
        EXPECT_TRUE(State().LineBuffer.isEmpty());
        EXPECT_EQ(State().LineCount, lines.size());
    }
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(CodedFileTest, CodedTextSkipsMissingFilesAndReportsDamagedOnes)
{
    CodedText text;
    State().LineBuffer = QStringList{"kept"};
    State().LineCount = 1;
    EXPECT_FALSE(ReadCodedText(Path(QStringLiteral("Vocabulary/ci1.vmq")), QStringLiteral("VO"), 0, text));
    EXPECT_EQ(State().LineBuffer, QStringList{"kept"});
    EXPECT_EQ(State().LineCount, 1);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());

    WriteFile(QStringLiteral("Vocabulary/ci1.vmq"), Records({Plain('a'), Plain(10), {0, 30000, 30000}}));
    EXPECT_TRUE(ReadCodedText(Path(QStringLiteral("Vocabulary/ci1.vmq")), QStringLiteral("VO"), 0, text));
    EXPECT_EQ(text.LineCount(), 0);
    EXPECT_EQ(State().LineCount, 0);
    EXPECT_TRUE(State().LineBuffer.isEmpty());
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].text,
        QStringLiteral("The file ") + Path(QStringLiteral("Vocabulary/ci1.vmq")) + " is corrupted!");
}

// --- large files: what is kept, and how much of the file is read -------------------------

namespace {
QByteArray Repeated(const QByteArray& records, qsizetype times)
{
    QByteArray out;
    out.reserve(records.size() * times);
    for (qsizetype i = 0; i < times; ++i)
        out += records;
    return out;
}
} // namespace

TEST_F(CodedFileTest, ALargeFileOfZeroRecordsKeepsOneBoundedLine)
{
    // 4 MB of code 0: some 35 million blanks if every run were kept.
    const QByteArray data = Repeated(Records({Plain(0)}), 700000);
    WriteFile(QStringLiteral("Vocabulary/ci1.vmq"), data);
    CodedText text;
    ASSERT_TRUE(ReadCodedText(Path(QStringLiteral("Vocabulary/ci1.vmq")), QStringLiteral("VO"), 0, text));
    ASSERT_EQ(text.LineCount(), 1);
    EXPECT_EQ(text.Line(0).size(), kMaxCodedLineLength);
    EXPECT_EQ(text.Line(0).count(QLatin1Char(' ')), kMaxCodedLineLength);
    EXPECT_EQ(text.BytesRead(), data.size()) << "a line without its end is looked for to the end of the file";
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

// A file beyond the bound (here sparse: all records zero) is no course file: it is reported as a
// broken one, unread, and the next start reads the good file put in its place.
TEST_F(CodedFileTest, AFileBeyondTheBoundIsReportedUnread)
{
    const QString path = Path(QStringLiteral("Vocabulary/ci1.vmq"));
    WriteFile(QStringLiteral("Vocabulary/ci1.vmq"), Records({Plain('a'), Plain(10)}));
    QFile sparse(path);
    ASSERT_TRUE(sparse.resize(kMaxCodedFileBytes + kCodedRecordSize));
    CodedText text;
    ASSERT_TRUE(ReadCodedText(path, QStringLiteral("VO"), 0, text));
    EXPECT_EQ(text.LineCount(), 0);
    EXPECT_EQ(text.BytesRead(), 0);
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes()[0].text, QStringLiteral("The file ") + path + " is corrupted!");

    ASSERT_TRUE(sparse.resize(kCodedRecordSize * 2));
    ASSERT_TRUE(ReadCodedText(path, QStringLiteral("VO"), 0, text));
    ASSERT_EQ(text.LineCount(), 1);
    EXPECT_EQ(text.Line(0), QStringLiteral("a"));
    EXPECT_EQ(m_boxes->Boxes().size(), 1);
}

TEST_F(CodedFileTest, AFullLineDropsWhatComesUntilItsEnd)
{
    const QByteArray longLine = Repeated(Records({Plain('x')}), kMaxCodedLineLength + 10);
    const QStringList lines = Read(longLine + Records({Plain('y'), Plain(10), Plain('z')}));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString(kMaxCodedLineLength, QLatin1Char('x')));
    EXPECT_EQ(lines[1], QStringLiteral("z"));
}

TEST_F(CodedFileTest, ReadingEndsWithTheLastLineWanted)
{
    // The lines wanted, then 12 MB the reader must not take in.
    const QByteArray line = Records({Plain('a'), Plain(0), Plain(13), Plain(10)});
    const QByteArray rest = Repeated(Records({Plain('b'), Plain(10)}), 1000000);
    struct Case {
        const char* name;
        qint16 stopAt;
        qsizetype lines;
    };
    const Case cases[] = {{"whole file: up to the line limit", 0, kMaxCodedLines}, {"one line asked for", 1, 1},
        {"some lines asked for", 500, 500}};
    const QByteArray data = Repeated(line, kMaxCodedLines) + rest;
    WriteFile(QStringLiteral("Spoken/Script.vmq"), data);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CodedText text;
        ASSERT_TRUE(ReadCodedText(Path(QStringLiteral("Spoken/Script.vmq")), QStringLiteral("SP"), c.stopAt, text));
        EXPECT_EQ(text.LineCount(), c.lines);
        EXPECT_EQ(State().LineCount, c.lines);
        EXPECT_TRUE(text.Line(c.lines - 1).startsWith(QLatin1Char('a')));
        EXPECT_GE(text.BytesRead(), c.lines * line.size());
        EXPECT_LE(text.BytesRead(), c.lines * line.size() + kCodedReadBlock);
    }
}

// Lines and records that straddle the reader's blocks come out as from one piece of data.
TEST_F(CodedFileTest, BlockByBlockReadingMatchesDecodingTheWholeFile)
{
    QByteArray data;
    for (int i = 0; data.size() < 3 * kCodedReadBlock; ++i) {
        const QByteArray word = Records({Plain('a' + i % 26), Plain(u'中'), Plain(-13647)});
        data += Repeated(word, i % 7) + Records({i % 3 == 0 ? Plain(13) : Plain('.'), Plain(10)});
    }
    for (const qsizetype tail : {0, 3, 5}) {
        SCOPED_TRACE(tail);
        const QByteArray file = data + QByteArray(tail, '\x01');
        CodedText whole;
        ASSERT_TRUE(DecodeCodedRecords(file, QStringLiteral("RT"), 0, whole));
        const QStringList lines = Read(file, QStringLiteral("RT"));
        ASSERT_EQ(lines.size(), whole.LineCount());
        for (qsizetype i = 0; i < lines.size(); ++i)
            ASSERT_EQ(lines[i], whole.Line(i).toString()) << "line " << i;
    }
}

TEST_F(CodedFileTest, BlankRunsStayBetweenNoneAndNinetyNineAndVary)
{
    const QStringList lines = Read(Repeated(Records({Plain(0), Plain('|'), Plain(10)}), 2000));
    ASSERT_EQ(lines.size(), 2000);
    QSet<qsizetype> lengths;
    for (const QString& l : lines) {
        ASSERT_TRUE(l.endsWith(QLatin1Char('|')));
        ASSERT_LE(l.size() - 1, 99);
        lengths.insert(l.size() - 1);
    }
    EXPECT_GT(lengths.size(), 50) << "runs drawn from one seeding still vary";
}
