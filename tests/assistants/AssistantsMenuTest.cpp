#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QRect>
#include <QTest>
#include <gtest/gtest.h>

#include "AssistantsFixture.h"
#include "ToolStacks.h"
#include "Twips.h"

using namespace assistants_test;

namespace {

TEST(ToolStackTest, StacksOnA1024By768Screen)
{
    struct Case {
        const char* button;
        float toolWidth, toolHeight, secondWidth;
        float left, toolTop, toolWidthAfter, secondLeft, dictionaryTop, onlineTop;
    } cases[] = {
        // A tool of 9000 x 6000 between a 2000-high and a 2500-high dictionary window.
        {"Command1", 9000, 6000, 0, 3180, 2250, 9000, 0, 235, 8265},
        // The alphabet's stack is not raised.
        {"Command7", 9000, 6000, 0, 3180, 2510, 9000, 0, 495, 8525},
        // The writing pad and the samples beside it share the dictionary's 11000 twips.
        {"Command6", 9000, 6000, 4000, 2180, 2250, 7000, 9180, 235, 8265},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        const ToolLauncher* row = ToolLauncherForButton(QLatin1String(c.button));
        ASSERT_NE(row, nullptr);
        ToolStackSizes sizes;
        sizes.ScreenWidth = 15360;
        sizes.ScreenHeight = 11520;
        sizes.Pixel = 15;
        sizes.ToolWidth = c.toolWidth;
        sizes.ToolHeight = c.toolHeight;
        sizes.DictionaryWidth = 11000;
        sizes.DictionaryHeight = 2000;
        sizes.OnlineHeight = 2500;
        sizes.SecondWidth = c.secondWidth;
        const ToolStackPlaces at = PlaceToolStack(*row, sizes);
        EXPECT_FLOAT_EQ(at.Left, c.left);
        EXPECT_FLOAT_EQ(at.ToolTop, c.toolTop);
        EXPECT_FLOAT_EQ(at.ToolWidth, c.toolWidthAfter);
        EXPECT_FLOAT_EQ(at.SecondLeft, c.secondLeft);
        EXPECT_FLOAT_EQ(at.DictionaryTop, c.dictionaryTop);
        EXPECT_FLOAT_EQ(at.OnlineTop, c.onlineTop);
    }
}

TEST(ToolStackTest, AStackTallerThanTheScreenComesDownToTheWorkAreaOnly)
{
    ToolStackSizes sizes{.ScreenWidth = 15360, .ScreenHeight = 11520, .Pixel = 15, .ToolWidth = 16000,
        .ToolHeight = 9000, .DictionaryWidth = 11000, .DictionaryHeight = 3000, .OnlineHeight = 3000, .WorkTop = 450};
    const ToolStackPlaces at = PlaceToolStack(*ToolLauncherForButton(QStringLiteral("Command3")), sizes);
    EXPECT_FLOAT_EQ(at.Left, -320); // wider than the screen: not clamped sideways
    EXPECT_FLOAT_EQ(at.DictionaryTop, 450);
    EXPECT_FLOAT_EQ(at.ToolTop, 3465);
    EXPECT_FLOAT_EQ(at.OnlineTop, 12480); // its bottom lies below the screen
}

class AssistantsMenuTest : public AssistantsFixture {};

TEST_F(AssistantsMenuTest, EveryRowOpensItsStackAndClosingTheToolReturnsToTheMenu)
{
    for (const ToolLauncher& row : ToolLaunchers()) {
        SCOPED_TRACE(row.Button);
        const QString toolName = QLatin1String(row.Tool);
        const bool pair = row.Second[0] != '\0';
        State().QuizOpen = -1; // left set by a quiz
        Open(row.Button);

        EXPECT_EQ(State().CurrentActivity, row.Code);
        EXPECT_EQ(State().QuizOpen, 0);
        Form* tool = Forms::Find(toolName);
        ASSERT_NE(tool, nullptr);
        EXPECT_TRUE(tool->isVisible());
        EXPECT_EQ(tool->Owner(), main);
        Form* dictionary = Forms::Find(QStringLiteral("Dictionary"));
        Form* online = Forms::Find(QStringLiteral("DictionaryOnline"));
        EXPECT_TRUE(dictionary->isVisible());
        EXPECT_TRUE(online->isVisible());
        EXPECT_EQ(dictionary->Owner(), main);
        EXPECT_EQ(online->Owner(), main);
        EXPECT_FALSE(panel->isVisible());
        EXPECT_FALSE(menu->isVisible());

        // The column: one pixel between the windows' frames (title bars included), all
        // left-aligned.
        const QRect toolFrame = tool->frameGeometry();
        const QRect dictionaryFrame = dictionary->frameGeometry();
        const QRect onlineFrame = online->frameGeometry();
        ASSERT_GT(toolFrame.height(), tool->height()) << "the platform gives the windows no frames";
        EXPECT_EQ(dictionaryFrame.left(), toolFrame.left());
        EXPECT_EQ(onlineFrame.left(), toolFrame.left());
        EXPECT_NEAR(dictionaryFrame.y() + dictionaryFrame.height() + 1, toolFrame.y(), 1);
        EXPECT_NEAR(toolFrame.y() + toolFrame.height() + 1, onlineFrame.y(), 1);
        if (pair) {
            Form* second = Forms::Find(QLatin1String(row.Second));
            ASSERT_NE(second, nullptr);
            EXPECT_TRUE(second->isVisible());
            const QRect secondFrame = second->frameGeometry();
            EXPECT_NEAR(toolFrame.width() + secondFrame.width(), dictionaryFrame.width(), 1);
            EXPECT_NEAR(secondFrame.left(), toolFrame.left() + toolFrame.width(), 1);
            EXPECT_EQ(secondFrame.top(), toolFrame.top());
            // Esc in the samples closes the pad, which takes the samples along.
            QTest::keyClick(second, Qt::Key_Escape);
        } else {
            EXPECT_NEAR(toolFrame.left() + toolFrame.width() / 2, Twips::ToPixelsX(Twips::ScreenWidth()) / 2, 1);
            QTest::keyClick(tool, Qt::Key_Escape);
        }
        Settle();

        EXPECT_FALSE(Forms::IsLoaded(toolName));
        if (pair) {
            EXPECT_FALSE(Forms::IsLoaded(QLatin1String(row.Second)));
        }
        EXPECT_EQ(State().CurrentActivity, 10);
        EXPECT_FALSE(dictionary->isVisible());
        EXPECT_FALSE(online->isVisible());
        EXPECT_TRUE(menu->isVisible());
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(QApplication::activeWindow(), panel) << "the next Esc would reach nobody";
    }
    // With the menu back, Esc in it ends the program through the start menu.
    QTest::keyClick(panel, Qt::Key_Escape);
    EXPECT_EQ(menu->exits, 1);
}

TEST_F(AssistantsMenuTest, EscClosesAToolOnItsReleaseSoTheReleaseNeverReachesTheMenu)
{
    Open("Command1");
    Form* tool = Forms::Find(QStringLiteral("Figure"));
    ASSERT_NE(tool, nullptr);
    QTest::keyPress(tool, Qt::Key_Escape);
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Figure")));
    QTest::keyRelease(tool, Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(Forms::IsLoaded(QStringLiteral("Figure")));
}

TEST_F(AssistantsMenuTest, KeysReachingTheHiddenMenuRightAfterAnOpeningEndNothing)
{
    Open("Command3");
    ASSERT_FALSE(panel->isVisible());
    QTest::keyClick(panel, Qt::Key_Escape);
    QTest::keyClick(panel, Qt::Key_F4);
    EXPECT_EQ(menu->exits, 0);
    EXPECT_EQ(main->minimised, 0);
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Surname")));
}

TEST_F(AssistantsMenuTest, F4InAToolMinimisesTheProgramOpensNoListAndLeavesTheToolOpen)
{
    Open("Command3");
    Form* tool = Forms::Find(QStringLiteral("Surname"));
    ASSERT_NE(tool, nullptr);
    QTest::keyClick(tool, Qt::Key_F4);
    EXPECT_EQ(main->minimised, 1);
    EXPECT_TRUE(Forms::IsLoaded(QStringLiteral("Surname")));

    // In each combo box of a tool, editable or not.
    Open("Command1");
    Form* figure = Forms::Find(QStringLiteral("Figure"));
    ASSERT_NE(figure, nullptr);
    const QList<QComboBox*> boxes = figure->findChildren<QComboBox*>();
    ASSERT_FALSE(boxes.isEmpty());
    int minimised = 1;
    for (QComboBox* box : boxes) {
        SCOPED_TRACE(box->objectName().toStdString());
        ASSERT_TRUE(PressWithKeys(box, Qt::Key_F4));
        EXPECT_EQ(main->minimised, ++minimised);
        EXPECT_FALSE(box->view()->isVisible());
    }
}

TEST_F(AssistantsMenuTest, ThePanelForwardsMouseMovesToTheStartMenu)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), QPointF(30, 30), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &move);
    EXPECT_EQ(menu->mouseMoves, 1);
}

} // namespace
