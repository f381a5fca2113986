// The viewed lesson's word and text scripts, read from coded fixture files.

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

#include "AppState.h"
#include "CodedFixture.h"
#include "LessonScript.h"
#include "TestSupport.h"

namespace {
class LessonScriptTest : public AppFixture {
protected:
    QString Script(int lesson, const char* file) const
    {
        return Path(QStringLiteral("Lessons/Script/Lesson_%1/%2").arg(lesson).arg(QLatin1String(file)));
    }
    void Load(qint16 lesson)
    {
        State().ViewedLesson = lesson;
        LoadLessonScript();
    }
    QStringList Chinese() const
    {
        QStringList out;
        for (const SentenceRecord& r : State().LessonLines)
            out.append(r.Chinese);
        return out;
    }
    QList<qint16> Sources() const
    {
        QList<qint16> out;
        for (const SentenceRecord& r : State().LessonLines)
            out.append(r.Source);
        return out;
    }
    // A coded file holding one record whose two parts do not make a 16-bit code.
    void WriteDamaged(const QString& path) const
    {
        char record[6];
        qToLittleEndian<qint16>(0, record);
        qToLittleEndian<qint16>(30000, record + 2);
        qToLittleEndian<qint16>(30000, record + 4);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(record, 6);
    }
};

QStringList Group(const char* pinyin, const char* chinese, const char* english)
{
    return {QString::fromUtf8(pinyin), QString::fromUtf8(chinese), QString::fromUtf8(english)};
}
} // namespace

TEST_F(LessonScriptTest, WordsAreTrimmedIntoChineseEnglishPinyinColumns)
{
    WriteCodedFile(Script(5, "icwp.vmq"),
        Group("  n.i3 h.ao3 ", " 你好  ", " hello; hi ") + Group("x.ie4 x.ie0", "谢谢", "thanks")
            + Group("sh.an1", "山", "hill") + QStringList{"r.en2"});
    Load(5);
    const AppState& s = State();
    ASSERT_EQ(s.LessonWordCount, 3) << "a 10th line is ignored";
    EXPECT_EQ(s.LessonWords[0], QStringList({"你好", "谢谢", "山"}));
    EXPECT_EQ(s.LessonWords[1], QStringList({"hello; hi", "thanks", "hill"}));
    EXPECT_EQ(s.LessonWords[2], QStringList({"n.i3 h.ao3", "x.ie4 x.ie0", "sh.an1"}));
    EXPECT_TRUE(s.LineBuffer.isEmpty());
    EXPECT_EQ(s.LineCount, 0);
}

TEST_F(LessonScriptTest, HeadingsAndSentencesAreNumbered)
{
    struct Case {
        const char* name;
        QStringList chineseLines;
        QStringList display;
        QList<qint16> sources;
    };
    const Case cases[] = {
        {"headings with sentences", {"#第一课", "你好。", "谢谢。", "# 对话 ", "再见。"},
            {"1)第一课", "1.你好。", "2.谢谢。", "2)对话", "1.再见。"}, {0, 1, 1, 0, 1}},
        {"sentences before the first heading", {"你好。", "谢谢。", "#对话"}, {"1.你好。", "2.谢谢。", "1)对话"},
            {1, 1, 0}},
        {"a mark after a blank is text", {"#对话", "  #你好 "}, {"1)对话", "1.#你好"}, {0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList lines;
        for (int i = 0; i < c.chineseLines.size(); ++i)
            lines << QStringLiteral(" n.i3 %1 ").arg(i) << c.chineseLines[i] << QStringLiteral(" English %1 ").arg(i);
        WriteCodedFile(Script(7, "lifr.vmq"), lines);
        Load(7);
        const AppState& s = State();
        ASSERT_EQ(s.LessonLineCount, c.chineseLines.size());
        EXPECT_EQ(Chinese(), c.display);
        EXPECT_EQ(Sources(), c.sources);
        EXPECT_EQ(s.LessonLines[1].Pinyin, "n.i3 1");
        EXPECT_EQ(s.LessonLines[1].English, "English 1");
        EXPECT_EQ(s.LessonWordCount, 0) << "a lesson without a word file";
        EXPECT_TRUE(s.LineBuffer.isEmpty());
    }
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());
}

TEST_F(LessonScriptTest, AnotherLessonReplacesTheTables)
{
    WriteCodedFile(Script(2, "icwp.vmq"), Group("h.ao3", "好", "good"));
    WriteCodedFile(Script(2, "lifr.vmq"), Group("h.ao3", "好。", "Good."));
    Load(2);
    ASSERT_EQ(State().LessonWordCount, 1);
    ASSERT_EQ(State().LessonLineCount, 1);

    Load(3);
    EXPECT_EQ(State().LessonWordCount, 0);
    EXPECT_TRUE(State().LessonWords[0].isEmpty());
    EXPECT_EQ(State().LessonLineCount, 0);
    EXPECT_TRUE(State().LessonLines.isEmpty());
    EXPECT_TRUE(m_boxes->Boxes().isEmpty()) << "missing files are skipped silently";
}

TEST_F(LessonScriptTest, ADamagedFileIsReportedAndTheOtherStillLoads)
{
    struct Case {
        const char* damaged;
        qint16 words;
        qint16 lines;
    };
    const Case cases[] = {{"icwp.vmq", 0, 1}, {"lifr.vmq", 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damaged);
        m_boxes->Clear();
        WriteCodedFile(Script(4, "icwp.vmq"), Group("h.ao3", "好", "good"));
        WriteCodedFile(Script(4, "lifr.vmq"), Group("h.ao3", "好。", "Good."));
        WriteDamaged(Script(4, c.damaged));
        Load(4);
        EXPECT_EQ(State().LessonWordCount, c.words);
        EXPECT_EQ(State().LessonLineCount, c.lines);
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_EQ(m_boxes->Boxes()[0].text,
            QStringLiteral("The file ") + State().AppPath + QStringLiteral("Lessons/Script/Lesson_4/") + c.damaged
                + QStringLiteral(" is corrupted!"));
        EXPECT_EQ(m_boxes->Boxes()[0].title, "Warning");
    }
}
