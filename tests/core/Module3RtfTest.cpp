// Exact bytes of the rich-text builders: windows search, cache and compare what the boxes
// show, so every blank and control word counts.

#include <gtest/gtest.h>

#include "Module3Rtf.h"
#include "TestSupport.h"

namespace {

const QString RomanSongHead = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fmodern\\fprq6\\fcharset0 Times New Roman;}"
    "{\\f1\\fmodern\\fprq6\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}{\\colortbl ;\\red0\\green0\\blue0;}\\viewkind4\\uc1\\pard\\cf1\\lang2052");

const QString EntryHead = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052"
    "{\\fonttbl{\\f0\\fnil\\fprq2\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}{\\f1\\fmodern\\fprq6\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
    "{\\f2\\fswiss\\fprq2\\fcharset0 Microsoft Sans Serif;}}"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue0;\\red64\\green64\\blue64;\\red0\\green0\\blue255;}");

struct EncodeCase {
    const char* name;
    QString text;
    int mode;
    QString expected;
};

TEST(RtfEncodeText, WritesTheWorkedExamplesAndEdgeCases)
{
    const EncodeCase cases[] = {
        {"worked example, mode 0", QStringLiteral("中文 ab 12"), 0, QStringLiteral("\\'D6\\'D0\\'CE\\'C4 ab 12")},
        {"worked example, mode 1", QStringLiteral("中文 ab 12"), 1, QStringLiteral("\\f1\\'D6\\'D0\\f0\\f1\\'CE\\'C4\\f0  ab 12")},
        {"worked example, mode 2", QStringLiteral("中文 ab 12"), 2, QStringLiteral("\\f1\\'D6\\'D0\\f2\\f1\\'CE\\'C4\\f2  ab 12")},
        {"leading digit", QStringLiteral("1.好"), 0, QStringLiteral(" 1.\\'BA\\'C3")},
        {"leading digits, later digits", QStringLiteral("12a12"), 0, QStringLiteral(" 12a12")},
        {"leading digit, mode 1", QStringLiteral("3x"), 1, QStringLiteral(" 3x")},
        {"leading blank, mode 0", QStringLiteral(" a"), 0, QStringLiteral(" a")},
        {"leading blank, mode 1", QStringLiteral(" a"), 1, QStringLiteral(" a")},
        {"leading blank, mode 2", QStringLiteral(" 中"), 2, QStringLiteral(" \\f1\\'D6\\'D0\\f2")},
        {"blank after a letter, mode 1", QStringLiteral("a b"), 1, QStringLiteral("a b")},
        {"blank after Chinese, mode 0", QStringLiteral("中 a"), 0, QStringLiteral("\\'D6\\'D0 a")},
        {"two blanks after Chinese, mode 1", QStringLiteral("中  a"), 1, QStringLiteral("\\f1\\'D6\\'D0\\f0   a")},
        {"two blanks after Chinese, mode 2", QStringLiteral("中  a"), 2, QStringLiteral("\\f1\\'D6\\'D0\\f2   a")},
        {"ideographic space, mode 0", QStringLiteral("a\u3000b"), 0, QStringLiteral("a\\'A1\\'A1b")},
        {"ideographic space, mode 1", QStringLiteral("\u3000 "), 1, QStringLiteral("\\f1\\'A1\\'A1\\f0  ")},
        {"tone-marked pinyin, mode 1", QStringLiteral("nǐ hǎo"), 1, QStringLiteral("n\\f1\\'A8\\'AB\\f0  h\\f1\\'A8\\'A3\\f0o")},
        {"tone-marked pinyin, mode 0", QStringLiteral("hǎo"), 0, QStringLiteral("h\\'A8\\'A3o")},
        {"full-width punctuation", QStringLiteral("好。"), 0, QStringLiteral("\\'BA\\'C3\\'A1\\'A3")},
        {"not in code page 936: copied", QStringLiteral("a\u0E01b"), 1, QStringLiteral("a\u0E01b")},
        {"empty", QString(), 1, QString()},
        // Mended: RTF's own characters are escaped, so typed text cannot break the document.
        {"backslash and braces", QStringLiteral("a\\b{c}"), 0, QStringLiteral("a\\\\b\\{c\\}")},
        {"closing brace first", QStringLiteral("}x"), 2, QStringLiteral("\\}x")},
        // Mended: a digit right after a font switch is kept out of its number by one blank.
        {"digit after Chinese, mode 1", QStringLiteral("第3课"), 1, QStringLiteral("\\f1\\'B5\\'DA\\f0 3\\f1\\'BF\\'CE\\f0")},
        {"digit after Chinese, mode 2", QStringLiteral("好12"), 2, QStringLiteral("\\f1\\'BA\\'C3\\f2 12")},
        {"digit after tone-marked letter, mode 1", QStringLiteral("ǎ5"), 1, QStringLiteral("\\f1\\'A8\\'A3\\f0 5")},
        {"digit after Chinese, mode 0: unchanged", QStringLiteral("好3"), 0, QStringLiteral("\\'BA\\'C33")},
        {"digit after a blank after Chinese, mode 1", QStringLiteral("好 3"), 1, QStringLiteral("\\f1\\'BA\\'C3\\f0  3")},
    };
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RtfEncodeText(c.text, c.mode), c.expected);
    }
}

TEST(RtfEncodeText, LeavesItsArgumentUnchanged)
{
    const QString text = QStringLiteral("中 1");
    const QString copy = text;
    RtfEncodeText(text, 1);
    EXPECT_EQ(text, copy);
}

TEST(OneStyleBuilders, WriteHeadOpeningTextAndClosing)
{
    const QString sansRomanGrey = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fmodern\\fprq6\\fcharset0 Microsoft Sans Serif;}"
        "{\\f1\\fmodern\\fprq6\\fcharset0 Times New Roman;}}{\\colortbl ;\\red64\\green64\\blue64;}\\viewkind4\\uc1\\pard\\cf1\\lang2052");
    const QString songRomanRed = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fmodern\\fprq6\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
        "{\\f1\\fmodern\\fprq6\\fcharset0 Times New Roman;}}{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\cf1\\lang2052");
    const QString sansSongGrey = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fmodern\\fprq6\\fcharset0 Microsoft Sans Serif;}"
        "{\\f1\\fmodern\\fprq6\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}{\\colortbl ;\\red64\\green64\\blue64;}\\viewkind4\\uc1\\pard\\cf1\\lang2052");
    const QString songRomanBlue = QString(songRomanRed).replace(QStringLiteral("\\red255\\green0\\blue0"), QStringLiteral("\\red0\\green0\\blue255"));
    const QString sansRomanRed = QString(sansRomanGrey).replace(QStringLiteral("\\red64\\green64\\blue64"), QStringLiteral("\\red255\\green0\\blue0"));

    struct Case {
        const char* name;
        QString (*builder)(const QString&);
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {"BlackRoman16Par", RtfBlackRoman16Par, QStringLiteral("Nǐ 好 3"),
         RomanSongHead + QStringLiteral("\\f0\\fs32N\\f1\\'A8\\'AB\\f0  \\f1\\'BA\\'C3\\f0  3\\par}")},
        {"BlackRoman16Par, empty", RtfBlackRoman16Par, QString(), RomanSongHead + QStringLiteral("\\f0\\fs32\\par}")},
        {"BoldRedSong24", RtfBoldRedSong24, QStringLiteral("你好"),
         songRomanRed + QStringLiteral("\\b\\f0\\fs48\\'C4\\'E3\\'BA\\'C3\\cf2\\f1\\fs32\\b0}")},
        {"BoldRedSong24Par", RtfBoldRedSong24Par, QStringLiteral("你"),
         songRomanRed + QStringLiteral("\\b\\f0\\fs48\\'C4\\'E3\\cf2\\f1\\fs32\\b0\\par}")},
        {"GreySans12Par", RtfGreySans12Par, QStringLiteral("Hello 1"),
         sansRomanGrey + QStringLiteral("\\f0\\fs24Hello 1\\f1\\fs32\\par}")},
        {"RedSans12Par", RtfRedSans12Par, QStringLiteral("x"), sansRomanRed + QStringLiteral("\\f0\\fs24x\\f1\\fs32\\par}")},
        {"GreySans12", RtfGreySans12, QStringLiteral("2 ways"), sansRomanGrey + QStringLiteral("\\f0\\fs24 2 ways\\f1\\fs32}")},
        {"RedSans12", RtfRedSans12, QStringLiteral("Sorry, it is not found."),
         sansRomanRed + QStringLiteral("\\f0\\fs24Sorry, it is not found.\\f1\\fs32}")},
        {"BoldBlueSong24Par", RtfBoldBlueSong24Par, QStringLiteral("  好"),
         songRomanBlue + QStringLiteral("\\b\\f0\\fs48  \\'BA\\'C3\\cf2\\f1\\fs32\\b0\\par}")},
        {"BoldBlueSong24", RtfBoldBlueSong24, QStringLiteral("好"),
         songRomanBlue + QStringLiteral("\\b\\f0\\fs48\\'BA\\'C3\\cf2\\f1\\fs32\\b0}")},
        {"GreySans10Par", RtfGreySans10Par, QStringLiteral("Hi "),
         sansSongGrey + QStringLiteral("\\f0\\fs20Hi \\f1\\fs32\\cf2\\fs48\\par}")},
        {"GreySans10", RtfGreySans10, QStringLiteral("Hi"), sansSongGrey + QStringLiteral("\\f0\\fs20Hi\\f1\\fs32\\cf2\\fs48}")},
        {"RedSong16Par", RtfRedSong16Par, QStringLiteral("甲：你好"),
         songRomanRed + QStringLiteral("\\f0\\fs32\\'BC\\'D7\\'A3\\'BA\\'C4\\'E3\\'BA\\'C3\\cf2\\f1\\fs32\\par}")},
        {"BlueSong16Par", RtfBlueSong16Par, QStringLiteral("乙"),
         songRomanBlue + QStringLiteral("\\f0\\fs32\\'D2\\'D2\\cf2\\f1\\fs32\\par}")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.builder(c.text), c.expected);
    }
}

TEST(DictionaryEntry, WritesHeadwordPinyinMeaningSourceAndExamples)
{
    const QString examples = RtfExampleChineseLine(QStringLiteral("01）你好！"), 0)
        + RtfExampleEnglishLine(QStringLiteral("Hello!"), 14);
    EXPECT_EQ(examples, QStringLiteral("\\cf4\\f0\\fs24\\lang2052  01\\'A3\\'A9\\'C4\\'E3\\'BA\\'C3\\'A3\\'A1\\cf0\\f1\\fs20\\par")
                            + QStringLiteral("\\cf3\\f2\\fs20 ") + QString(14, QLatin1Char(' ')) + QStringLiteral("Hello!\\par"));

    const QString entry = RtfDictionaryEntry(QStringLiteral("你好"), QStringLiteral(" [nǐ hǎo]"), QStringLiteral(" hello "),
                                             QStringLiteral("[Lesson 1]"), examples, 15);
    EXPECT_EQ(entry, EntryHead + QStringLiteral("\\viewkind4\\uc1\\pard\\cf1\\lang2052\\f0\\fs36 \\'C4\\'E3\\'BA\\'C3")
                         + QStringLiteral("\\cf2\\lang2052\\f1\\fs36  [n\\f1\\'A8\\'AB\\f0  h\\f1\\'A8\\'A3\\f0o]")
                         + QStringLiteral("\\cf0\\cf1\\f2\\fs32   hello ") + QStringLiteral("\\cf3\\fs20     [Lesson 1]")
                         + QStringLiteral("\\cf0\\f1\\par\\cf3\\f2") + QString(15, QLatin1Char(' '))
                         + QStringLiteral("Example Sentences:\\cf0\\f1\\par") + examples + QStringLiteral("\\cf0\\lang2052\\f1}"));
}

TEST(DictionaryEntry, WithoutExamplesKeepsTheSecondParagraphWithoutHeading)
{
    const QString entry = RtfDictionaryEntry(QStringLiteral("书"), QString(), QStringLiteral("book"), QString(), QString(), 3);
    EXPECT_TRUE(entry.endsWith(QStringLiteral("\\cf3\\fs20     \\cf0\\f1\\par\\cf3\\f2   \\cf0\\f1\\par\\cf0\\lang2052\\f1}")));
    EXPECT_FALSE(entry.contains(QStringLiteral("Example Sentences:")));
}

TEST(QueryEntries, WriteQueryMeaningsAndSource)
{
    const QString body = EntryHead + QStringLiteral("\\viewkind4\\uc1\\pard\\cf0\\cf4\\f2\\fs32 hello")
        + QStringLiteral("\\cf1\\lang2052\\f0\\fs36  \\f1\\'C4\\'E3\\f2\\f1\\'BA\\'C3\\f2; 2)") + QStringLiteral("\\cf3\\f2\\fs20     [web]");
    EXPECT_EQ(RtfQueryEntryNoExamples(QStringLiteral("hello"), QStringLiteral("你好; 2)"), QStringLiteral("[web]")),
              body + QStringLiteral("\\cf0\\f1\\par}"));
    EXPECT_EQ(RtfQueryEntry(QStringLiteral("hello"), QStringLiteral("你好; 2)"), QStringLiteral("[web]"), QStringLiteral("X"), 7),
              body + QStringLiteral("\\cf0\\f1\\par\\cf3\\f2       Example Sentences:\\cf0\\f1\\parX\\cf0\\lang2052\\f1}"));
}

} // namespace
