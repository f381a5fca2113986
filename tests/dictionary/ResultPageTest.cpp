// The result page reader: each layout built from the sample pages, the failure markers, and
// pages whose structure cannot be followed.

#include <functional>

#include "Module3Rtf.h"
#include "OnlineRules.h"
#include "ResultPage.h"
#include "ServicePages.h"
#include "TestSupport.h"

namespace {

const QString Label = QStringLiteral("[Lexicon Online]");

QString Read(const QString& body, const QString& query)
{
    return HtmlToRtf(body, query, Label);
}

TEST(ResultPage, FailureMarkersComeBeforeAnyLayout)
{
    struct Case {
        const char* name;
        QString body;
        const char* notice;
    };
    const Case cases[] = {
        {"error page", QStringLiteral("<h1>THE PAGE CANNOT BE DISPLAYED</h1>") + Pages::English(QStringLiteral("hi"), {QStringLiteral("x")}),
         CannotFindServerText},
        {"word not found", Pages::NotFound(), NotFoundText},
        {"suggestions", Pages::Suggestions(), NotFoundText},
        {"both failures: no connection wins", QStringLiteral("Sorry, word not found! The page cannot be displayed"),
         CannotFindServerText},
    };
    for (const QString& query : {QStringLiteral("hello"), QStringLiteral("中文"), QStringLiteral("han4 yu3")}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(Read(c.body, query), RtfRedSans12(QLatin1String(c.notice)));
        }
    }
}

TEST(ResultPage, ChineseLayoutReadsPronunciationMeaningsAndExamples)
{
    const QString page = Pages::Chinese(QStringLiteral("中文"), QStringLiteral("zhōng wén"),
        {QStringLiteral("Chinese language"), QStringLiteral("Chinese (written)")},
        {QStringLiteral("我会说中文。"), QStringLiteral("I can speak Chinese."), QStringLiteral("他学中文。"),
         QStringLiteral("He studies Chinese.")});
    const QString examples = RtfExampleChineseLine(QStringLiteral("\n我会说中文。"), 0)
        + RtfExampleEnglishLine(QStringLiteral("\nI can speak Chinese."), 10)
        + RtfExampleChineseLine(QStringLiteral("\n他学中文。"), 0)
        + RtfExampleEnglishLine(QStringLiteral("\nHe studies Chinese."), 10);
    EXPECT_EQ(Read(page, QStringLiteral("中文")),
        RtfDictionaryEntry(QStringLiteral("中文"), QStringLiteral(" [zhōng wén]"),
            QStringLiteral("Chinese language;  Chinese (written)"), Label, examples, 12));
    EXPECT_TRUE(ShownText(Read(page, QStringLiteral("中文")))
                    .startsWith(QStringLiteral("中文 [zhōng wén] Chinese language;  Chinese (written)    [Lexicon Online]")));
}

TEST(ResultPage, PronunciationEntities)
{
    struct Case {
        const char* name;
        QString span; // between "pronounce>" and "</span>"
        QString pinyinPart;
    };
    const Case cases[] = {
        {"decimal entities", QStringLiteral("[ &#104;&#224;&#110; ]"), QStringLiteral(" [hàn]")},
        {"plain text between entities", QStringLiteral("[ &#110;i&#464; ]"), QStringLiteral(" [niǐ]")},
        {"two characters at each end are never read", QStringLiteral("ab&#120;cd"), QStringLiteral(" [x]")},
        {"nothing inside", QStringLiteral("[  ]"), QString()},
        {"a hex entity names no number", QStringLiteral("[ &#x68;a ]"), QStringLiteral(" [a]")},
        {"beyond the 16-bit range", QStringLiteral("[ &#128512; ]"), QStringLiteral(" [") + QString::fromUcs4(U"\U0001F600", 1) + QStringLiteral("]")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString page = QStringLiteral("<span id=pronounce>") + c.span + QStringLiteral("</span><big>m</big>");
        EXPECT_EQ(Read(page, QStringLiteral("汉")),
            RtfDictionaryEntry(QStringLiteral("汉"), c.pinyinPart, QStringLiteral("m"), Label, QString(), 12));
    }
    // A number beyond Unicode: the page cannot be read.
    EXPECT_EQ(Read(QStringLiteral("<span id=pronounce>[ &#99999999; ]</span><big>m</big>"), QStringLiteral("汉")), QString());
}

TEST(ResultPage, EnglishLayoutNumbersTheMeanings)
{
    struct Case {
        const char* name;
        QString big;
        QString meanings;
    };
    const Case cases[] = {
        {"two items", QStringLiteral("greeting<br>surprise<br>"), QStringLiteral("1) greeting;  2) surprise;")},
        {"text after the last tag is dropped", QStringLiteral("a<br>tail"), QStringLiteral("1) a;")},
        {"no tag lists nothing", QStringLiteral("only text"), QString()},
        {"every tag ends an item", QStringLiteral("<b>x</b>"), QStringLiteral("1) ;  2) x;")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString page = QStringLiteral("<big>") + c.big + QStringLiteral("</big>");
        EXPECT_EQ(Read(page, QStringLiteral("hello")), RtfQueryEntry(QStringLiteral("hello"), c.meanings, Label, QString(), 7));
    }
    const QString page = Pages::English(QStringLiteral("hello"), {QStringLiteral("greeting")},
        {QStringLiteral("你好！"), QStringLiteral("Hello!")});
    EXPECT_EQ(Read(page, QStringLiteral("hello")),
        RtfQueryEntry(QStringLiteral("hello"), QStringLiteral("1) greeting;"), Label,
            RtfExampleChineseLine(QStringLiteral("\n你好！"), 1) + RtfExampleEnglishLine(QStringLiteral("\nHello!"), 0), 7));
}

TEST(ResultPage, ExampleBlock)
{
    struct Case {
        const char* name;
        QString block; // after "Examples:"
        QString examples;
    };
    const Case cases[] = {
        {"text after the last break is not shown", QStringLiteral("one<br>two</table>"),
         RtfExampleEnglishLine(QStringLiteral("one"), 0)},
        {"blank lines do not end a line", QStringLiteral("  <br><br>x<br></table>"), RtfExampleEnglishLine(QStringLiteral("  x"), 0)},
        {"a lone ampersand is dropped", QStringLiteral("a&b<br></table>"), RtfExampleEnglishLine(QStringLiteral("ab"), 0)},
        {"hard blanks only in pairs", QStringLiteral("&nbsp;x<br></table>"), RtfExampleEnglishLine(QStringLiteral("nbsp;x"), 0)},
        {"no table end reads nothing", QStringLiteral("x<br>"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString page = QStringLiteral("<big>m<br></big>Examples:") + c.block;
        EXPECT_EQ(Read(page, QStringLiteral("word")), RtfQueryEntry(QStringLiteral("word"), QStringLiteral("1) m;"), Label, c.examples, 7));
    }
}

TEST(ResultPage, WordListLayout)
{
    struct Case {
        const char* name;
        QString query;
        QStringList words;
        QString list;
    };
    const Case cases[] = {
        {"two syllables", QStringLiteral("han4 yu3"), {QStringLiteral("汉语"), QStringLiteral("汗雨")}, QStringLiteral("汉语 汗雨 ")},
        {"a word linked twice is listed once", QStringLiteral("han4 yu3"),
         {QStringLiteral("汉语"), QStringLiteral("汗雨"), QStringLiteral("汉语")}, QStringLiteral("汉语 汗雨 ")},
        {"runs of blanks count once", QStringLiteral("han4   yu3"), {QStringLiteral("汉语")}, QStringLiteral("汉语 ")},
        {"one syllable", QStringLiteral("hao3"), {QStringLiteral("好"), QStringLiteral("郝")}, QStringLiteral("好 郝 ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(Pages::WordList(c.words), c.query),
            RtfQueryEntryNoExamples(QString(c.query).replace(QStringLiteral("   "), QStringLiteral(" ")), c.list, Label));
    }
    // An empty list reaches only the page's own footer link: not found.
    EXPECT_EQ(Read(Pages::WordList({}), QStringLiteral("han4 yu3")), RtfRedSans12(QLatin1String(NotFoundText)));
    // A link without its end: the page cannot be read.
    EXPECT_EQ(Read(QStringLiteral("Result of Pin1 Yin1 search:<table><a>汉语</table>"), QStringLiteral("han4 yu3")), QString());
    // A pinyin query on a page without the list reads as an English word.
    EXPECT_EQ(Read(QStringLiteral("<big>m<br></big>"), QStringLiteral("ni3")),
        RtfQueryEntry(QStringLiteral("ni3"), QStringLiteral("1) m;"), Label, QString(), 7));
}

TEST(ResultPage, AResultPastTheLimitIsTooLargeToShow)
{
    const auto m = [](qsizetype n) { return QString(n, QLatin1Char('m')); };
    struct Case {
        const char* name;
        QString query;
        // The page whose result reaches the limit with its last character.
        std::function<QString(qsizetype extra)> page;
    };
    const Case cases[] = {
        {"chinese meanings", QStringLiteral("汉"),
         [&](qsizetype extra) { return QStringLiteral("<big>") + m(ResultTextLimit + extra) + QStringLiteral("</big>"); }},
        {"pronunciation", QStringLiteral("汉"),
         [&](qsizetype extra) {
             return QStringLiteral("<span id=pronounce>[ ") + m(ResultTextLimit + extra) + QStringLiteral(" ]</span><big></big>");
         }},
        {"english meanings, with the item's number and separator", QStringLiteral("hello"),
         [&](qsizetype extra) { return QStringLiteral("<big>") + m(ResultTextLimit - 6 + extra) + QStringLiteral("<br></big>"); }},
        {"an example line, with its indent and end", QStringLiteral("hello"),
         [&](qsizetype extra) {
             return QStringLiteral("<big></big>Examples:") + m(ResultTextLimit - 2 + extra) + QStringLiteral("<br></table>");
         }},
        {"a word list, each word read with a blank, listed or not", QStringLiteral("han4"),
         [&](qsizetype extra) { return Pages::WordList(QStringList(ResultTextLimit / 2 + extra, QStringLiteral("汉"))); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString tooLarge = RtfRedSans12(QLatin1String(TooLargeText));
        const QString atLimit = Read(c.page(0), c.query);
        EXPECT_TRUE(!atLimit.isEmpty() && atLimit != tooLarge) << "at the limit";
        EXPECT_TRUE(Read(c.page(1), c.query) == tooLarge) << "past the limit";
    }
}

TEST(ResultPage, LongPagesAreReadWhole)
{
    const QString padding = QString(70000, QLatin1Char('x'));
    const QString page = QStringLiteral("<p>") + padding + QStringLiteral("</p>")
        + Pages::English(QStringLiteral("far"), {QStringLiteral("distant")});
    EXPECT_EQ(Read(page, QStringLiteral("far")), RtfQueryEntry(QStringLiteral("far"), QStringLiteral("1) distant;"), Label, QString(), 7));
}

} // namespace
