#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "Background.h"
#include "Begin.h"
#include "Begin1.h"
#include "Begin4.h"
#include "Forms.h"
#include "TestSupport.h"

namespace {

// Count the calls a panel makes into the start menu and the main window; neither starts up.
class MenuProbe : public Begin {
    Q_OBJECT
public:
    void Common01() override { calls << QStringLiteral("Common01"); }
    void Form_MouseMove() override { calls << QStringLiteral("Form_MouseMove"); }
    QStringList calls;

protected:
    void Form_Load() override {}
};

class MainProbe : public Background {
    Q_OBJECT
public:
    void MinimizeProgram() override { calls << QStringLiteral("MinimizeProgram"); }
    QStringList calls;

protected:
    void Form_Load() override {}
};

class MenuPanelTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new MenuProbe; });
        Forms::RegisterFactory(QStringLiteral("Background"), [] { return new MainProbe; });
        Forms::RegisterFactory(QStringLiteral("Begin1"), [] { return new Begin1; });
        Forms::RegisterFactory(QStringLiteral("Begin4"), [] { return new Begin4; });
    }
};

} // namespace

TEST_F(MenuPanelTest, PlaceholderPanelsExitMinimiseAndForwardTheMouseToTheMenu)
{
    auto* menu = static_cast<MenuProbe*>(Forms::Load(QStringLiteral("Begin")));
    auto* main = static_cast<MainProbe*>(Forms::Load(QStringLiteral("Background")));
    for (const char* name : {"Begin1", "Begin4"}) {
        SCOPED_TRACE(name);
        menu->calls.clear();
        main->calls.clear();
        Form* panel = Forms::Load(QLatin1String(name));
        ASSERT_NE(panel, nullptr);
        panel->Show(Form::Modeless, menu);
        // Each panel fills the start menu's card, and a window manager shows the program's name
        // for it, not the form's.
        EXPECT_NEAR(panel->Width(), MenuPanel::PanelWidth, 15);
        EXPECT_NEAR(panel->Height(), MenuPanel::PanelHeight, 15);
        EXPECT_EQ(panel->windowTitle(), QCoreApplication::applicationName());

        QTest::keyClick(panel, Qt::Key_F4);
        EXPECT_EQ(main->calls, QStringList{"MinimizeProgram"});
        QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), QPointF(30, 30), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &move);
        EXPECT_TRUE(menu->calls.contains("Form_MouseMove"));

        // The window manager's close leaves a panel alone: the menu hides and unloads panels.
        panel->close();
        EXPECT_TRUE(Forms::IsLoaded(QLatin1String(name)));

        QTest::keyClick(panel, Qt::Key_Escape);
        EXPECT_EQ(menu->calls.last(), "Common01");
    }
}

#include "MenuPanelTest.moc"
