#include <gtest/gtest.h>

#include "ContentCheck.h"
#include "TestSupport.h"
#include "WrongOptionCheck.h"

namespace {

class ContentCheckTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        WriteFile("readings.txt",
            QStringLiteral("你\tni3\n好\thao3 hao4\n我\two3\n是\tshi4\n一\tyi1 yi2 yi4\n不\tbu4 bu2\n"
                           "个\tge4\n人\tren2\n们\tmen2\n绿\tlv4 lu4\n吗\tma2 ma3\n")
                .toUtf8());
        ASSERT_TRUE(ContentCheck::LoadReadings(Path("readings.txt"), m_readings));
    }

    QStringList Check(const QByteArray& text, bool isText = false)
    {
        WriteFile("f.txt", text);
        QStringList errors;
        QSet<QString> seen;
        ContentCheck::CheckFile(Path("f.txt"), "f.txt", isText, m_readings, seen, errors);
        return errors;
    }

    ContentCheck::Readings m_readings;
};

} // namespace

TEST_F(ContentCheckTest, CleanGroupsPass)
{
    EXPECT_EQ(Check("n.i3 h.ao3\n你好\nhello; hi\nw.o3 m.en0\n我们\nwe; us\nl.v4\n绿\ngreen\n"), QStringList());
    EXPECT_EQ(Check("h.ao3 m.a0 ？\n好吗？\nAll right?\n#\n#你好\nLesson 1\n", true), QStringList());
}

TEST_F(ContentCheckTest, SpellingFaultsAreFound)
{
    struct Case {
        const char* pinyin;
        const char* chinese;
        const char* expected;
    } cases[] = {
        {"ni3", "你", "one tone dot"},
        {"n.i h.ao3", "你好", "no tone digit"},
        {"h.ao3 n.i3 w.o3", "你好", "3 syllables for 2 characters"},
        {"ha.o3", "好", "dot belongs before the tone vowel"},
        {"h.ao5", "好", "tone digit must be 0-4"},
        {"x.ao3", "好", "not a Mandarin syllable"},
        {"h.ao2", "好", "好 read hao2"},
        {"y.i2 g.e4", "一个", "citation form"},
        {"b.u2 sh.i4", "不是", "citation form"},
        {"h.ao3", "好a", "Latin letters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pinyin);
        const QStringList errors = Check(QByteArray(c.pinyin) + "\n" + c.chinese + "\nmeaning\n");
        ASSERT_EQ(errors.size(), 1) << errors.join("\n").toStdString();
        EXPECT_TRUE(errors[0].contains(QString::fromUtf8(c.expected))) << errors[0].toStdString();
    }
}

TEST_F(ContentCheckTest, NeutralToneIsAllowedForAnyKnownSyllable)
{
    EXPECT_EQ(Check("h.ao0\n好\nwell\nb.u0 sh.i4\n不是\nis not\n"), QStringList());
}

TEST_F(ContentCheckTest, MalformedGroupsAndOutsideCharactersAreFound)
{
    EXPECT_EQ(Check("n.i3\n你\nyou\nh.ao3\n好\n").size(), 1);
    EXPECT_TRUE(Check("n.i3\n你\n\nh.ao3\n好\ngood\n").join("").contains("empty Chinese or English line"));
    // U+0E01 is not in code page 936.
    EXPECT_TRUE(Check("n.i3\n你\nyou \xE0\xB8\x81\n").join("").contains("not in code page 936"));
}

TEST_F(ContentCheckTest, LessonsAreReportedAndGradingIsTracked)
{
    WriteFile("content/Lessons/Script/Lesson_1/icwp.txt", "n.i3\n你\nyou\nh.ao3\n好\ngood; fine\n");
    WriteFile("content/Lessons/Script/Lesson_1/lifr.txt", "#\n#\nHello\nn.i3 h.ao3 m.a0 ？ w.o3 h.ao3\n你好吗？我好\nHow are you? I am fine.\nw.o3 h.ao3\n我好\nI am fine\n");
    const auto result = ContentCheck::CheckContent(Path("content"), m_readings);
    ASSERT_GE(result.report.size(), 2);
    EXPECT_TRUE(result.report[0].contains("2 new characters")) << result.report[0].toStdString();
    EXPECT_TRUE(result.report[0].contains(QString::fromUtf8("not yet taught 吗我"))) << result.report[0].toStdString();
    // Lessons 2..91 are missing: one fault for each of their two files; 吗 and 我 are taught
    // by no word list.
    EXPECT_EQ(result.errors.size(), 182);

    // Words of a lesson whose text is missing still count as taught.
    WriteFile("content/Lessons/Script/Lesson_2/icwp.txt", "w.o3\n我\nI; me\nm.a0\n吗\nquestion particle\n");
    const auto second = ContentCheck::CheckContent(Path("content"), m_readings);
    EXPECT_EQ(second.errors.size(), 181);
    EXPECT_TRUE(second.report[1].contains("2 new characters")) << second.report[1].toStdString();
}

TEST_F(ContentCheckTest, StopListWordsInPhraseListsAreFound)
{
    WriteFile("stoplist.txt", "# curses\n\xE4\xBB\x96\xE5\xA6\x88\xE7\x9A\x84\n");
    const QSet<QString> stop = ContentCheck::LoadWordSet(Path("stoplist.txt"));
    EXPECT_EQ(stop, QSet<QString>{QString::fromUtf8("他妈的")});
    // The words of 他 are 他们 and 他妈的; a stop word after the last comma is no phrase; a
    // phrase that holds a stop word is caught like the stop word. 人类 may stand in a list, but
    // not first: 人类学 heads the list of 人, 人类 follows 人口 in the list of 人's twin line.
    WriteFile("Vocabulary/zi1.txt",
        QString::fromUtf8("t.a1\n他们,妈的,\nw.o3\n我他妈的\nn.i3\n你他妈的,们,\nr.en2\n人类学,口,\nr.en2\n人口,类,\n").toUtf8());
    QStringList errors;
    ContentCheck::CheckPhraseLists(Path("Vocabulary"), stop, {QString::fromUtf8("人类")}, errors);
    ASSERT_EQ(errors.size(), 3) << errors.join("\n").toStdString();
    EXPECT_TRUE(errors[0].startsWith(QString::fromUtf8("Vocabulary/zi1.txt:2: \"他妈的\""))) << errors[0].toStdString();
    EXPECT_TRUE(errors[1].startsWith(QString::fromUtf8("Vocabulary/zi1.txt:6: \"你他妈的\""))) << errors[1].toStdString();
    EXPECT_TRUE(errors[2].startsWith(QString::fromUtf8("Vocabulary/zi1.txt:8: \"人类学\" holds \"人类\""))) << errors[2].toStdString();
}

TEST_F(ContentCheckTest, WordsAreCutByTheWordListsAndDoubledCharacters)
{
    ContentCheck::WordRules rules;
    for (const char* w : {"你好", "好人", "看", "问题", "人们"})
        rules.AddWord(QString::fromUtf8(w));
    rules.Teach(QString::fromUtf8("看"), "kan4", 1);
    rules.Teach(QString::fromUtf8("问题"), "wen4 ti2", 2);
    const struct {
        const char* text;
        int lesson;
        const char* words;
    } cases[] = {
        {"你好人们", 1, "你好 人们"},
        {"看看问题", 1, "看看 问题"},
        {"问问题", 2, "问 问题"},
        // Among cuttings of equal length the taught words win.
        {"看好人", 1, "看 好人"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ContentCheck::SplitWords(QString::fromUtf8(c.text), rules, c.lesson).join(' '), QString::fromUtf8(c.words));
    }
}

TEST_F(ContentCheckTest, TextWordsBeforeTheirLessonAndSecondSpellingsAreFound)
{
    WriteFile("content/Lessons/Script/Lesson_1/icwp.txt", "n.i3 h.ao3\n你好\nhello\nw.o3\n我\nI\n");
    WriteFile("content/Lessons/Script/Lesson_1/lifr.txt", "#\n#\nHello\nn.i3 h.ao3 w.o3 h.ao3 m.a0\n你好，我好吗？\nHello, am I fine?\n");
    WriteFile("content/Lessons/Script/Lesson_2/icwp.txt", "h.ao3\n好\ngood\nsh.i4\n是\nto be\n");
    WriteFile("content/Spoken/Script_1.txt", "n.i3 h.ao4\n你好\nHello\n");
    const auto errorsWith = [&](const char* allowed, const char* spellings, const char* wholeWords = "") {
        WriteFile("content/Data/untaught.txt", allowed);
        WriteFile("content/Data/spellings.txt", spellings);
        WriteFile("content/Data/idioms.txt", wholeWords);
        QStringList found;
        for (const QString& e : ContentCheck::CheckContent(Path("content"), m_readings).errors)
            if (e.contains(QString::fromUtf8("好")) || e.contains(QString::fromUtf8("吗")))
                found << e;
        return found;
    };
    // 好 comes before lesson 2 teaches it and no list teaches 吗; 你好 is spelled two ways.
    const QStringList all = errorsWith("", "");
    ASSERT_EQ(all.size(), 3) << all.join("\n").toStdString();
    EXPECT_TRUE(all[0].startsWith("Lesson_1/lifr.txt:4: ")) << all[0].toStdString();
    EXPECT_TRUE(all[2].contains("hao3") && all[2].contains("hao4")) << all[2].toStdString();
    // Allowed, 吗 passes; 好 does not, since lesson 2 teaches it: it belongs in the list of its
    // first use.
    const QStringList allowed = errorsWith("# allowed\n好\n吗\n", "你好 = ni3 hao3 | ni3 hao4\n");
    ASSERT_EQ(allowed.size(), 1) << allowed.join("\n").toStdString();
    EXPECT_TRUE(allowed[0].contains(QString::fromUtf8("好 hao3 is used before lesson 2"))) << allowed[0].toStdString();
    // A word whose meaning is not the sum of its parts stays a fault although allowed.
    const QStringList whole = errorsWith("好\n吗\n", "你好 = ni3 hao3 | ni3 hao4\n", "吗\n");
    ASSERT_EQ(whole.size(), 2) << whole.join("\n").toStdString();
    EXPECT_TRUE(whole[1].contains(QString::fromUtf8("吗 ma0 is taught by no word list"))) << whole[1].toStdString();
}

// A word counts as taught in the reading a list gives it, a neutral syllable standing for the same
// syllable in any tone; an allowed word does not make another reading of a taught character
// taught.
TEST_F(ContentCheckTest, TaughtMeansTheSameReading)
{
    WriteFile("content/Lessons/Script/Lesson_1/icwp.txt", "h.ao3\n好\ngood\nw.o3\n我\nI\n");
    WriteFile("content/Lessons/Script/Lesson_2/icwp.txt", "h.ao4\n好\nto like\nsh.i4\n是\nto be\n");
    WriteFile("content/Vocabulary/ci1.txt", "n.i3 h.ao3\n你好\nhello\n");
    WriteFile("content/Data/untaught.txt", QString::fromUtf8("你好\n").toUtf8());
    const struct {
        const char* pinyin;
        const char* chinese;
        const char* fault; // empty: none
    } cases[] = {
        {"w.o3 h.ao3", "我好", ""},
        {"w.o3 h.ao0", "我好", ""},
        {"w.o3 h.ao4", "我好", "好 hao4 is used before lesson 2 teaches it"},
        {"n.i3 h.ao3", "你好", ""},
        {"n.i3 h.ao4", "你好", "你好 is allowed untaught, but its 好 is read hao4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pinyin);
        WriteFile("content/Lessons/Script/Lesson_1/lifr.txt",
            QByteArray("#\n#\nTitle\n") + c.pinyin + "\n" + c.chinese + "\nline\nw.o3 h.ao3\n我好\nline\n");
        QStringList faults;
        for (const QString& e : ContentCheck::CheckContent(Path("content"), m_readings).errors)
            if (e.startsWith("Lesson_1/lifr.txt:4: "))
                faults << e.mid(21);
        ASSERT_EQ(faults.size(), *c.fault ? 1 : 0) << faults.join("\n").toStdString();
        if (*c.fault) {
            EXPECT_TRUE(faults[0].startsWith(QString::fromUtf8(c.fault))) << faults[0].toStdString();
        }
    }
}

TEST_F(ContentCheckTest, ListWordsTheLessonTextNeverUsesAreFound)
{
    // 我 is in the heading only; 你 is in the text; 好 only inside 你好, a word of its own; 是 in
    // its neutral form, which counts.
    WriteFile("content/Lessons/Script/Lesson_1/icwp.txt",
        "n.i3\n你\nyou\nh.ao3\n好\ngood\nw.o3\n我\nI\nn.i3 h.ao3\n你好\nhello\nsh.i4\n是\nto be\n");
    WriteFile("content/Lessons/Script/Lesson_1/lifr.txt",
        "w.o3\n#我\nMe\nn.i3 h.ao3\n你好！\nHello!\nn.i3 sh.i0\n你是\nYou are\n");
    QStringList unused;
    for (const QString& e : ContentCheck::CheckContent(Path("content"), m_readings).errors)
        if (e.contains("not used"))
            unused << e;
    EXPECT_EQ(unused, QStringList({QString::fromUtf8("Lesson_1/icwp.txt:4: 好 is not used by the lesson text"),
                          QString::fromUtf8("Lesson_1/icwp.txt:7: 我 is not used by the lesson text")}));
}

TEST_F(ContentCheckTest, DialogueScriptIsCheckedAgainstItsPinyinAndItsSoundNames)
{
    const QByteArray cleanScript = "1\n你好！ = Hello!\n你好！ = Hello to you!\n\n2\n是我。 = It is me.\n好。 = Good.\n";
    const QByteArray cleanPinyin = "1\nn.i3 h.ao3\nn.i3 h.ao3\n\n2\nsh.i4 w.o3\nh.ao3\n";
    const struct {
        const char* name;
        QByteArray script;
        QByteArray pinyin;
        const char* expected; // empty: clean
    } cases[] = {
        {"clean", cleanScript, cleanPinyin, ""},
        {"line counts differ", cleanScript, "1\nn.i3 h.ao3\nn.i3 h.ao3\n", "7 lines, but 3 pinyin lines"},
        {"syllable count", "1\n你好！ = Hello!\n好。 = Good.\n", "1\nn.i3\nh.ao3\n", "1 syllables for 2 characters"},
        {"tone dot", "1\n你好！ = Hello!\n好。 = Good.\n", "1\nni3 h.ao3\nh.ao3\n", "one tone dot"},
        {"numbering", "2\n你好！ = Hello!\n好。 = Good.\n", "2\nn.i3 h.ao3\nh.ao3\n", "dialogue 1 is numbered \"2\""},
        {"no equals sign", "1\n你好！ Hello!\n好。 = Good.\n", "1\nn.i3 h.ao3\nh.ao3\n", "not \"Chinese = English\""},
        {"text first", "你好！ = Hello!\n1\n好。 = Good.\n好。 = Fine.\n", "n.i3 h.ao3\n1\nh.ao3\nh.ao3\n",
            "text before the first number line"},
        {"no replies", "1\n你好！ = Hello!\n2\n好。 = Good.\n好。 = Fine.\n", "1\nn.i3 h.ao3\n2\nh.ao3\nh.ao3\n",
            "dialogue 1 has no replies"},
        {"shared sound name", "1\n你好！ = Hello!\n我好。 = Hi!\n", "1\nn.i3 h.ao3\nw.o3 h.ao3\n", "sound h.wav"},
        {"the goodbye's sound", "1\n你好！ = Hello!\n好。 = Bye.\n", "1\nn.i3 h.ao3\nh.ao3\n", "sound b.wav"},
        {"Latin in Chinese", "1\n你好！ = Hello!\n好a。 = Good.\n", "1\nn.i3 h.ao3\nh.ao3\n", "Latin letters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("Script.txt", c.script);
        WriteFile("Script.pinyin", c.pinyin);
        QStringList errors;
        QSet<QString> seen;
        ContentCheck::CheckDialogScript(Path("Script.txt"), Path("Script.pinyin"), "Script.txt", m_readings, seen, errors);
        if (QByteArray(c.expected).isEmpty()) {
            EXPECT_EQ(errors, QStringList());
            continue;
        }
        ASSERT_FALSE(errors.isEmpty());
        EXPECT_TRUE(errors.join("\n").contains(QString::fromUtf8(c.expected))) << errors.join("\n").toStdString();
    }
}

// A taught word with a taught measure word or place word after it is the use of both, although
// the extra vocabulary holds the pair; a pair a list teaches, a whole word and any other pair
// stay one word.
TEST_F(ContentCheckTest, ATaughtWordWithAMeasureOrPlaceWordAfterItIsCutInTwo)
{
    ContentCheck::WordRules rules;
    for (const char* w : {"每个", "个人", "街上", "一刻", "去年", "马上", "楼上"})
        rules.AddWord(QString::fromUtf8(w));
    const struct {
        const char* word;
        const char* spelling;
        int lesson;
    } taught[] = {{"一", "yi1", 1}, {"个", "ge4", 1}, {"上", "shang4", 1}, {"人", "ren2", 1}, {"年", "nian2", 1},
        {"马", "ma3", 1}, {"楼", "lou2", 1}, {"每", "mei3", 2}, {"街", "jie1", 2}, {"去", "qu4", 2}, {"刻", "ke4", 3},
        {"楼上", "lou2 shang4", 3}};
    for (const auto& t : taught)
        rules.Teach(QString::fromUtf8(t.word), t.spelling, t.lesson);
    rules.measureWords = {QString::fromUtf8("个"), QString::fromUtf8("刻")};
    rules.placeWords = {QString::fromUtf8("上")};
    rules.wholeWords = {QString::fromUtf8("马上")};
    const struct {
        const char* text;
        const char* syllables;
        int lesson;
        const char* words;
    } cases[] = {
        {"每个人", "mei3 ge4 ren2", 2, "每 个 人"},
        {"街上人", "jie1 shang0 ren2", 2, "街 上 人"}, // 上 after a noun is neutral
        {"一刻", "yi1 ke4", 3, "一 刻"},
        {"一刻", "yi1 ke4", 2, "一刻"},     // 刻 is not taught yet
        {"街上", "jie1 shang0", 1, "街上"}, // nor 街
        {"去年", "qu4 nian2", 2, "去年"},   // 年 is no measure word
        {"马上", "ma3 shang4", 2, "马上"},  // its meaning is its own
        {"楼上", "lou2 shang4", 2, "楼上"}, // a later list teaches it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " in lesson " + std::to_string(c.lesson));
        const QStringList syllables = QString::fromLatin1(c.syllables).split(' ');
        EXPECT_EQ(ContentCheck::SplitWords(QString::fromUtf8(c.text), rules, c.lesson, syllables).join(' '), QString::fromUtf8(c.words));
    }
}

// The lesson that teaches 每 or 前 may say 每个人 and 房子前面: the measure and place words of
// content/Data count a pair as the use of its taught word, and a list word of two place words
// (前面) as the use of both; a list word of another kind is no use of its first part.
TEST_F(ContentCheckTest, ANaturalUseOfATaughtWordBeforeAMeasureOrPlaceWordPasses)
{
    WriteFile("content/Lessons/Script/Lesson_1/icwp.txt", "g.e4\n个\ngeneral measure word\nr.en2\n人\nperson\n"
                                                          "qi.an2 mi.an4\n前面\nin front\nm.a3 sh.ang4\n马上\nat once\n");
    WriteFile("content/Lessons/Script/Lesson_2/icwp.txt", "m.ei3\n每\nevery\nqi.an2\n前\nfront\nm.a3\n马\nhorse\n");
    WriteFile("content/Vocabulary/ci1.txt", "m.ei3 g.e4\n每个\nevery\n");
    WriteFile("content/Data/measurewords.txt", "# kinds\n个\n");
    WriteFile("content/Data/placewords.txt", QString::fromUtf8("前\n面\n上\n").toUtf8());
    WriteFile("content/Lessons/Script/Lesson_2/lifr.txt",
        "#\n#\nTitle\nm.ei3 g.e4 r.en2\n每个人\nEveryone\nqi.an2 mi.an4\n前面\nIn front\nm.a3 sh.ang4\n马上\nAt once\n");
    QStringList faults;
    for (const QString& e : ContentCheck::CheckContent(Path("content"), m_readings).errors)
        if (e.startsWith("Lesson_2/") && (e.contains("used") || e.contains("taught")))
            faults << e;
    EXPECT_EQ(faults, QStringList{QString::fromUtf8("Lesson_2/icwp.txt:7: 马 is not used by the lesson text")});
}

// Words of a lesson that share a meaning are named and kept apart by the vocabulary test; a word
// that every other word shares a meaning with has no wrong options to show.
TEST_F(ContentCheckTest, WordsSharingAMeaningAreKeptApartInTheVocabularyTest)
{
    const struct {
        const char* name;
        const char* list;
        QStringList errors;
        const char* report; // the lesson's report line, empty: none
    } cases[] = {
        {"near-synonyms", "hu.an2\n还\nto give back; to return\ng.ui1 hu.an2\n归还\nto return (something borrowed)\nsh.u1\n书\nbook\n", {},
            "Lesson 1: the vocabulary test keeps apart 还/归还"},
        {"distinct", "sh.u1\n书\nbook\nb.i3\n笔\npen\n", {}, ""},
        {"nothing else to show", "n.in2\n您\nyou (polite)\nn.i3 m.en0\n你们\nyou (plural)\n",
            {"Lesson_1/icwp.txt:1: no other word of the lesson may give 您 its wrong options in the vocabulary test",
                "Lesson_1/icwp.txt:4: no other word of the lesson may give 你们 its wrong options in the vocabulary test"},
            "Lesson 1: the vocabulary test keeps apart 您/你们"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("content/Lessons/Script/Lesson_1/icwp.txt", QByteArray(c.list));
        ContentCheck::Result result;
        ContentCheck::CheckWrongOptions(Path("content"), result);
        EXPECT_EQ(result.errors, c.errors);
        const QStringList lessonLines = result.report.filter(QStringLiteral("Lesson "));
        EXPECT_EQ(lessonLines, *c.report ? QStringList{QString::fromUtf8(c.report)} : QStringList());
    }
}
