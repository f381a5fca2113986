#include <gtest/gtest.h>

#include "AppState.h"
#include "BlankTrim.h"
#include "CharacterTable.h"
#include "SelectionLookUp.h"
#include "TestSupport.h"

namespace {

using SelectionLookUpTest = AppFixture;

// Selects the first occurrence of selected in text.
SelectionEvent Select(const QString& text, const QString& selected, bool local, bool online, qint16 activity = 1)
{
    SelectionEvent e;
    e.BoxText = text;
    e.SelStart = int(text.indexOf(selected));
    e.SelLength = int(selected.size());
    e.LocalTicked = local;
    e.OnlineTicked = online;
    e.CurrentActivity = activity;
    return e;
}

TEST_F(SelectionLookUpTest, RoutingByLengthKindAndTheTwoBoxes)
{
    const QString text = u"我们去学校。ab好？\r\n你"_qs;
    struct Case {
        const char* name;
        LookUpMember member;
        const char16_t* selected;
        bool local, online;
        qint16 activity;
        bool popup, lookedUpLocally, lookedUpOnline;
    };
    const Case cases[] = {
        {"one character: pop-up and local", LookUpMembers::Exercise3, u"们", true, false, 1, true, true, false},
        {"four characters: local only", LookUpMembers::Exercise3, u"我们去学", true, false, 1, false, true, false},
        {"five characters: nothing", LookUpMembers::Exercise3, u"我们去学校", true, false, 1, false, false, false},
        {"Latin letters: nothing", LookUpMembers::Exercise3, u"ab", true, false, 1, false, false, false},
        {"Chinese punctuation: nothing", LookUpMembers::Exercise3, u"好？", true, false, 1, false, false, false},
        {"a mark alone is no character", LookUpMembers::Exercise3, u"。", true, false, 1, false, false, false},
        {"across a line break: nothing", LookUpMembers::Exercise3, u"\r\n你", true, false, 1, false, false, false},
        {"local box unticked", LookUpMembers::Exercise3, u"们", false, false, 1, true, false, false},
        {"on-line box on a course window", LookUpMembers::Exercise3, u"我们", false, true, 1, false, false, false},
        {"local box on a tool", LookUpMembers::Spoken, u"我们", true, false, 1, false, true, false},
        {"on-line box on a tool", LookUpMembers::Spoken, u"我们", false, true, 1, false, false, true},
        {"on-line box in the chat", LookUpMembers::Chat, u"们", false, true, 1, true, false, true},
        {"text window during the text step", LookUpMembers::Text, u"们", true, false, 1, true, true, false},
        {"text window in another step", LookUpMembers::Text, u"们", true, false, 6, false, true, false},
        {"the dictionary's own box", LookUpMembers::Dictionary, u"们", true, true, 1, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SelectionEvent e = Select(text, QString::fromUtf16(c.selected), c.local, c.online, c.activity);
        const LookUpPlan plan = PlanSelectionLookUp(c.member, e);
        EXPECT_EQ(plan.Popup, c.popup);
        EXPECT_EQ(plan.Local, c.lookedUpLocally);
        EXPECT_EQ(plan.Online, c.lookedUpOnline);
        if (plan.Local) {
            EXPECT_EQ(plan.LocalWord, QString::fromUtf16(c.selected));
        }
        if (plan.Popup) {
            EXPECT_EQ(plan.Offset, c.member.Offset);
        }
        // The selection always collapses to its end.
        EXPECT_TRUE(plan.Collapse);
        EXPECT_EQ(plan.Caret, e.SelStart + e.SelLength);
    }
}

TEST_F(SelectionLookUpTest, NeighboursAreChineseCharactersBesideTheTrimmedSelection)
{
    struct Case {
        const char16_t* text;
        int selStart, selLength;
        const char16_t* character;
        const char16_t* prev;
        const char16_t* next;
    };
    const Case cases[] = {
        {u"我们去", 1, 1, u"们", u"我", u"去"},
        {u"我们去", 0, 1, u"我", u"", u"们"},
        {u"我们去", 2, 1, u"去", u"们", u""},
        {u"a们。", 1, 1, u"们", u"", u""},
        {u"我 们 去", 1, 3, u"们", u"", u""},  // the blanks beside it are no characters
        {u"我们 去", 2, 2, u"去", u"", u""},   // trimmed at its real start: the blank before
        {u"重庆  很", 2, 3, u"很", u"", u""},
        {u"好 重庆", 1, 2, u"重", u"", u"庆"}, // " 重": neighbours of 重, not of the blank
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString() + " " + std::to_string(c.selStart));
        SelectionEvent e;
        e.BoxText = QString::fromUtf16(c.text);
        e.SelStart = c.selStart;
        e.SelLength = c.selLength;
        const LookUpPlan plan = PlanSelectionLookUp(LookUpMembers::Chat, e);
        ASSERT_TRUE(plan.Popup);
        EXPECT_EQ(plan.Character, QString::fromUtf16(c.character));
        EXPECT_EQ(plan.PrevCharacter, QString::fromUtf16(c.prev));
        EXPECT_EQ(plan.NextCharacter, QString::fromUtf16(c.next));
        EXPECT_EQ(plan.Caret, c.selStart + c.selLength);
    }
}

TEST_F(SelectionLookUpTest, TheOnlineLookUpGetsTheCharacterAndTheTextAsLongAsItsLongestWord)
{
    CharacterRecord wo;
    wo.Character = QStringLiteral("我");
    // Loaded phrases stand in file order: the longest is not necessarily first.
    wo.Phrases = QStringList{u"们"_qs, u"们的学校"_qs, u"的"_qs};
    ASSERT_TRUE(AppendCharacterRecord(wo));
    CharacterRecord ni;
    ni.Character = QStringLiteral("你");
    ASSERT_TRUE(AppendCharacterRecord(ni));

    struct Case {
        const char16_t* text;
        const char16_t* selected;
        int charIndex;
        const char16_t* following;
    };
    const Case cases[] = {
        {u"是我们的学校吗", u"我", 1, u"我们的学校"},
        {u"是我们", u"我们", 1, u"我们"},      // the text ends first
        {u"  我们的学校", u" 我", 1, u"我们的学校"}, // from the trimmed selection's start
        {u"你们", u"你", 2, u""},             // no phrases, no following text
        {u"他们", u"他", 3, u""},             // not in the table: CharacterCount + 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        const LookUpPlan plan =
            PlanSelectionLookUp(LookUpMembers::Spoken, Select(QString::fromUtf16(c.text), QString::fromUtf16(c.selected), false, true));
        ASSERT_TRUE(plan.Online);
        EXPECT_EQ(plan.OnlineWord, BlankTrim(QString::fromUtf16(c.selected)));
        EXPECT_EQ(plan.CharIndex, c.charIndex);
        EXPECT_EQ(plan.FollowingText, QString::fromUtf16(c.following));
    }
}

TEST_F(SelectionLookUpTest, PopupConditionsOfTheWindowsThatDecideThemselves)
{
    SelectionEvent e = Select(u"你好"_qs, u"好"_qs, true, false);
    e.GivenPinyin = QStringLiteral("h.ao3");
    const LookUpPlan byPinyin = PlanSelectionLookUp(LookUpMembers::SentencesSingle, e);
    EXPECT_TRUE(byPinyin.Popup);
    EXPECT_EQ(byPinyin.Pinyin, u"h.ao3"_qs);
    EXPECT_EQ(byPinyin.Offset, 260);
    e.WindowAllowsPopup = false;
    const LookUpPlan refused = PlanSelectionLookUp(LookUpMembers::ReadingHelper, e);
    EXPECT_FALSE(refused.Popup);
    EXPECT_TRUE(refused.Local);
}

TEST_F(SelectionLookUpTest, TheDictionarysOwnBoxFillsItsSearchBoxInsteadOfSearching)
{
    const QString text = u"你好 [nǐ hǎo] hello\r\n01）你好吗？"_qs;
    struct Case {
        const char* name;
        int selStart, selLength;
        bool popup;
        bool fill;
        const char16_t* searchText;
    };
    const Case cases[] = {
        {"two characters", 0, 2, false, true, u"你好"},
        {"one character", 1, 1, true, true, u"好"},
        {"five of any kind", 3, 5, false, true, u"[nǐ h"},
        {"six is too long", 3, 6, false, false, u""},
        {"a line break", 17, 4, false, false, u""},
        {"blanks only", 2, 1, false, false, u""},
        {"no selection", 9, 0, false, false, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SelectionEvent e;
        e.BoxText = text;
        e.SelStart = c.selStart;
        e.SelLength = c.selLength;
        e.LocalTicked = true;
        const LookUpPlan plan = PlanSelectionLookUp(LookUpMembers::Dictionary, e);
        EXPECT_EQ(plan.Popup, c.popup);
        EXPECT_FALSE(plan.Local);
        EXPECT_EQ(plan.FillSearchBox, c.fill);
        EXPECT_EQ(plan.SearchBoxText, QString::fromUtf16(c.searchText));
        // Even without a selection the caret moves, and Locate goes on from there.
        EXPECT_TRUE(plan.Collapse);
        EXPECT_TRUE(plan.SetLocateFrom);
        EXPECT_EQ(plan.LocateFrom, c.selStart + c.selLength + 1);
    }
}

TEST_F(SelectionLookUpTest, AnEmptySelectionInAReadingWindowDoesNothing)
{
    SelectionEvent e;
    e.BoxText = QStringLiteral("我们 去");
    e.SelStart = 2;
    e.SelLength = 1;
    e.LocalTicked = true;
    const LookUpPlan plan = PlanSelectionLookUp(LookUpMembers::Chat, e);
    EXPECT_FALSE(plan.Popup || plan.Local || plan.Online || plan.Collapse);
}

} // namespace
