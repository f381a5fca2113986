#include <QImage>
#include <gtest/gtest.h>

#include "FenPeiTiao.h"
#include "TestSupport.h"
#include "Twips.h"

namespace {

class FenPeiTiaoTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        bar = std::make_unique<FenPeiTiao>();
        bar->Move(0, 0, 3000, 450);
    }
    std::unique_ptr<FenPeiTiao> bar;
};

} // namespace

TEST_F(FenPeiTiaoTest, SetsTheBarByTheRulesOfLengthAndThreshold)
{
    const struct {
        const char* name;
        float before; // set first (from the 13-twip stub)
        float value;
        double bar;
        qint16 length;
    } cases[] = {
        {"zero shows the stub", 1000, 0, 13, 13},
        {"negative shows the stub", 1000, -250, 13, 13},
        {"a step of one hundredth of the width is not drawn", 1000, 1030, 1000, 1000},
        {"a larger step is", 1000, 1031, 1031, 1031},
        {"downwards too", 1000, 969, 969, 969},
        {"small step downwards kept", 1000, 970, 1000, 1000},
        {"fractions are cut", 0, 99.9f, 99, 99},
        {"the last value below the end", 0, 2987, 2987, 2987},
        {"beyond it the bar is full", 0, 2987.5f, 2987, 2987},
        {"above it", 0, 2988, 3000, 3000},
        {"far above it", 0, 1e9f, 3000, 3000},
        {"from the stub a small value stays the stub", 0, 40, 13, 13},
        {"just past the threshold from the stub", 0, 44, 44, 44},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bar->Common01(0);
        bar->Common01(c.before);
        bar->Common01(c.value);
        EXPECT_EQ(bar->BarWidth(), c.bar);
        EXPECT_EQ(bar->BarLength(), c.length);
    }
}

TEST_F(FenPeiTiaoTest, EveryResizeResetsTheBarToTheStub)
{
    bar->Common01(2000);
    ASSERT_EQ(bar->BarLength(), 2000);
    bar->Move(100, 100, 1665, 300);
    EXPECT_EQ(bar->BarWidth(), 13);
    EXPECT_EQ(bar->BarLength(), 13);
    bar->Common01(1700); // now above 1665 - 13: full
    EXPECT_EQ(bar->BarLength(), 1665);
    // Sized in pixels by its host: the twips follow the pixels.
    bar->show();
    bar->resize(Twips::ToPixelsX(3000), bar->height());
    EXPECT_EQ(bar->BarLength(), 13);
    EXPECT_NEAR(bar->Width(), 3000, Twips::PerPixelX());
}

TEST_F(FenPeiTiaoTest, ShowingTheHostDoesNotResetABarSetBefore)
{
    QWidget host;
    auto* b = new FenPeiTiao(&host);
    b->Move(0, 0, 3165, 450);
    b->Common01(1500);
    host.show();
    EXPECT_EQ(b->BarLength(), 1500);
}

TEST_F(FenPeiTiaoTest, DrawsARedBarOnWhite)
{
    bar->Common01(1500);
    const QImage img = bar->grab().toImage();
    const int y = img.height() / 2;
    EXPECT_EQ(QColor(img.pixel(1, y)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(Twips::ToPixelsX(1500) - 2, y)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(Twips::ToPixelsX(1500) + 2, y)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(img.pixel(img.width() - 1, y)), QColor(255, 255, 255));
    bar->Common01(0); // the stub: a sliver of red stays
    const QImage stub = bar->grab().toImage();
    EXPECT_EQ(QColor(stub.pixel(0, y)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(stub.pixel(Twips::ToPixelsX(13) + 1, y)), QColor(255, 255, 255));
}

TEST_F(FenPeiTiaoTest, HostsReadAndWriteBarLengthByName)
{
    bar->Common01(1200);
    EXPECT_EQ(bar->property("BarLength").toInt(), 1200);
    bar->setProperty("BarLength", 77); // the host's own value: the drawn bar stays
    EXPECT_EQ(bar->BarLength(), 77);
    EXPECT_EQ(bar->BarWidth(), 1200);
    EXPECT_TRUE(QMetaObject::invokeMethod(bar.get(), "Common01", Q_ARG(float, 0)));
    EXPECT_EQ(bar->BarLength(), 13);
}
