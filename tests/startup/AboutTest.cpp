#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "AppState.h"
#include "Begin.h"
#include "MenuProbes.h"
#include "Shell.h"
#include "TestSupport.h"
#include "Version.h"
#include "frmAbout.h"

namespace {

class AboutTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        menuprobes::RegisterProbes();
        Forms::RegisterFactory(QStringLiteral("frmAbout"), [] { return new frmAbout; });
        Forms::RegisterFactory(QStringLiteral("Begin"), [] { return new Begin; });
        State().CurrentActivity = 30;
        m_about = Forms::Load<frmAbout>();
        m_about->Show();
    }
    QLabel* Line(int index)
    {
        return Forms::Control<QLabel>(QStringLiteral("frmAbout"), QStringLiteral("Label2(%1)").arg(index));
    }
    QColor Colour(int index) { return Line(index)->palette().color(QPalette::WindowText); }
    static void MoveOver(QWidget* w)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton,
            Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }

    frmAbout* m_about{nullptr};
};

const QColor Blue(0, 0, 255);
const QColor Red(255, 0, 0);

} // namespace

TEST_F(AboutTest, ShowsTitleVersionAndCredits)
{
    EXPECT_EQ(Line(0)->text(), "Velmora 2007");
    // The revision is the fourth part of the project's version, and a real one.
    EXPECT_GT(VELMORA_REVISION, 0);
    EXPECT_TRUE(QStringLiteral(VELMORA_VERSION).endsWith(QStringLiteral(".%1").arg(VELMORA_REVISION)));
    EXPECT_EQ(Line(1)->text(), QStringLiteral("Version: %1     (Chinese Simplified)").arg(VELMORA_REVISION));
    EXPECT_FALSE(Line(2)->text().isEmpty());
    EXPECT_FALSE(Line(3)->text().isEmpty());
    EXPECT_EQ(Line(5)->text(), "www.velmora.example");
    EXPECT_EQ(Line(6)->text(), "Contact us");
    EXPECT_EQ(Forms::Control<QLabel>(QStringLiteral("frmAbout"), QStringLiteral("Label1"))->text(), "About");
    EXPECT_FALSE(Forms::Control<QLabel>(QStringLiteral("frmAbout"), QStringLiteral("Image1"))->pixmap().isNull());
}

TEST_F(AboutTest, LinksLightUnderThePointerOneAtATime)
{
    // Each step: where the pointer goes (a line index, or -1 for the background), then the
    // colours of the two links and the lit index.
    const struct {
        int over;
        QColor web;
        QColor mail;
        int lit;
    } steps[] = {
        {0, Blue, Blue, 0},  // the title changes nothing
        {5, Red, Blue, 5},   // onto the web link
        {5, Red, Blue, 5},   // still there
        {6, Blue, Red, 6},   // straight onto the other link
        {2, Blue, Red, 6},   // credit lines change nothing, the lit link stays lit
        {1, Blue, Red, 6},
        {-1, Blue, Blue, 3}, // the background puts it back to blue
        {-1, Blue, Blue, 3},
        {6, Blue, Red, 6},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.over);
        MoveOver(s.over < 0 ? static_cast<QWidget*>(m_about) : Line(s.over));
        EXPECT_EQ(Colour(5), s.web);
        EXPECT_EQ(Colour(6), s.mail);
        EXPECT_EQ(m_about->HighlightedLink, s.lit);
    }
}

TEST_F(AboutTest, BackgroundMovesClearTheMenusHover)
{
    auto* menu = Forms::Load<Begin>();
    menu->Show();
    auto* item = Forms::Control<QLabel>(QStringLiteral("Begin"), QStringLiteral("Image3(2)"));
    MoveOver(item);
    EXPECT_EQ(menu->HoverItem, 2);
    MoveOver(Line(5));
    EXPECT_EQ(menu->HoverItem, 2);
    MoveOver(m_about);
    EXPECT_EQ(menu->HoverItem, 0);
    EXPECT_TRUE(item->pixmap().isNull());
}

TEST_F(AboutTest, LinksOpenTheWebSiteAndAMailToBothAddresses)
{
    Shell::Recorder shell;
    for (int i : {0, 1, 2, 3})
        QTest::mouseClick(Line(i), Qt::LeftButton);
    EXPECT_TRUE(shell.Opened().isEmpty());
    QTest::mouseClick(Line(5), Qt::LeftButton);
    QTest::mouseClick(Line(6), Qt::LeftButton);
    ASSERT_EQ(shell.Opened().size(), 2);
    EXPECT_EQ(shell.Opened()[0].scheme(), "http");
    EXPECT_EQ(shell.Opened()[0].host(), "www.velmora.example");
    const QUrl mail = shell.Opened()[1];
    EXPECT_EQ(mail.scheme(), "mailto");
    // Mail programs take a comma between recipients; each address is under the maker's domain.
    const QStringList to = mail.path().split(',');
    ASSERT_EQ(to.size(), 2);
    for (const QString& address : to) {
        SCOPED_TRACE(address.toStdString());
        EXPECT_TRUE(address.endsWith("@velmora.example"));
    }
    EXPECT_NE(to[0], to[1]);
}
