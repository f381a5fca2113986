#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtEndian>
#include <gtest/gtest.h>

#include "AppState.h"
#include "CodeTables.h"
#include "CodedFixture.h"
#include "CodedFile.h"
#include "TestSupport.h"
#include "VmqEncoder.h"

namespace {
const char* const kTags[] = {"RW", "VO", "RT", "RQ", "SP"};

// A text mixing what course files hold: characters the tables hold and characters they do
// not, pinyin with tone marks, English, blanks, full-width marks, empty lines, units of
// 0x8000 and up, and a character outside the basic plane.
QStringList SampleText(quint32 seed)
{
    static const QString pieces[] = {u"你好"_qs, u"时间"_qs, u"龘"_qs, u"n.i3 h.ao3"_qs, u"nǐ hǎo"_qs, u"lǜ"_qs,
        u"Hello, world!"_qs, u"   "_qs, u"，。！？"_qs, u"\u3000"_qs, u"\uFFFD"_qs, u"\U00020000"_qs, u"#"_qs,
        u"ちゃ"_qs, u"\t"_qs};
    QRandomGenerator rng(seed);
    QStringList lines;
    const int count = rng.bounded(0, 12);
    for (int i = 0; i < count; ++i) {
        QString line;
        const int n = rng.bounded(0, 6);
        for (int k = 0; k < n; ++k)
            line += pieces[rng.bounded(int(std::size(pieces)))];
        lines.append(line);
    }
    return lines;
}

struct Record {
    qint16 kind;
    int code;
};

QList<Record> Records(const QByteArray& data)
{
    QList<Record> out;
    for (qsizetype i = 0; i + 6 <= data.size(); i += 6) {
        const char* p = data.constData() + i;
        out.append({qFromLittleEndian<qint16>(p), qFromLittleEndian<qint16>(p + 2) + qFromLittleEndian<qint16>(p + 4)});
    }
    return out;
}

class VmqEncoderTest : public AppFixture {
protected:
    QStringList RoundTrip(const QStringList& lines, const QString& tag, const Vmq::EncodeOptions& options = {})
    {
        const auto coded = Vmq::EncodeLines(lines, tag, options);
        EXPECT_TRUE(coded.has_value());
        WriteFile(QStringLiteral("file.vmq"), coded.value_or(QByteArray()));
        ReadCodedLines(Path(QStringLiteral("file.vmq")), tag, 0);
        return State().LineBuffer;
    }
};
} // namespace

TEST_F(VmqEncoderTest, EveryTextReadsBackWithEveryTag)
{
    for (const char* tag : kTags) {
        for (quint32 seed = 1; seed <= 40; ++seed) {
            SCOPED_TRACE(testing::Message() << tag << " text " << seed);
            const QStringList text = SampleText(seed);
            Vmq::EncodeOptions options;
            options.seed = seed;
            options.crlf = seed % 2 == 0;
            EXPECT_EQ(RoundTrip(text, QString::fromLatin1(tag), options), text);
        }
    }
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(VmqEncoderTest, TableCharactersAreEncipheredAndNoCodeIsZero)
{
    const QStringList text{u"你好 a"_qs, u""_qs, u"时"_qs};
    for (const char* tag : kTags) {
        SCOPED_TRACE(tag);
        Vmq::EncodeOptions options;
        options.crlf = true;
        const QList<Record> records = Records(*Vmq::EncodeLines(text, QString::fromLatin1(tag), options));
        // 你 好 blank a 13 10 | 13 10 | 时 13 10
        ASSERT_EQ(records.size(), 11);
        const bool enciphered[] = {true, true, false, false, false, false, false, false, true, false, false};
        for (int i = 0; i < records.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(records[i].kind < 0, enciphered[i]);
            EXPECT_GE(records[i].code, -32768);
            EXPECT_LE(records[i].code, 32767);
            EXPECT_NE(records[i].code, 0);
        }
        EXPECT_EQ(records[4].code, 13);
        EXPECT_EQ(records[5].code, 10);
    }
}

TEST_F(VmqEncoderTest, OutputDependsOnlyOnTextAndSeed)
{
    const QStringList text{u"我们学习中文"_qs, u"w.o3 m.en0"_qs};
    Vmq::EncodeOptions a;
    a.seed = 7;
    Vmq::EncodeOptions b;
    b.seed = 8;
    EXPECT_EQ(Vmq::EncodeLines(text, "RT", a), Vmq::EncodeLines(text, "RT", a));
    EXPECT_NE(Vmq::EncodeLines(text, "RT", a), Vmq::EncodeLines(text, "RT", b));
    EXPECT_EQ(RoundTrip(text, "RT", b), text);
}

TEST_F(VmqEncoderTest, RefusesWhatACodedFileCannotCarry)
{
    struct Case {
        const char* name;
        QStringList lines;
        const char* tag;
    };
    const Case cases[] = {{"NUL", {QString(QChar(0))}, "RW"}, {"CR", {"a\rb"}, "RW"}, {"LF", {"a\nb"}, "RW"},
        {"unknown tag", {"a"}, "XY"}, {"lower-case tag", {"a"}, "rw"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(Vmq::EncodeLines(c.lines, QString::fromLatin1(c.tag), {}, &error).has_value());
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST_F(VmqEncoderTest, TextSourcesSplitIntoLines)
{
    struct Case {
        const char* name;
        QByteArray utf8;
        QStringList lines;
    };
    const Case cases[] = {{"empty", "", {}}, {"final break", "a\nb\n", {"a", "b"}}, {"no final break", "a\nb", {"a", "b"}},
        {"crlf", "a\r\n\r\nb\r\n", {"a", "", "b"}}, {"bom", "\xEF\xBB\xBF\xE4\xBD\xA0\n", {u"你"_qs}},
        {"blank lines kept", "\n\n", {"", ""}}, {"inner blanks kept", "  x  \n", {"  x  "}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Vmq::SplitTextSource(c.utf8), c.lines);
    }
    QString error;
    EXPECT_FALSE(Vmq::SplitTextSource("\xFF\xFE", &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(VmqEncoderTest, TagsFollowTheCourseFilePaths)
{
    struct Case {
        const char* path;
        const char* tag;
    };
    const Case cases[] = {
        {"content/Lessons/Script/Lesson_1/icwp.txt", "RW"},
        {"/x/Velmora/Lessons/Script/Lesson_91/lifr.vmq", "RT"},
        {"Lessons\\Script\\Lesson_12\\icwp.vmq", "RW"},
        {"Vocabulary/ci147.txt", "VO"},
        {"Vocabulary/zi99.txt", "RW"},
        {"Spoken/Script_3.txt", "SP"},
        {"Spoken/Script12.txt", "SP"},
        {"Spoken/Script.txt", "SP"},
        {"Lessons/Script/Lesson_1/notes.txt", ""},
        {"Lessons/Script/Lesson_x/icwp.txt", ""},
        {"Vocabulary/cidian.txt", ""},
        {"vocabulary/ci1.txt", ""},
        {"LICENSES/Unihan.txt", ""},
        {"Spoken/Sound/Script1.txt", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Vmq::TagForPath(QString::fromLatin1(c.path)), QString::fromLatin1(c.tag));
    }
}

TEST_F(VmqEncoderTest, CommandLineEncodesByPathAndReportsBadInput)
{
    WriteFile("in.txt", "d.i4 y.i1\n#第一课\nLesson 1\n");
    QProcess pack;
    pack.start(QStringLiteral(VMQPACK_PATH), {Path("in.txt"), Path("Lessons/Script/Lesson_1/lifr.vmq")});
    ASSERT_TRUE(pack.waitForFinished(30000));
    EXPECT_EQ(pack.exitCode(), 0) << pack.readAllStandardError().toStdString();
    ReadCodedLines(Path("Lessons/Script/Lesson_1/lifr.vmq"), "RT", 0);
    EXPECT_EQ(State().LineBuffer, (QStringList{"d.i4 y.i1", u"#第一课"_qs, "Lesson 1"}));

    struct Case {
        const char* name;
        QStringList args;
    };
    WriteFile("bad.txt", "\xC0\x80\n");
    const Case failures[] = {
        {"no tag for the path", {Path("in.txt"), Path("out.vmq")}},
        {"missing input", {Path("none.txt"), Path("Spoken/Script.vmq")}},
        {"invalid UTF-8", {Path("bad.txt"), Path("Spoken/Script.vmq")}},
        {"unknown tag", {"--tag", "ZZ", Path("in.txt"), Path("out.vmq")}},
        {"one file only", {Path("in.txt")}},
    };
    for (const Case& c : failures) {
        SCOPED_TRACE(c.name);
        pack.start(QStringLiteral(VMQPACK_PATH), c.args);
        ASSERT_TRUE(pack.waitForFinished(30000));
        EXPECT_NE(pack.exitCode(), 0);
        EXPECT_FALSE(pack.readAllStandardError().isEmpty());
    }
    EXPECT_FALSE(QFile::exists(Path("out.vmq")));
}

TEST_F(VmqEncoderTest, TheBuiltDataTreeHoldsTheCourseSources)
{
    // Every course source under content/ was encoded by the build; it reads back as written.
    const QString tree = QStringLiteral(VELMORA_TREE_DIR);
    const QString relative = QStringLiteral("Lessons/Script/Lesson_1/icwp");
    QFile source(QStringLiteral(VELMORA_SOURCE_DIR "/content/") + relative + ".txt");
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const auto lines = Vmq::SplitTextSource(source.readAll());
    ASSERT_TRUE(lines.has_value());
    ReadCodedLines(tree + '/' + relative + ".vmq", "RW", 0);
    EXPECT_EQ(State().LineBuffer, *lines);
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(VmqEncoderTest, FixtureFilesFollowTheirPaths)
{
    const QStringList words{"n.i3", u"你"_qs, "you"};
    struct Case {
        const char* relative;
        const char* tag;
    };
    const Case cases[] = {{"Lessons\\Script\\Lesson_2\\icwp.vmq", "RW"}, {"Lessons/Script/Lesson_2/lifr.vmq", "RT"},
        {"Vocabulary/ci3.vmq", "VO"}, {"Vocabulary/zi4.vmq", "RW"}, {"Spoken/Script_1.vmq", "SP"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.relative);
        WriteCodedFile(State().AppPath + QString::fromLatin1(c.relative), words);
        ReadCodedLines(Path(QString::fromLatin1(c.relative)), QString::fromLatin1(c.tag), 0);
        EXPECT_EQ(State().LineBuffer, words);
    }
}
