#include <gtest/gtest.h>

#include "AppState.h"
#include "CharacterTable.h"
#include "Clock.h"
#include "SharedPlayer.h"
#include "TestSupport.h"
#include "WavFile.h"
#include "WavePlayer.h"
#include "ZoomRules.h"

namespace {

struct Word {
    const char* chinese;
    const char* pinyin;
};

class ZoomRulesTest : public AppFixture {
protected:
    void SetVocabulary(std::initializer_list<Word> words)
    {
        AppState& s = State();
        for (const Word& w : words) {
            s.WordText[0] << QString::fromUtf8(w.chinese);
            s.WordText[1] << QStringLiteral(" meaning ");
            s.WordPinyin << QString::fromUtf8(w.pinyin);
        }
        s.WordCount = s.WordCountCopy = qint16(s.WordText[0].size());
    }
    static void AddCharacter(const char* ch, const char* pinyin)
    {
        CharacterRecord r;
        r.Character = QString::fromUtf8(ch);
        r.Readings = ReadingsFromSyllables(QString::fromUtf8(pinyin));
        ASSERT_TRUE(AppendCharacterRecord(r));
    }
};

const QStringList kHao{"hao4", "hao3"}; // readings of 好, the third tone second

} // namespace

TEST_F(ZoomRulesTest, NeighboursChooseTheReadingThroughTheFirstEntryHoldingAPair)
{
    const struct {
        const char* what;
        std::initializer_list<Word> vocabulary;
        const char* prev;
        const char* next;
        ReadingChoice choice;
    } cases[] = {
        {"pair with the previous character: syllable p + 1", {{"你好", "n.i3 h.ao3"}}, "你", "", {2, true}},
        {"pair with the next character: syllable p", {{"好人", "h.ao3 r.en2"}}, "", "人", {2, true}},
        {"the earlier entry wins, whichever pair it holds",
         {{"好人", "h.ao4 r.en2"}, {"你好", "n.i3 h.ao3"}}, "你", "人", {1, true}},
        {"within one entry the previous pair is tried first", {{"你好好人", "n.i3 h.ao3 h.ao4 r.en2"}}, "你", "人",
         {2, true}},
        {"positions count in the text without punctuation", {{"。你好", "n.i3 h.ao3"}}, "你", "", {2, true}},
        {"（ before the pair", {{"（很）好人", "h.en3 h.ao4 r.en2"}}, "", "人", {1, true}},
        {"no entry holds a pair: the first reading", {{"你们", "n.i3 m.en0"}}, "你", "", {1, true}},
        {"no neighbours: the first reading", {{"你好", "n.i3 h.ao3"}}, "", "", {1, true}},
        {"the entry's syllable matches no reading: nothing", {{"你好", "n.i3 h.ao2"}}, "你", "", {0, false}},
        {"the entry has too few syllables: nothing", {{"你好", "n.i3"}}, "你", "", {0, false}},
        {"the entry has no syllables: nothing", {{"你好", ""}}, "你", "", {0, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetState();
        SetVocabulary(c.vocabulary);
        EXPECT_EQ(ChooseReading(kHao, QStringLiteral("好"), QString::fromUtf8(c.prev), QString::fromUtf8(c.next)),
                  c.choice);
    }
}

TEST_F(ZoomRulesTest, OneReadingIsSpokenNotRedAndNoReadingIsSilent)
{
    SetVocabulary({{"你好", "n.i3 h.ao4"}});
    EXPECT_EQ(ChooseReading({"hao3"}, QStringLiteral("好"), QStringLiteral("你"), QString()), (ReadingChoice{1, false}));
    EXPECT_EQ(ChooseReading({}, QStringLiteral("好"), QStringLiteral("你"), QString()), (ReadingChoice{0, false}));
}

TEST_F(ZoomRulesTest, OnlyEntriesUpToTheWordCountDecide)
{
    SetVocabulary({{"你们", "n.i3 m.en0"}, {"你好", "n.i3 h.ao3"}});
    State().WordCount = 1;
    EXPECT_EQ(ChooseReading(kHao, QStringLiteral("好"), QStringLiteral("你"), QString()), (ReadingChoice{1, true}));
}

TEST_F(ZoomRulesTest, WordSyllablesAreClosedByTheirDigits)
{
    const struct {
        const char* pinyin;
        QStringList syllables;
    } cases[] = {
        {"h.ao3 p.eng2 y.ou3", {"hao3", "peng2", "you3"}},
        {"n.i3h.ao3", {"ni3", "hao3"}},
        {" l.e0 ", {"le0"}},
        {"d.a4 x.ue", {"da4"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pinyin);
        EXPECT_EQ(WordSyllables(QString::fromUtf8(c.pinyin)), c.syllables);
    }
}

TEST_F(ZoomRulesTest, LookUpListsTheReadingsOfTheFirstRecord)
{
    AddCharacter("好", "h.ao3 h.ao4");
    AddCharacter("好", "h.ao1");
    SetVocabulary({{"好人", "h.ao4 r.en2"}});
    const PopupContent found = LookUpCharacter(QStringLiteral("好"), QString(), QStringLiteral("人"));
    EXPECT_EQ(found.RecordIndex, 1);
    ASSERT_EQ(found.Labels.size(), 2);
    EXPECT_EQ(found.Labels.at(0).Text, "hǎo");
    EXPECT_EQ(found.Labels.at(0).ToolTip, "hao3");
    EXPECT_EQ(found.Labels.at(1).Text, "hào");
    EXPECT_EQ(found.Choice, (ReadingChoice{2, true}));

    const PopupContent missing = LookUpCharacter(QStringLiteral("我"), QString(), QString());
    EXPECT_EQ(missing.RecordIndex, 0);
    EXPECT_TRUE(missing.Labels.isEmpty());
    EXPECT_EQ(missing.Choice, ReadingChoice{});
}

TEST_F(ZoomRulesTest, ReadingsPlayTheirSyllableFileAndTheNeutralToneTheFirst)
{
    const QString dir = State().AppPath + "Phonetic Symbols/";
    const struct {
        const char* what;
        ReadingSound sound;
        QString path;
        QString tone;
    } cases[] = {
        {"table reading", CharacterReadingSound(MakeReading("h.ao", '3')), dir + "H/hao3.wav", "3"},
        {"table reading, neutral", CharacterReadingSound(MakeReading("d.e", '0')), dir + "D/de1.wav", "0"},
        {"table reading, ü", CharacterReadingSound(MakeReading("l.v", '4')), dir + "L/lv4.wav", "4"},
        {"given syllable", GivenPinyinSound("hao3"), dir + "H/hao3.wav", "3"},
        {"given syllable, neutral", GivenPinyinSound("me0"), dir + "M/me1.wav", "0"},
        {"given nothing", GivenPinyinSound(""), "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.sound.Path, c.path);
        EXPECT_EQ(c.sound.Tone, c.tone);
    }
}

TEST_F(ZoomRulesTest, NoSoundWhileTheSharedPlayerPlays)
{
    const QByteArray wav = WavFile::Encode16(8000, 1, QByteArray(8000 * 2 / 2, '\x10')); // 500 ms
    WriteFile("Sound/right.WAV", wav);
    WriteFile("Phonetic Symbols/H/hao3.wav", wav);
    EXPECT_TRUE(PopupMaySpeak());
    PlaySoundFile(Path("Sound/right.WAV"), SoundOwnerCode::Nobody);
    ASSERT_EQ(MMControl1()->Mode(), WavePlayer::ModePlaying);
    EXPECT_FALSE(PopupMaySpeak());
    Clock::Advance(600);
    EXPECT_TRUE(PopupMaySpeak());

    WavePlayer own;
    PlayReadingSound(own, GivenPinyinSound("hao3"));
    EXPECT_EQ(own.Mode(), WavePlayer::ModePlaying);
    EXPECT_EQ(State().CurrentTone, "3");
    EXPECT_FALSE(own.Notify());
    EXPECT_TRUE(PopupMaySpeak()); // the pop-up's own player is not the shared one
    CloseSharedPlayers();
}

TEST_F(ZoomRulesTest, LayoutStacksTheReadingsAboveTheCharacter)
{
    const struct {
        int readings;
        QVector<double> tops;
        double characterTop;
    } cases[] = {
        {0, {}, 250},
        {1, {45}, 570},
        {3, {45, 570, 1095}, 1620},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.readings);
        const PopupLayout layout = LayOutPopup(c.readings, 1440, 1620);
        EXPECT_EQ(layout.ReadingTops, c.tops);
        EXPECT_EQ(layout.CharacterTop, c.characterTop);
        EXPECT_EQ(layout.Height, c.characterTop + 1620);
        EXPECT_EQ(layout.Width, 1620);
    }
    EXPECT_EQ(PopupWidth(1440, false), 1620);
    EXPECT_EQ(PopupWidth(1440, true), 3240);
}

TEST_F(ZoomRulesTest, PlacementKeepsThePopupOnTheWorkArea)
{
    const PopupScreen screen{19200, 14400, 600}; // 1280 x 960 pixels, a 40-pixel taskbar
    const struct {
        const char* what;
        PopupAnchor anchor;
        float width;
        float height;
        QPointF place;
    } cases[] = {
        {"beside the pointer", {1000, 200, 300, 2000, 400, 100, 260}, 1620, 2190, {1760, 2760}},
        {"nearer, from a dictionary", {1000, 200, 300, 2000, 400, 100, 130}, 1620, 2190, {1630, 2630}},
        {"on the taskbar strip, shifted right once more", {1000, 200, 300, 9000, 400, 2000, 260}, 1620, 2190,
         {2020, 14400 - 600 - 2190}},
        {"touching the strip exactly stays", {1000, 200, 300, 9000, 400, 1000, 260}, 1620, 3140, {1760, 10660}},
        {"past the right edge: flush with it", {15000, 200, 1000, 2000, 400, 100, 260}, 3240, 2190,
         {19200 - 3240, 2760}},
        {"double width at the right edge and the bottom", {15000, 200, 500, 9000, 400, 3000, 260}, 3240, 2190,
         {19200 - 3240, 11610}},
        {"no taskbar at the bottom", {1000, 200, 300, 9000, 400, 1000, 260}, 1620, 4000, {2020, 10400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PopupScreen s = QString(c.what).startsWith("no taskbar") ? PopupScreen{19200, 14400, 0} : screen;
        EXPECT_EQ(PlacePopup(c.anchor, c.width, c.height, s), c.place);
    }
}

TEST_F(ZoomRulesTest, HoverTurnsTheLabelUnderThePointerRedAndSpeaksItAfterTheDelay)
{
    ReadingHover hover;
    const struct {
        int label;
        HoverChange change;
        int index;
    } steps[] = {
        {0, {}, 0},                     // background, nothing under the pointer before
        {1, {0, 1, true, true}, 1},     // onto label 1
        {1, {}, 1},                     // within label 1
        {2, {1, 2, true, true}, 2},     // straight onto label 2
        {0, {2, 0, true, false}, 0},    // off the labels
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.label);
        const HoverChange change = hover.MoveOver(s.label);
        EXPECT_EQ(change.Normal, s.change.Normal);
        EXPECT_EQ(change.Red, s.change.Red);
        EXPECT_EQ(change.StopTimer, s.change.StopTimer);
        EXPECT_EQ(change.StartTimer, s.change.StartTimer);
        EXPECT_EQ(hover.Index(), s.index);
    }
    hover.MoveOver(2);
    EXPECT_EQ(hover.Fire(), 2);
    hover.Reset(); // a new look-up while the delay runs: the tick speaks nothing
    EXPECT_EQ(hover.Fire(), 0);
}

TEST_F(ZoomRulesTest, AnimationCountsStrokesAndStartsAgainAfterTheLastRecord)
{
    StrokeData data;
    data.Points = {{900, 300}, {0, 0}, {1000, 400}, {1010, 410}, {0, 0}, {1200, 500}, {0, 0}};
    data.StrokeCount = 3;
    StrokeAnimation animation;
    animation.Load(data);
    // One record per tick: what each does to the drawing and the counter.
    const struct {
        bool draw;
        const char* counter; // nullptr: unchanged
        bool clear;
    } ticks[] = {
        {true, nullptr, false},  {false, "2 / 3", false}, {true, nullptr, false}, {true, nullptr, false},
        {false, "3 / 3", false}, {true, nullptr, false},  {false, nullptr, false}, // the last end changes nothing
        {false, "1 / 3", true},                                                    // past the end: again
        {true, nullptr, false},  {false, "2 / 3", false},
    };
    int n = 0;
    for (const auto& t : ticks) {
        SCOPED_TRACE(++n);
        const StrokeTick tick = animation.Advance();
        EXPECT_EQ(tick.Draw, t.draw);
        EXPECT_EQ(tick.SetCounter, t.counter != nullptr);
        if (t.counter) {
            EXPECT_EQ(tick.Counter, t.counter);
        }
        EXPECT_EQ(tick.Clear, t.clear);
        EXPECT_FALSE(tick.Stop);
    }
    animation.Load(data); // a new look-up starts from the first record
    EXPECT_EQ(animation.AnimationPosition(), 0);
    EXPECT_EQ(animation.CurrentStroke(), 1);
    const StrokeTick first = animation.Advance();
    EXPECT_TRUE(first.Draw);
    EXPECT_EQ(first.Point.X, 900);
}

TEST_F(ZoomRulesTest, AnEmptyStrokeFileShowsNoStrokesAndStops)
{
    StrokeAnimation animation;
    animation.Load({});
    const StrokeTick tick = animation.Advance();
    EXPECT_FALSE(tick.Draw);
    EXPECT_EQ(tick.Counter, "1 / 0");
    EXPECT_TRUE(tick.Clear);
    EXPECT_TRUE(tick.Stop);
}

TEST_F(ZoomRulesTest, StrokePointsAreDrawnAtHalfSizeBesideTheCharacterBelowTheReadings)
{
    EXPECT_EQ(StrokeDotPosition({10, 20}, 1440, 2, 570), QPointF(1315, 810));
    EXPECT_EQ(StrokeDotPosition({10, 20}, 1440, 0, 570), QPointF(1315, 10));
}
