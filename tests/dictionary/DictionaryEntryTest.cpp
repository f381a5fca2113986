#include <gtest/gtest.h>

#include "DictionaryFixture.h"
#include "DictionaryRules.h"
#include "Module3Rtf.h"

namespace {

class EntryTest : public DictionaryFixture {
protected:
    void SetUp() override
    {
        DictionaryFixture::SetUp();
        State().AppPath = QStringLiteral("/app/");
    }

    // Searches word and returns the row of the hit whose Chinese column is chinese.
    HitRow Hit(const QString& word, const QString& chinese)
    {
        QString w = word;
        const SearchOutcome out = m_rules.Search(w, false);
        for (const HitRow& row : out.Rows)
            if (row.Chinese == chinese)
                return row;
        ADD_FAILURE() << "no hit " << chinese.toStdString();
        return HitRow{};
    }

    // One sentence per example, numbered in its English so the lines can be told apart.
    static void AddSentences(const QString& chinese, int count, int from = 1)
    {
        for (int k = from; k < from + count; ++k)
            AddSentence(chinese, QStringLiteral("E%1.").arg(k));
    }

    DictionaryRules m_rules;
};

TEST_F(EntryTest, EntryContentFollowsTheQuizAndTheActivity)
{
    AddSentences(u"你好吗？"_qs, 2);
    struct Case {
        const char16_t* word;
        bool quiz;
        qint16 activity;
        bool meaning;  // meaning and source shown
        bool examples; // the example lines shown
        bool hidden;   // "(being hid)" in their place
    };
    const Case cases[] = {
        // 你好 has examples, 我们 has none.
        {u"你好", false, 1, true, true, false},
        {u"你好", false, 0, true, true, false},
        {u"你好", false, 6, true, true, false},
        {u"你好", false, 3, false, true, false}, // the vocabulary test keeps the meaning to itself
        {u"你好", true, 1, true, false, true},
        {u"你好", true, 3, true, false, true},
        {u"我们", false, 1, true, false, false},
        {u"我们", false, 3, true, false, false}, // without examples the whole entry shows
        {u"我们", true, 3, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.word).toStdString() + (c.quiz ? " quiz " : " ") + std::to_string(c.activity));
        DictionaryRules rules;
        QString word = QString::fromUtf16(c.word);
        const SearchOutcome out = rules.Search(word, false);
        ASSERT_GE(out.OpenRow, 1);
        const HitRow& row = out.Rows[out.OpenRow - 1];
        const auto view = rules.ShowHit(row, EntryContext{c.quiz, c.activity, false, false});
        ASSERT_TRUE(view.has_value());
        EXPECT_EQ(view->Rtf.contains(row.English), c.meaning);
        EXPECT_EQ(view->Rtf.contains(u"[Lesson 3]"_qs), c.meaning);
        EXPECT_EQ(view->Rtf.contains(u"E1."_qs), c.examples);
        EXPECT_EQ(view->Rtf.contains(u"(being hid)"_qs), c.hidden);
        EXPECT_EQ(view->Rtf.contains(u"Example Sentences:"_qs), c.examples || c.hidden);
        EXPECT_EQ(rules.LocateFrom, row.Chinese.size() + 1);
        // A quiz neither reads nor fills the examples of the hit.
        EXPECT_EQ(rules.ExampleCache[out.OpenRow - 1].isEmpty(), c.quiz);
    }
}

TEST_F(EntryTest, EntryShowsPinyinAndSourceAsTheColumnsSayThem)
{
    const HitRow additional = Hit(u"OK"_qs, u"好(的)"_qs);
    const auto view = m_rules.ShowHit(additional, EntryContext{});
    ASSERT_TRUE(view);
    EXPECT_EQ(view->Rtf, RtfDictionaryEntry(u"好(的)"_qs, u" [hǎo de]"_qs, u" OK "_qs, u"[Additional Vocabulary]"_qs,
                             QString(), 15));

    HitRow bare = additional;
    bare.Pinyin.clear();
    bare.Origin1 = QStringLiteral("5");
    EXPECT_EQ(m_rules.ShowHit(bare, EntryContext{})->Rtf,
        RtfDictionaryEntry(u"好(的)"_qs, QString(), u" OK "_qs, QString(), QString(), 15));
}

TEST_F(EntryTest, NothingShowsAfterASearchWithoutHits)
{
    const HitRow row = Hit(u"hello"_qs, u"你好"_qs);
    QString miss = QStringLiteral("xyz");
    m_rules.Search(miss, false);
    EXPECT_FALSE(m_rules.ShowHit(row, EntryContext{}).has_value());
}

TEST_F(EntryTest, TheEntrySpeaksOneSyllableOnItsOwnPlayerOrTheWholeWordThroughTheQueue)
{
    struct Case {
        const char16_t* query;
        const char16_t* chinese;
        EntryContext context;
        EntrySound::Kind play;
        const char16_t* tone;
        const char16_t* syllable;
        const char16_t* pathOrSequence;
    };
    const Case cases[] = {
        {u"mum", u"妈", {}, EntrySound::SyllableFile, u"0", u"ma1", u"/app/Phonetic Symbols/M/ma1.wav"},
        {u"good", u"好", {}, EntrySound::SyllableFile, u"3", u"hao3", u"/app/Phonetic Symbols/H/hao3.wav"},
        {u"hello", u"你好", {}, EntrySound::SyllableQueue, u"", u"", u"ni3 hao3"},
        {u"OK", u"好(的)", {}, EntrySound::SyllableQueue, u"", u"", u"hao3 de0"},
        {u"good", u"好", {false, 3, false, false}, EntrySound::Nothing, u"", u"", u""},
        {u"good", u"好", {false, 6, false, false}, EntrySound::Nothing, u"", u"", u""},
        {u"good", u"好", {false, 1, true, false}, EntrySound::Nothing, u"", u"", u""},
        {u"good", u"好", {false, 1, false, true}, EntrySound::Nothing, u"", u"", u""},
        {u"good", u"好", {true, 1, false, false}, EntrySound::SyllableFile, u"3", u"hao3", u"/app/Phonetic Symbols/H/hao3.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.chinese).toStdString());
        DictionaryRules rules;
        QString word = QString::fromUtf16(c.query);
        const SearchOutcome out = rules.Search(word, false);
        const auto hit = std::find_if(out.Rows.begin(), out.Rows.end(),
            [&](const HitRow& r) { return r.Chinese == QString::fromUtf16(c.chinese); });
        ASSERT_NE(hit, out.Rows.end());
        const EntrySound sound = rules.ShowHit(*hit, c.context)->Sound;
        EXPECT_EQ(sound.Play, c.play);
        EXPECT_EQ(sound.Tone, QString::fromUtf16(c.tone));
        EXPECT_EQ(sound.Syllable, QString::fromUtf16(c.syllable));
        EXPECT_EQ(c.play == EntrySound::SyllableQueue ? sound.Sequence : sound.Path, QString::fromUtf16(c.pathOrSequence));
    }

    // A one-character word without a tone digit plays the syllable as written, as tone 0.
    HitRow row = Hit(u"good"_qs, u"好"_qs);
    row.Pinyin = QStringLiteral("hao");
    const EntrySound plain = m_rules.ShowHit(row, EntryContext{})->Sound;
    EXPECT_EQ(plain.Tone, u"0"_qs);
    EXPECT_EQ(plain.Path, u"/app/Phonetic Symbols/H/hao.wav"_qs);
}

TEST_F(EntryTest, ExamplesAreSentencesHoldingTheDottedPartsInOrder)
{
    AddSentence(u"我打了电话。"_qs, u"parts apart"_qs);
    AddSentence(u"电话打不通。"_qs, u"parts reversed"_qs);
    AddSentence(u"打电话吧。"_qs, u"parts together"_qs);
    AddSentence(u"他打球。"_qs, u"first part only"_qs);
    AddSentence(u"好。"_qs, u"one good"_qs);
    AddSentence(u"好好学习。"_qs, u"two goods"_qs);
    struct Case {
        const char16_t* headword;
        QStringList found;
    };
    const Case cases[] = {
        {u"打.电话", {u"parts apart"_qs, u"parts together"_qs}},
        {u"打(电话)", {u"parts together"_qs}}, // brackets go, their content stays
        {u"打（电话）", {u"parts together"_qs}},
        {u"打.电话.", {u"parts apart"_qs, u"parts together"_qs}}, // empty parts are dropped
        {u"好.好", {u"two goods"_qs}},                              // parts never overlap
        {u"打", {u"parts apart"_qs, u"parts reversed"_qs, u"parts together"_qs, u"first part only"_qs}},
        // Nothing left to look for: no examples, rather than every sentence.
        {u"", {}},
        {u"..", {}},
        {u"(.)", {}},
    };
    const QStringList all{u"parts apart"_qs, u"parts reversed"_qs, u"parts together"_qs, u"first part only"_qs,
        u"one good"_qs, u"two goods"_qs};
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.headword).toStdString());
        DictionaryRules rules;
        rules.ExampleCache = QStringList(1);
        const QString examples = rules.FindExampleSentences(QString::fromUtf16(c.headword), 1);
        EXPECT_EQ(examples == u"0"_qs, c.found.isEmpty());
        for (const QString& english : all)
            EXPECT_EQ(examples.contains(english), c.found.contains(english)) << english.toStdString();
        EXPECT_EQ(rules.ExampleCache[0], examples);
    }
}

TEST_F(EntryTest, AtMostTenExamplesNumberedFrom01To10)
{
    AddSentences(u"我们走吧。"_qs, 12);
    m_rules.ExampleCache = QStringList(1);
    const QString examples = m_rules.FindExampleSentences(u"我们"_qs, 1);
    for (int k = 1; k <= 12; ++k)
        EXPECT_EQ(examples.contains(QStringLiteral("E%1.").arg(k)), k <= 10) << k;
    QString expected;
    for (int k = 1; k <= 10; ++k)
        expected += RtfExampleChineseLine(QStringLiteral("%1）我们走吧。").arg(k, 2, 10, QLatin1Char('0')), 0)
            + RtfExampleEnglishLine(QStringLiteral("E%1.").arg(k), 14);
    EXPECT_EQ(examples, expected);
}

TEST_F(EntryTest, ExamplesAreLookedUpOncePerSearch)
{
    AddSentences(u"你好！"_qs, 1);
    const HitRow row = Hit(u"hello"_qs, u"你好"_qs);
    ASSERT_TRUE(m_rules.ShowHit(row, EntryContext{})->Rtf.contains(u"E1."_qs));
    // The second display reads the cache, even though the sentences changed meanwhile.
    State().SentenceTable[0].English = QStringLiteral("Changed.");
    EXPECT_TRUE(m_rules.ShowHit(row, EntryContext{false, 3, false, false})->Rtf.contains(u"E1."_qs));
    // A new search with hits drops the cache.
    const HitRow again = Hit(u"你好"_qs, u"你好"_qs);
    EXPECT_TRUE(m_rules.ShowHit(again, EntryContext{})->Rtf.contains(u"Changed."_qs));
}

TEST_F(EntryTest, LocateTargetIsTheFirstPartOutsideBrackets)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"你好", u"你好"}, {u"打(电话)", u"打"}, {u"(电话)打", u"打"}, {u"打.电话", u"打"},
        {u".打", u"打"}, {u"电(话)筒", u"电"}, {u"(电话)", u""}, {u"..", u""}, {u"", u""},
    };
    for (const auto& [headword, target] : cases) {
        SCOPED_TRACE(QString::fromUtf16(headword).toStdString());
        EXPECT_EQ(LocateTarget(QString::fromUtf16(headword)), QString::fromUtf16(target));
    }
}

TEST_F(EntryTest, LocateWalksThroughTheOccurrencesAndWrapsAfterTheHeadword)
{
    // The headword first, then two occurrences in the examples.
    const QString entry = u"你好 [nǐ hǎo] hello\r\nExample Sentences:\r\n01）你好吗？\r\n02）他说你好"_qs;
    const qsizetype first = entry.indexOf(u"你好"_qs, 2);
    const qsizetype second = entry.indexOf(u"你好"_qs, first + 1);
    int from = 3; // after the headword, as showing the entry leaves it
    std::vector<qsizetype> walk;
    for (int press = 0; press < 5; ++press) {
        const LocateStep step = LocateNext(u"你好"_qs, entry, from, 2);
        ASSERT_TRUE(step.Found);
        EXPECT_EQ(step.SelLength, 2);
        walk.push_back(step.SelStart);
        from = step.LocateFrom;
    }
    EXPECT_EQ(walk, (std::vector<qsizetype>{first, second, first, second, first}));

    // The wrap starts after the search box text, which may be longer than the headword.
    EXPECT_EQ(LocateNext(u"你好"_qs, entry, int(second) + 3, int(first) + 1).SelStart, second);
    // Case is ignored.
    EXPECT_EQ(LocateNext(u"HELLO"_qs, entry, 1, 2).SelStart, entry.indexOf(u"hello"_qs));
    // A word that is not in the entry: caret to the start, the walk starts over after the box text.
    const LocateStep none = LocateNext(u"走"_qs, entry, 9, 2);
    EXPECT_FALSE(none.Found);
    EXPECT_EQ(none.SelStart, 0);
    EXPECT_EQ(none.LocateFrom, 3);
    EXPECT_FALSE(LocateNext(QString(), entry, 1, 2).Found);
    // Positions past the end wrap; positions before the start read from the start.
    EXPECT_EQ(LocateNext(u"你好"_qs, entry, 5000, 2).SelStart, first);
    EXPECT_EQ(LocateNext(u"你好"_qs, entry, -4, 2).SelStart, 0);
}

} // namespace
