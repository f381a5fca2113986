#include <QFile>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "VocabularyCheck.h"

namespace {

class VocabularyCheckTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        WriteFile("Data/entries.txt",
            "# word, reading, meaning, source\n"
            "\xE4\xB8\xAD\xE5\x9B\xBD\tzhong1 guo2\tChina\tlevel 1\n" // 中国
            "\xE4\xB8\xAD\xE5\x8D\x88\tzhong1 wu3\tnoon\tlevel 1\n" // 中午
            "\xE4\xB8\xAD\xE5\x85\xB1\xE4\xB8\xAD\xE5\xA4\xAE\tzhong1 gong4 zhong1 yang1\tCentral Committee\tfrequency\n" // 中共中央
            "\xE5\x91\xA8\xE6\x81\xA9\xE6\x9D\xA5\tzhou1 en1 lai2\t\tname\n" // 周恩来
            "\xE5\x86\xAC\tdong1\twinter\tlevel 3\n" // 冬
            "\xE4\xB8\x80\xE4\xB8\xAA\tyi1 ge0\ta; an; one\tfrequency\n" // 一个, as the dictionary spells it
            "\xE8\x83\x96\xE5\xAD\x90\tpang4 zi0\tfat person\tfrequency\n"); // 胖子
        QStringList errors;
        ASSERT_TRUE(ContentCheck::LoadCommonEntries(Path("Data/entries.txt"), m_entries, errors));
        ASSERT_EQ(errors, QStringList());
    }

    QStringList PhraseErrors(const QString& characterLine)
    {
        WriteFile("Vocabulary/zi1.txt", ("zh.ong1\n" + characterLine + "\n").toUtf8());
        QStringList errors;
        ContentCheck::CheckPhraseSources(Path("Vocabulary"), m_entries, errors);
        return errors;
    }

    QStringList ExtraErrors(const QString& group)
    {
        WriteFile("Vocabulary/ci1.txt", group.toUtf8());
        QStringList errors;
        ContentCheck::CheckExtraVocabulary(Path("Vocabulary"), m_entries, {QString::fromUtf8("胖子")}, errors);
        return errors;
    }

    ContentCheck::CommonEntries m_entries;
};

} // namespace

TEST_F(VocabularyCheckTest, MalformedEntriesAreReportedAndSkipped)
{
    WriteFile("Data/bad.txt", "\xE5\x86\xAC\tdong1\twinter\n\xE5\x86\xAC\tdong1\twinter\tlevel 0\n\xE5\x86\xAC\tdong1\twinter\tlevel 2\n");
    ContentCheck::CommonEntries entries;
    QStringList errors;
    EXPECT_TRUE(ContentCheck::LoadCommonEntries(Path("Data/bad.txt"), entries, errors));
    EXPECT_EQ(errors, QStringList({"Data/bad.txt:1: not a word, its reading, meaning and source",
                          "Data/bad.txt:2: not a word, its reading, meaning and source"}));
    EXPECT_EQ(entries.value(QString::fromUtf8("冬")).level, 2);
    EXPECT_FALSE(ContentCheck::LoadCommonEntries(Path("Data/missing.txt"), entries, errors));
}

TEST_F(VocabularyCheckTest, GradedWordsHeadTheirListsAndNamesStandInNone)
{
    const struct {
        const char* line;
        const char* fault; // what the one fault says, or nullptr for none
    } cases[] = {
        {"中国,午,共中央,", nullptr},
        {"中共中央,国,", "the list of 中 begins with 中共中央, not with a word of the graded list such as 中国"},
        // A list without a graded word may begin with a frequent one; text after the last comma
        // is no phrase.
        {"中共中央,午", nullptr},
        {"中", nullptr},
        {"周恩来,", "周恩来 is a person's name"},
        {"周末,恩来,", "周恩来 is a person's name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const QStringList errors = PhraseErrors(QString::fromUtf8(c.line));
        if (!c.fault) {
            EXPECT_EQ(errors, QStringList());
            continue;
        }
        ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
        EXPECT_EQ(errors[0], QStringLiteral("Vocabulary/zi1.txt:2: ") + QString::fromUtf8(c.fault));
    }
}

TEST_F(VocabularyCheckTest, ExtraWordsAreTheirCommonEntriesInTheLessonsSpelling)
{
    const struct {
        const char* group;
        const char* faults; // the ends of the faults, "|" between them
    } cases[] = {
        {"d.ong1\n冬\nwinter\n", ""},
        {" d.ong1 \n 冬 \n winter \n", ""},
        {"d.ong1\n冬\nbeating a drum\n", "冬 dong1 \"beating a drum\" is not its common entry dong1 \"winter\""},
        {"d.ong4\n冬\nwinter\n", "冬 dong4 \"winter\" is not its common entry dong1 \"winter\""},
        {"ch.ang2 ch.eng2\n长城\nthe Great Wall\n", "长城 has no common entry"},
        {"zh.ou1 .en1 l.ai2\n周恩来\n\n", "周恩来 is a person's name"},
        // The lessons' citation tones hold even where the dictionary drops them.
        {"y.i1 g.e0\n一个\na; an; one\n", "一个 writes 个 as ge0, the lessons as ge4"},
        {"p.ang4 z.i0\n胖子\nfat person\n", "胖子 holds 胖子 of the stop list"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.group);
        QStringList expected;
        for (const QString& fault : QString::fromUtf8(c.faults).split('|', Qt::SkipEmptyParts))
            expected << QStringLiteral("Vocabulary/ci1.txt:1: ") + fault;
        EXPECT_EQ(ExtraErrors(QString::fromUtf8(c.group)), expected);
    }
}

TEST_F(VocabularyCheckTest, ContentFolderIsCheckedWholeOnceItHasVocabulary)
{
    QStringList errors;
    ContentCheck::CheckVocabularySources(Path(""), errors);
    EXPECT_EQ(errors, QStringList()) << "no vocabulary file, nothing to check";

    WriteFile("Vocabulary/zi1.txt", QString::fromUtf8("zh.ong1\n中共中央,国,\n").toUtf8());
    WriteFile("Vocabulary/ci1.txt", QString::fromUtf8("d.ong1\n冬\nwinter\np.ang4 z.i0\n胖子\nfat person\n").toUtf8());
    WriteFile("Data/stoplist.txt", QString::fromUtf8("# insults\n胖子\n").toUtf8());
    ContentCheck::CheckVocabularySources(Path(""), errors);
    EXPECT_EQ(errors.size(), 2) << errors.join('\n').toStdString();

    // Without the common entries nothing is held against them, and that is a fault.
    ASSERT_TRUE(QFile::remove(Path("Data/entries.txt")));
    errors.clear();
    ContentCheck::CheckVocabularySources(Path(""), errors);
    EXPECT_EQ(errors, QStringList({"Data/entries.txt is missing or empty"}));
}
