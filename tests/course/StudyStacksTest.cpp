// Where the windows of the study stacks go, and the launcher table the course panel opens
// them from.

#include <algorithm>
#include <gtest/gtest.h>

#include "StackGeometry.h"
#include "StudyStacks.h"
#include "TestSupport.h"

namespace {
// A 1024 x 768 display at 96 dpi.
constexpr float kScreenW = 15360;
constexpr float kScreenH = 11520;
constexpr float kPixel = 15;
} // namespace

TEST(StackGeometry, PlacesTheColumnOnePixelApart)
{
    struct Case {
        const char* name;
        StackRequest request;
        float left, taskTop;
        QList<float> above, below;
    };
    const Case cases[] = {
        {"typing step: dictionary above, related expressions below",
            {kScreenW, kScreenH, kPixel, 9000, 6000, -1, {2000}, {2500}, true}, 3180, 2250, {235}, {8265}},
        {"tool not raised (pinyin alphabet)", {kScreenW, kScreenH, kPixel, 9000, 6000, -1, {2000}, {2500}, false},
            3180, 2510, {495}, {8525}},
        {"writing pad centres the dictionary's width", {kScreenW, kScreenH, kPixel, 7000, 6000, 11000, {2000}, {2500}, true},
            2180, 2250, {235}, {8265}},
        {"two above, one below", {kScreenW, kScreenH, kPixel, 9000, 5000, -1, {1000, 2000}, {1500}, true},
            3180, 3750, {720, 1735}, {8765}},
        {"taller than the screen comes down to the work area's top, its bottom runs off",
            {kScreenW, kScreenH, 12, 20000, 12000, -1, {2000}, {1000}, true}, -2320, 2012, {0}, {14024}},
        {"the work area's top, not the screen's, below a panel at the top",
            {kScreenW, kScreenH, kPixel, 9000, 9000, -1, {2000}, {}, true, 450}, 3180, 2465, {450}, {}},
        {"no window above the task window", {kScreenW, kScreenH, kPixel, 9000, 12000, -1, {}, {}, true}, 3180, 0, {}, {}},
        {"odd sums keep the half twip", {kScreenW, kScreenH, kPixel, 9001, 6001, -1, {2000}, {}, true}, 3179.5,
            (11520 - 8001) / 2.0f + 2000 - 260, {(11520 - 8001) / 2.0f - 260 - 15}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StackPlaces p = PlaceStack(c.request);
        EXPECT_FLOAT_EQ(p.Left, c.left);
        EXPECT_FLOAT_EQ(p.TaskTop, c.taskTop);
        ASSERT_EQ(p.AboveTops.size(), c.above.size());
        for (qsizetype i = 0; i < c.above.size(); ++i)
            EXPECT_FLOAT_EQ(p.AboveTops[i], c.above[i]) << "above " << i;
        ASSERT_EQ(p.BelowTops.size(), c.below.size());
        for (qsizetype i = 0; i < c.below.size(); ++i)
            EXPECT_FLOAT_EQ(p.BelowTops[i], c.below[i]) << "below " << i;
    }
}

TEST(StackGeometry, WindowsGrowIntoTheRoomATallWorkAreaLeavesAndTheStackStillFits)
{
    // A task window of 9000 between a dictionary of 2000 that may grow by 1500 and one of
    // 1500 that may grow by 3000; the stack is 12530 high with its gaps.
    struct Case {
        const char* name;
        float workHeight;
        float above, below;
    };
    const Case cases[] = {
        {"no room on a 1024 x 768 screen", 11520, 2000, 1500},
        {"a 1024 high screen: both grow in proportion to their growth", 15360, 2000 + 770, 1500 + 1540},
        {"room to spare: each grows to its most", 30000, 3500, 4500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StackRequest request{.ScreenWidth = kScreenW, .ScreenHeight = c.workHeight, .Pixel = kPixel, .TaskWidth = 9000,
            .TaskHeight = 9000, .Above = {2000}, .Below = {1500}, .AboveGrowth = {1500}, .BelowGrowth = {3000},
            .WorkHeight = c.workHeight};
        const StackPlaces p = PlaceStack(request);
        ASSERT_EQ(p.AboveHeights.size(), 1);
        ASSERT_EQ(p.BelowHeights.size(), 1);
        EXPECT_NEAR(p.AboveHeights[0], c.above, 0.01);
        EXPECT_NEAR(p.BelowHeights[0], c.below, 0.01);
        // Placed with those heights: one pixel apart, inside the work area wherever it grew.
        EXPECT_FLOAT_EQ(p.AboveTops[0] + p.AboveHeights[0] + kPixel, p.TaskTop);
        EXPECT_FLOAT_EQ(p.TaskTop + 9000 + kPixel, p.BelowTops[0]);
        if (c.above > 2000) {
            EXPECT_GE(p.AboveTops[0], 0);
            EXPECT_LE(p.BelowTops[0] + p.BelowHeights[0], c.workHeight);
        }
    }
}

TEST(StackGeometry, AWindowIsMeasuredAtItsOwnSizeWithItsFrameWhateverTheLearnerDidToIt)
{
    struct Case {
        const char* name;
        StackWindowShape shape;
        float width, height;
    };
    const Case cases[] = {
        {"as the program left it", {9600, 2100, 9600, 2100, 9630, 2475}, 9630, 2475},
        {"made larger by the learner", {9600, 2100, 14000, 9000, 14030, 9375}, 9630, 2475},
        {"maximised: a title bar, no sides", {9600, 2100, 15360, 11220, 15360, 11520}, 9600, 2400},
        {"not shown yet: no frame", {9600, 2100, 9600, 2100, 9600, 2100}, 9600, 2100},
        {"never given a size: as it is", {0, 0, 6000, 3000, 6030, 3375}, 6030, 3375},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const StackOuterSize outer = OuterSizeInStack(c.shape);
        EXPECT_FLOAT_EQ(outer.Width, c.width);
        EXPECT_FLOAT_EQ(outer.Height, c.height);
    }
}

TEST(StudyStacks, TheTypingStackLiesOnTheScreenWhateverTheLearnerDidToItsDictionary)
{
    // Sizes as the typing stack has them, framed (a title bar of 20 px, sides of 1 px).
    using W = StudyWindow;
    const StudyLauncher* typing = LauncherForButton(1);
    ASSERT_NE(typing, nullptr);
    const StackWindowShape framed[] = {{9300, 5295, 9300, 5295, 9330, 5670}, {10500, 1800, 10500, 1800, 10530, 2175}};
    struct Case {
        const char* name;
        StackWindowShape dictionary;
    };
    const Case cases[] = {
        {"as the program left it", {9600, 2100, 9600, 2100, 9630, 2475}},
        {"maximised", {9600, 2100, 15360, 11220, 15360, 11520}},
        {"as large as the screen", {9600, 2100, 15060, 10620, 15090, 10995}},
    };
    for (const float screenHeight : {11520.0f, 15360.0f}) {
        const float screenWidth = screenHeight == 11520 ? 15360 : 19200;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (screenHeight == 11520 ? ", 1024 x 768" : ", 1280 x 1024"));
            QMap<W, StackWindowSize> sizes;
            const auto measure = [](const StackWindowShape& shape) {
                const StackOuterSize outer = OuterSizeInStack(shape);
                return StackWindowSize{outer.Width, outer.Height};
            };
            sizes.insert(W::Dictionary, measure(c.dictionary));
            sizes[W::Dictionary].Growth = 1620;
            sizes.insert(W::Typing, measure(framed[0]));
            sizes.insert(W::Expressions_Related, measure(framed[1]));
            const auto places = PlaceStudyStack(*typing, sizes, screenWidth, screenHeight, kPixel, 0, screenHeight);
            float bottom = 0;
            for (auto it = places.cbegin(); it != places.cend(); ++it) {
                EXPECT_GE(it->Top, 0) << StudyWindowName(it.key()).toStdString();
                bottom = std::max(bottom, it->Top + it->Height);
            }
            EXPECT_LE(bottom, screenHeight);
            // The dictionary at its own height, grown only into the room the screen leaves.
            EXPECT_LE(places[W::Dictionary].Height, 2475 + 1620);
        }
    }
}

TEST(StudyStacks, TheFourWindowTextStack)
{
    using W = StudyWindow;
    const QMap<W, StackWindowSize> sizes{{W::Notepad, {6000, 1200}}, {W::Dictionary, {11000, 2000}},
        {W::Text, {9000, 5000}}, {W::WordsPanel, {7000, 1800}}};
    const StudyLauncher* text = LauncherForButton(0);
    ASSERT_NE(text, nullptr);
    const auto places = PlaceStudyStack(*text, sizes, kScreenW, kScreenH, kPixel);
    // (11520 - 1200 - 2000 - 5000 - 1800) / 2 + 1200 + 2000 - 260 = 3700
    struct Expected {
        W window;
        float left, top, width;
    };
    const Expected expected[] = {
        {W::Notepad, 3180, 3700 - 15 - 2000 - 15 - 1200, 9000},
        {W::Dictionary, 3180, 3700 - 15 - 2000, 11000},
        {W::Text, 3180, 3700, 9000},
        {W::WordsPanel, 3180, 3700 + 5000 + 15, 7000},
    };
    ASSERT_EQ(places.size(), 4);
    for (const Expected& e : expected) {
        SCOPED_TRACE(StudyWindowName(e.window).toStdString());
        ASSERT_TRUE(places.contains(e.window));
        EXPECT_FLOAT_EQ(places[e.window].Left, e.left);
        EXPECT_FLOAT_EQ(places[e.window].Top, e.top);
        EXPECT_FLOAT_EQ(places[e.window].Width, e.width);
    }
}

TEST(StudyStacks, EachStackHoldsWhatItShowsAndUnloads)
{
    using W = StudyWindow;
    ASSERT_EQ(StudyLaunchers().size(), 7);
    for (const StudyLauncher& l : StudyLaunchers()) {
        SCOPED_TRACE(l.Name);
        EXPECT_EQ(LauncherForButton(l.Button), &l);
        EXPECT_EQ(LauncherForCode(l.Code), &l);
        // The dictionary right above the task window; every other window of the column is a
        // companion (unloaded with the task window), and each is shown after the task window.
        ASSERT_FALSE(l.Above.isEmpty());
        EXPECT_EQ(l.Above.last(), W::Dictionary);
        QList<W> stacked = l.Above + l.Below;
        QList<W> shown = l.ShownAfter;
        QList<W> companions = l.Companions + QList<W>{W::Dictionary};
        std::sort(stacked.begin(), stacked.end());
        std::sort(shown.begin(), shown.end());
        std::sort(companions.begin(), companions.end());
        EXPECT_EQ(stacked, shown);
        EXPECT_EQ(stacked, companions);
    }
    for (int button : {-1, 6, 8})
        EXPECT_EQ(LauncherForButton(button), nullptr) << button;
}
