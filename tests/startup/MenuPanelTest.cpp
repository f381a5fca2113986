#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "Begin1.h"
#include "Begin4.h"
#include "Forms.h"
#include "TestSupport.h"

namespace {

// Counts the calls a panel makes into the start menu and the main window.
class CallProbe : public Form {
    Q_OBJECT
public:
    explicit CallProbe(const QString& name)
        : Form(name)
    {
    }
    Q_INVOKABLE void Common01() { calls << QStringLiteral("Common01"); }
    Q_INVOKABLE void Form_MouseMove() { calls << QStringLiteral("Form_MouseMove"); }
    Q_INVOKABLE void MinimizeProgram() { calls << QStringLiteral("MinimizeProgram"); }
    QStringList calls;
};

class MenuPanelTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new CallProbe(QStringLiteral("Begin")); });
        Forms::RegisterFactory(QStringLiteral("Background"), [] { return new CallProbe(QStringLiteral("Background")); });
        Forms::RegisterFactory(QStringLiteral("Begin1"), [] { return new Begin1; });
        Forms::RegisterFactory(QStringLiteral("Begin4"), [] { return new Begin4; });
    }
};

} // namespace

TEST_F(MenuPanelTest, PlaceholderPanelsExitMinimiseAndForwardTheMouseToTheMenu)
{
    auto* menu = static_cast<CallProbe*>(Forms::Load(QStringLiteral("Begin")));
    auto* main = static_cast<CallProbe*>(Forms::Load(QStringLiteral("Background")));
    for (const char* name : {"Begin1", "Begin4"}) {
        SCOPED_TRACE(name);
        menu->calls.clear();
        main->calls.clear();
        Form* panel = Forms::Load(QLatin1String(name));
        ASSERT_NE(panel, nullptr);
        panel->Show(Form::Modeless, menu);
        EXPECT_NEAR(panel->Width(), 4920, 15);
        EXPECT_NEAR(panel->Height(), 5655, 15);

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
