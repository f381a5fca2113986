// The on-line result cache: the stored form, the display from the cache, the caching rules,
// and the two Record files as the loading window reads them back.

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include "AppState.h"
#include "CharacterTable.h"
#include "CodePage.h"
#include "LoadingSteps.h"
#include "Module3Rtf.h"
#include "OnlineCache.h"
#include "ResultPage.h"
#include "SafeFile.h"
#include "ServicePages.h"
#include "TestSupport.h"
#include "TextFilters.h"

namespace {

const QString Label = QStringLiteral("[Lexicon Online]");

class NullProgress : public LoadProgress {
public:
    void SetMaximum(int, int) override {}
    int Maximum(int) const override { return 100; }
    int Value(int) const override { return 0; }
    void SetValue(int, int) override {}
    void SetCaption(int, const QString&) override {}
    void ProcessEvents() override {}
};

class OnlineCacheTest : public AppFixture {
protected:
    // Shows the page for query as the window would, then stores it.
    QString StorePage(OnlineCache& cache, const QString& query, const QString& page)
    {
        const QString shown = ShownText(HtmlToRtf(page, query, Label));
        cache.AddCacheEntry(query, shown);
        return shown;
    }
    QStringList WordLines() const
    {
        return CodePage::FromGbk(ReadFile(QStringLiteral("Record/wangci.txt"))).split(QStringLiteral("\r\n"));
    }
    qint16 CountRecord() const
    {
        const QByteArray b = ReadFile(QStringLiteral("Record/Cang.vmq"));
        return b.size() >= 2 ? qFromLittleEndian<qint16>(b.constData()) : qint16(-1);
    }
    void Restart()
    {
        ResetState();
        NullProgress progress;
        LoadOnlineWords(progress);
    }
};

// Result lines as shown, each trimmed and its runs of blanks collapsed: the layouts indent
// examples differently when fresh and when cached, and trim some parts only when cached.
QStringList TrimmedLines(const QString& shown)
{
    QStringList lines = shown.split(QStringLiteral("\r\n"));
    for (QString& l : lines)
        l = CollapseSpaces(l.trimmed());
    return lines;
}

TEST_F(OnlineCacheTest, StoredForm)
{
    struct Case {
        const char* name;
        QString shown; // without the heading
        QString stored;
    };
    const Case cases[] = {
        {"chinese with two examples",
         QStringLiteral(" [zhōng wén] Chinese    [Lexicon Online]\r\n            Example Sentences:\r\n我会说中文。\r\n  I speak Chinese.\r\n"),
         QStringLiteral(" [zhōng wén] Chinese##我会说中文。#I speak Chinese.#")},
        {"no examples: the indent line is kept empty", QStringLiteral(" hi    [Lexicon Online]\r\n       \r\n"),
         QStringLiteral(" hi###")},
        {"label absent", QStringLiteral("text\r\nmore"), QStringLiteral("text\r\nmore")},
        {"label first", QStringLiteral("    [LEXICON ONLINE]\r\nx"), QStringLiteral("#x#")},
        {"last line without a break is added only when not blank", QStringLiteral(" a    [Lexicon Online]\r\nb\r\n  "),
         QStringLiteral(" a##b#")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StoredEntryText(c.shown, Label), c.stored);
    }
}

TEST_F(OnlineCacheTest, ShownReading)
{
    EXPECT_EQ(ShownReading(QStringLiteral("中文 [zhōng wén] Chinese")), QStringLiteral("zhōng wén"));
    EXPECT_EQ(ShownReading(QStringLiteral("中 [zhong1] x")), QStringLiteral("zhong"));
    EXPECT_EQ(ShownReading(QStringLiteral("中 x#[zhōng]")), QString());
    EXPECT_EQ(ShownReading(QStringLiteral("中 [zhōng")), QStringLiteral("zhōng"));
}

TEST_F(OnlineCacheTest, CachedDisplayShowsWhatTheFreshResultShowed)
{
    struct Case {
        const char* name;
        QString query;
        QString page;
    };
    const Case cases[] = {
        {"chinese", QStringLiteral("中文"),
         Pages::Chinese(QStringLiteral("中文"), QStringLiteral("zhōng wén"), {QStringLiteral("Chinese"), QStringLiteral("the language")},
             {QStringLiteral("我会说中文。"), QStringLiteral("I speak Chinese.")})},
        {"chinese without examples", QStringLiteral("汉"), Pages::Chinese(QStringLiteral("汉"), QStringLiteral("hàn"), {QStringLiteral("Han")})},
        {"english", QStringLiteral("hello"),
         Pages::English(QStringLiteral("hello"), {QStringLiteral("greeting"), QStringLiteral("surprise")},
             {QStringLiteral("你好！"), QStringLiteral("Hello!")})},
        {"pinyin word list", QStringLiteral("han4 yu3"), Pages::WordList({QStringLiteral("汉语"), QStringLiteral("汗雨")})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetState();
        OnlineCache cache(Label);
        const QString fresh = StorePage(cache, c.query, c.page);
        ASSERT_EQ(State().OnlineWordCount, 1);
        const QString cached = ShownText(CachedResultRtf(State().OnlineWordTable.at(0), c.query, Label));
        EXPECT_EQ(TrimmedLines(cached), TrimmedLines(fresh));
    }
}

TEST_F(OnlineCacheTest, CachedDisplayIsHeadedByTheStoredWord)
{
    const OnlineWord record{QStringLiteral("hello"), QStringLiteral(" 1) greeting;##Hi there#")};
    const QString shown = ShownText(CachedResultRtf(record, QStringLiteral("HELLO"), Label));
    // The meanings begin with a digit, which the encoder sets apart by a blank.
    EXPECT_TRUE(shown.startsWith(QStringLiteral("hello  1) greeting;    [Lexicon Online]"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Hi there")));
}

TEST_F(OnlineCacheTest, WhatIsStored)
{
    OnlineCache cache(Label);
    const QString page = Pages::English(QStringLiteral("x"), {QStringLiteral("m")});
    StorePage(cache, QStringLiteral("a:b"), page);
    EXPECT_EQ(State().OnlineWordCount, 0) << "a query holding a colon is shown, not stored";

    State().OnlineWordTable.resize(OnlineTableLimit);
    State().OnlineWordCount = qint16(OnlineTableLimit);
    StorePage(cache, QStringLiteral("汉语"), Pages::Chinese(QStringLiteral("汉语"), QStringLiteral("hàn yǔ"), {QStringLiteral("Chinese")}));
    EXPECT_EQ(State().OnlineWordCount, OnlineTableLimit) << "a full table stores nothing more";
    // The character table still learns the word, with the first syllable's reading.
    const int record = FindCharacterRecord(QStringLiteral("汉"));
    ASSERT_LE(record, State().CharacterCount);
    const CharacterRecord& han = State().CharacterTable.at(record - 1);
    EXPECT_EQ(han.Phrases, QStringList{QStringLiteral("语")});
    ASSERT_EQ(han.ReadingCount(), 1);
    EXPECT_EQ(han.Readings.at(0).DottedSyllable, QStringLiteral("h.an"));
    EXPECT_EQ(han.Readings.at(0).Tone, QStringLiteral("4"));
}

TEST_F(OnlineCacheTest, SavesEveryFiftyNewRecordsAndOnlyWhenWritten)
{
    OnlineCache cache(Label);
    const QString page = Pages::English(QStringLiteral("w"), {QStringLiteral("meaning")});
    for (int i = 1; i <= 49; ++i)
        StorePage(cache, QStringLiteral("word%1x").arg(i), page);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Record/wangci.txt"))));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Record/Cang.vmq"))));
    StorePage(cache, QStringLiteral("word50x"), page);
    EXPECT_EQ(WordLines().size(), 51); // 50 lines and the empty text after the last break
    EXPECT_EQ(CountRecord(), 50);
    EXPECT_EQ(cache.SavedWordCount(), 50);

    // A save that fails keeps the count behind, so the next record tries again.
    QFile::remove(Path(QStringLiteral("Record/wangci.txt")));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("Record/wangci.txt"))));
    for (int i = 51; i <= 100; ++i)
        StorePage(cache, QStringLiteral("word%1x").arg(i), page);
    EXPECT_EQ(cache.SavedWordCount(), 50);
    EXPECT_EQ(m_boxes->Boxes().size(), 1);
    ASSERT_TRUE(QDir(Path(QStringLiteral("Record/wangci.txt"))).removeRecursively());
    StorePage(cache, QStringLiteral("word101x"), page);
    EXPECT_EQ(cache.SavedWordCount(), 101);
    EXPECT_EQ(WordLines().size(), 102);
    EXPECT_EQ(CountRecord(), 101);
    const QStringList left = QDir(Path(QStringLiteral("Record"))).entryList(QDir::Files);
    EXPECT_EQ(left, (QStringList{QStringLiteral("Cang.vmq"), QStringLiteral("wangci.txt")})) << "no temporary file left";
}

TEST_F(OnlineCacheTest, SaveAtExit)
{
    {
        OnlineCache cache(Label);
        EXPECT_TRUE(cache.SaveCache());
        EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("Record/Cang.vmq")))) << "nothing to write for an empty table";
        StorePage(cache, QStringLiteral("hello"), Pages::English(QStringLiteral("hello"), {QStringLiteral("greeting")}));
        EXPECT_TRUE(cache.SaveCache());
    }
    EXPECT_EQ(WordLines(), (QStringList{QStringLiteral("hello: 1) greeting;###"), QString()}));

    // A run that stores nothing rewrites the count and leaves the text file alone...
    Restart();
    WriteFile(QStringLiteral("Record/wangci.txt"), "hello: 1) greeting;###\r\nextra: x\r\n");
    WriteFile(QStringLiteral("Record/Cang.vmq"), QByteArray("\x07\x00\xAA\xBB", 4));
    OnlineCache cache(Label);
    EXPECT_TRUE(cache.SaveCache());
    EXPECT_EQ(ReadFile(QStringLiteral("Record/wangci.txt")), QByteArray("hello: 1) greeting;###\r\nextra: x\r\n"));
    EXPECT_EQ(ReadFile(QStringLiteral("Record/Cang.vmq")), QByteArray("\x01\x00\xAA\xBB", 4));
    // ...and writes it again when it was deleted meanwhile.
    QFile::remove(Path(QStringLiteral("Record/wangci.txt")));
    EXPECT_TRUE(cache.SaveCache());
    EXPECT_EQ(WordLines().first(), QStringLiteral("hello: 1) greeting;###"));

    // Both files failing: one warning, and the save says so.
    StorePage(cache, QStringLiteral("bye"), Pages::English(QStringLiteral("bye"), {QStringLiteral("farewell")}));
    QFile::remove(Path(QStringLiteral("Record/wangci.txt")));
    QFile::remove(Path(QStringLiteral("Record/Cang.vmq")));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("Record/wangci.txt"))));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("Record/Cang.vmq"))));
    m_boxes->Clear();
    EXPECT_FALSE(cache.SaveCache());
    EXPECT_EQ(m_boxes->Boxes().size(), 1);
}

TEST_F(OnlineCacheTest, AFailedSaveWarnsOnceUntilASaveSucceeds)
{
    OnlineCache cache(Label);
    const QString page = Pages::English(QStringLiteral("w"), {QStringLiteral("meaning")});
    const auto block = [this](bool on) {
        for (const char* name : {"Record/wangci.txt", "Record/Cang.vmq"}) {
            QFile::remove(Path(QLatin1String(name)));
            if (on)
                ASSERT_TRUE(QDir().mkpath(Path(QLatin1String(name))));
            else
                ASSERT_TRUE(QDir(Path(QLatin1String(name))).removeRecursively());
        }
    };
    int n = 0;
    const struct {
        const char* why;
        int newWords;
        bool blocked;
        qint16 saved;
        int warnings;
    } steps[] = {
        {"the 50th word's save fails", 50, true, 0, 1},
        {"every later word tries again, silently", 5, true, 0, 1},
        {"a save that succeeds writes everything", 1, false, 56, 1},
        {"the next failure is reported again", 50, true, 56, 2},
    };
    for (const auto& st : steps) {
        SCOPED_TRACE(st.why);
        block(st.blocked);
        for (int i = 0; i < st.newWords; ++i)
            StorePage(cache, QStringLiteral("word%1x").arg(++n), page);
        EXPECT_EQ(cache.SavedWordCount(), st.saved);
        EXPECT_EQ(m_boxes->Boxes().size(), st.warnings);
    }
}

// Large results never take the file past what the loader reads back: it keeps the records that
// fit, the learner is told once of the rest, and what it keeps loads at every later start.
TEST_F(OnlineCacheTest, TheWordFileKeepsWhatFitsAndLoadsItBackAtEveryStart)
{
    const qsizetype large = 17 << 20; // three fit in the bound, four do not
    {
        OnlineCache cache(Label);
        for (int i = 0; i < 4; ++i) {
            State().OnlineWordTable.append({QStringLiteral("large%1").arg(i), QStringLiteral(" 1) ") + QString(large, u'a')});
            ++State().OnlineWordCount;
        }
        EXPECT_TRUE(cache.SaveCache());
        ASSERT_EQ(m_boxes->Boxes().size(), 1);
        EXPECT_TRUE(m_boxes->Boxes()[0].text.contains(QDir::toNativeSeparators(Path("Record/wangci.txt"))));
        EXPECT_TRUE(cache.SaveCache());
        EXPECT_EQ(m_boxes->Boxes().size(), 1) << "told once";
    }
    EXPECT_LE(QFileInfo(Path("Record/wangci.txt")).size(), SafeFile::MaxTextFileBytes);
    Restart();
    ASSERT_EQ(State().OnlineWordCount, 3);
    {
        OnlineCache cache(Label);
        StorePage(cache, QStringLiteral("hello"), Pages::English(QStringLiteral("hello"), {QStringLiteral("greeting")}));
        EXPECT_TRUE(cache.SaveCache());
    }
    Restart();
    ASSERT_EQ(State().OnlineWordCount, 4);
    EXPECT_EQ(State().OnlineWordTable.at(2).Word, QStringLiteral("large2"));
    EXPECT_EQ(State().OnlineWordTable.at(2).Entry.size(), large + 4);
    EXPECT_EQ(State().OnlineWordTable.at(3).Word, QStringLiteral("hello"));
    EXPECT_EQ(m_boxes->Boxes().size(), 1);
}

TEST_F(OnlineCacheTest, RoundTripThroughTheFilesAndTheLoader)
{
    const QString chinese = Pages::Chinese(QStringLiteral("中文"), QStringLiteral("zhōng wén"),
        {QStringLiteral("Chinese")}, {QStringLiteral("我会说中文。"), QStringLiteral("I speak Chinese.")});
    const QString english = Pages::English(QStringLiteral("naïve"), {QStringLiteral("innocent")});
    QString freshChinese, freshEnglish;
    {
        OnlineCache cache(Label);
        freshChinese = StorePage(cache, QStringLiteral("中文"), chinese);
        freshEnglish = StorePage(cache, QStringLiteral("naïve"), english);
        ASSERT_TRUE(cache.SaveCache());
    }
    // GB18030: the 936 bytes for 中, and ï (which 936 lacks) kept.
    EXPECT_TRUE(ReadFile(QStringLiteral("Record/wangci.txt")).startsWith(QByteArray("\xD6\xD0\xCE\xC4: [")));
    Restart();
    ASSERT_EQ(State().OnlineWordCount, 2);
    EXPECT_EQ(State().OnlineWordTable.at(1).Word, QStringLiteral("naïve"));
    EXPECT_EQ(TrimmedLines(ShownText(CachedResultRtf(State().OnlineWordTable.at(0), QStringLiteral("中文"), Label))),
        TrimmedLines(freshChinese));
    EXPECT_EQ(TrimmedLines(ShownText(CachedResultRtf(State().OnlineWordTable.at(1), QStringLiteral("NAÏVE"), Label))),
        TrimmedLines(freshEnglish));
    // The loader gave the word to the character table too.
    EXPECT_LE(FindCharacterRecord(QStringLiteral("中")), State().CharacterCount);
}

TEST_F(OnlineCacheTest, CharactersBeyondTheBasicPlaneGetARecordAndReadingEach)
{
    // U+20000 and U+20001 begin with the same unit.
    const struct {
        QString character;
        QString pinyin;
        const char* syllable;
    } characters[] = {
        {QStringLiteral("\U00020000"), QStringLiteral("qiū"), "qiu"},
        {QStringLiteral("\U00020001"), QStringLiteral("hē"), "he"},
    };
    const auto expectOwnRecords = [&] {
        for (const auto& c : characters) {
            SCOPED_TRACE(c.syllable);
            const int found = FindCharacterRecord(c.character);
            ASSERT_LE(found, State().CharacterCount);
            const CharacterRecord& record = State().CharacterTable.at(found - 1);
            EXPECT_EQ(record.Character, c.character);
            ASSERT_EQ(record.ReadingCount(), 1);
            EXPECT_EQ(record.Readings.at(0).Syllable, QLatin1String(c.syllable));
        }
    };
    {
        OnlineCache cache(Label);
        for (const auto& c : characters)
            StorePage(cache, c.character, Pages::Chinese(c.character, c.pinyin, {QStringLiteral("rare")}));
        ASSERT_EQ(State().OnlineWordCount, 2);
        expectOwnRecords();
        ASSERT_TRUE(cache.SaveCache());
    }
    Restart();
    ASSERT_EQ(State().OnlineWordCount, 2);
    expectOwnRecords();
}

} // namespace
