#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ChatHistory.h"
#include "TestSupport.h"

namespace {

using ChatRows::Page;

TEST(ChatHistoryLines, LoadRulesSkipShortAndNonDigitLines)
{
    const QStringList lines = {
        QStringLiteral("1你好"),   // received
        QStringLiteral("0hello"),  // own
        QStringLiteral("7x"),      // any digit but 0 is received
        QStringLiteral("a你好"),   // starts with a letter
        QStringLiteral("1"),       // one character only
        QString(),
        QStringLiteral(" 1blank"), // starts with a blank
        QStringLiteral("０x"),     // a full-width digit is no digit here
        QStringLiteral("0 "),
    };
    const QVector<ChatMessage> messages = ChatHistory::FromLines(lines);
    ASSERT_EQ(messages.size(), 4);
    const struct {
        const char* text;
        bool received;
    } want[] = {{"你好", true}, {"hello", false}, {"x", true}, {" ", false}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(messages[i].Text, QString::fromUtf8(want[i].text));
        EXPECT_EQ(messages[i].Received, want[i].received);
        EXPECT_TRUE(messages[i].Sound.isEmpty());
    }
}

class ChatHistoryFile : public AppFixture {};

TEST_F(ChatHistoryFile, SavesGb18030WithCrLfAndLoadsItBack)
{
    const QVector<ChatMessage> messages = {
        {QStringLiteral("你好"), false, QStringLiteral("ni3hao3")},
        {QStringLiteral("ok 😀"), true, {}}, // outside code page 936: GB18030 keeps it
    };
    ASSERT_TRUE(ChatHistory::Save(messages).Ok);
    EXPECT_EQ(ReadFile("Record/Chat.txt"),
        QByteArray::fromHex("30C4E3BAC30D0A") + QByteArray("1ok ") + QByteArray::fromHex("9439FC360D0A"));
    const QVector<ChatMessage> loaded = ChatHistory::Load();
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded[0].Text, messages[0].Text);
    EXPECT_FALSE(loaded[0].Received);
    EXPECT_TRUE(loaded[0].Sound.isEmpty()) << "read-aloud sequences are not stored";
    EXPECT_EQ(loaded[1].Text, messages[1].Text);
    EXPECT_TRUE(loaded[1].Received);
    EXPECT_TRUE(QDir(Path("Record")).entryList(QDir::Files | QDir::Hidden).contains("Chat.txt"));
    EXPECT_EQ(QDir(Path("Record")).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary left";
}

TEST_F(ChatHistoryFile, NoMessagesWriteNothingAndAMissingFileLoadsNone)
{
    EXPECT_TRUE(ChatHistory::Load().isEmpty());
    EXPECT_TRUE(ChatHistory::Save({}).Ok);
    EXPECT_FALSE(QFile::exists(Path("Record/Chat.txt")));

    WriteFile("Record/Chat.txt", "1old\r\n");
    EXPECT_TRUE(ChatHistory::Save({}).Ok);
    EXPECT_EQ(ReadFile("Record/Chat.txt"), QByteArray("1old\r\n"));
    ChatHistory::Remove();
    WaitForWrites();
    EXPECT_FALSE(QFile::exists(Path("Record/Chat.txt")));
}

TEST(ChatRowsTest, TheLastPageFillsFromTheBottom)
{
    struct Case {
        int count;
        std::array<int, 10> rows;
        bool scroll;
        int maximum;
    };
    const Case cases[] = {
        {0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false, 0},
        {3, {0, 0, 0, 0, 0, 0, 0, 1, 2, 3}, false, 0},
        {10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, false, 0},
        {11, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true, 1},
        {40000, {39991, 39992, 39993, 39994, 39995, 39996, 39997, 39998, 39999, 40000}, true, 39990},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const Page page = ChatRows::LastPage(c.count);
        EXPECT_EQ(std::vector<int>(std::begin(page.Message), std::end(page.Message)),
            std::vector<int>(c.rows.begin(), c.rows.end()));
        EXPECT_EQ(page.ScrollEnabled, c.scroll);
        EXPECT_EQ(page.ScrollMaximum, c.maximum);
        EXPECT_EQ(page.ScrollValue, c.maximum);
    }
}

TEST(ChatRowsTest, ScrollingAndReadingARowNameTheSameMessage)
{
    const Page top = ChatRows::AtScroll(0, 11);
    EXPECT_EQ(top.Message[0], 1);
    EXPECT_EQ(top.Message[9], 10);
    EXPECT_EQ(ChatRows::AtScroll(1, 11).Message[9], 11);
    for (int count : {3, 10, 11, 25}) {
        const int maximum = std::max(0, count - 10);
        for (int value = 0; value <= maximum; ++value) {
            const Page page = value == maximum ? ChatRows::LastPage(count) : ChatRows::AtScroll(value, count);
            for (int row = 0; row < 10; ++row) {
                SCOPED_TRACE(testing::Message() << count << " messages, value " << value << ", row " << row);
                EXPECT_EQ(ChatRows::MessageOfRow(row, count, value), page.Message[row]);
            }
        }
    }
    EXPECT_EQ(ChatRows::MessageOfRow(-1, 3, 0), 0);
    EXPECT_EQ(ChatRows::MessageOfRow(10, 3, 0), 0);
}

} // namespace
