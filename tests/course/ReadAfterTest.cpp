#include <gtest/gtest.h>

#include "ReadAfter.h"
#include "TestSupport.h"

namespace {

QStringList L(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}

TEST(ReadAfterTest, TheNextWordIsTheLongestMatchOfTheLessonThenTheCourse)
{
    const struct {
        const char* name;
        const char* text;
        int readPos;
        QStringList lesson;
        QStringList course;
        const char* word;
        int pos;
        int entry;
        bool fromLesson;
        bool wholeWord;
    } cases[] = {
        {"longest lesson word", "ni3 hao3\r\n你好吗", 1, L({"你", "你好", "好"}), L({"你好吗"}), "你好", 11, 2, true, true},
        {"earlier row wins a tie", "你好", 1, L({"好", "你好", "你好 (greeting)"}), L({}), "你好", 1, 2, true, true},
        {"dotted pieces", "好人", 1, L({"你.好人"}), L({}), "好人", 1, 1, true, true},
        {"course after the lesson", "看书", 1, L({"你"}), L({"看", "看书"}), "看书", 1, 2, false, true},
        {"我看 before a character", "我看书", 1, L({}), L({"我看", "我", "看书"}), "我", 1, 2, false, true},
        {"我看 at the end", "我看", 1, L({}), L({"我看", "我"}), "我", 1, 2, false, true},
        {"我看 before a mark", "我看。", 1, L({}), L({"我看", "我"}), "我看", 1, 1, false, true},
        {"我们 is one word", "我们是", 1, L({}), L({"我看", "我们", "我"}), "我们", 1, 2, false, true},
        {"小山 before 羊", "小山羊", 1, L({}), L({"小山", "小"}), "小", 1, 2, false, true},
        {"小山 elsewhere", "小山上", 1, L({}), L({"小山", "小"}), "小山", 1, 1, false, true},
        {"no candidate matches", "大家", 1, L({}), L({"大人"}), "大", 1, 1, false, true},
        {"only inside a longer entry", "猫", 1, L({}), L({"狗", "小猫"}), "猫", 1, 2, false, false},
        {"unknown character skipped", "龘好", 1, L({}), L({"好"}), "好", 2, 1, false, true},
        {"from the reading position", "好好", 2, L({"好"}), L({}), "好", 2, 1, true, true},
        // 𠮷 (U+20BB7), 𠀀 (U+20000) and 𠀋 (U+2000B) are characters of two UTF-16 units; the
        // last two share their first unit.
        {"a character beyond U+FFFF, whole", "𠮷", 1, L({}), L({"𠮷人"}), "𠮷", 1, 1, false, true},
        {"an unknown one skipped whole", "𠀀人", 1, L({}), L({"𠀋人"}), "人", 3, 1, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadAfterWord w = SegmentNextWord(QString::fromUtf8(c.text), c.readPos, c.lesson, c.course);
        ASSERT_FALSE(w.End);
        EXPECT_EQ(w.Word, QString::fromUtf8(c.word));
        EXPECT_EQ(w.ReadPos, c.pos);
        EXPECT_EQ(w.Entry, c.entry);
        EXPECT_EQ(w.FromLesson, c.fromLesson);
        EXPECT_EQ(w.WholeWord, c.wholeWord);
    }
}

TEST(ReadAfterTest, TextsWithoutKnownChineseEnd)
{
    for (const char* text : {"", "hello, world", "龘", "ni3 hao3\r\nHello."}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(SegmentNextWord(QString::fromUtf8(text), 1, L({"你好"}), L({"你"})).End);
    }
    EXPECT_TRUE(SegmentNextWord(QStringLiteral("你好"), 3, L({"你好"}), L({})).End);
    EXPECT_TRUE(SegmentNextWord(QStringLiteral("你好"), 0, L({"你好"}), L({})).End) << "the reading has ended";
}

TEST(ReadAfterTest, AWordTakesTheSyllablesAtItsPlaceInItsEntry)
{
    const struct {
        const char* word;
        const char* chinese;
        const char* pinyin;
        const char* expected;
    } cases[] = {
        {"你好", "你好", "n.i3 h.ao3", "ni3 hao3"},
        {"好", "你好", "n.i3 h.ao3", " hao3"},
        {"好", "你好！", "n.i3h.ao3", "hao3"},
        {"我", "我们", "w.o3m.en0", "wo3"},
        {"猫", "小狗", "xi.ao3 g.ou3", "xiao3"}, // not in its entry: the first syllable
        {"小狗", "大狗", "d.a4 g.ou3", "da4 gou3"},
        {"中", "（中）国", "zh.ong1 gu.o2", "zhong1"},
        {"好", "你好", "", ""},
        {"人", "𠮷人", "j.i2 r.en2", " ren2"},
        {"𠮷", "𠮷人", "j.i2 r.en2", "ji2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(WordPinyinInEntry(QString::fromUtf8(c.word), QString::fromUtf8(c.chinese), QString::fromUtf8(c.pinyin)),
                  QString::fromUtf8(c.expected));
    }
}

TEST(ReadAfterTest, TheHighlightStaysInTheRowBeingRead)
{
    const QString text = QStringLiteral("好人\r\n你好\r\n好");
    EXPECT_EQ(ReadAfterHighlight(text, QStringLiteral("好"), 1, 1), 0);
    EXPECT_EQ(ReadAfterHighlight(text, QStringLiteral("好"), 3, 6), 5);
    EXPECT_EQ(ReadAfterHighlight(text, QStringLiteral("人"), 4, 2), 1); // not found later: its own place
}

} // namespace
