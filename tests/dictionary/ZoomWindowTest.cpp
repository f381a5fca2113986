// The character pop-up's window wired to its rules: real widgets on the offscreen platform,
// a stroke file and sounds in a temporary application folder, time on the test clock.

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "AppState.h"
#include "CharacterTable.h"
#include "Clock.h"
#include "Forms.h"
#include "StrokeFile.h"
#include "TestSupport.h"
#include "Timer.h"
#include "Twips.h"
#include "WavFile.h"
#include "WavePlayer.h"
#include "Zoom.h"

namespace {

QColor Ink(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

void MoveOver(QWidget* w)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

class ZoomWindowTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Twips::OverrideScreen({0, 0, 1280, 960}, {0, 0, 1280, 920});
        State().TaskbarHeight = 600;
        Forms::RegisterFactory<Zoom>();
        Forms::RegisterFactory(QStringLiteral("Other"), [] { return new Form(QStringLiteral("Other")); });
        CharacterRecord hao;
        hao.Character = QStringLiteral("好");
        hao.Readings = ReadingsFromSyllables(QStringLiteral("h.ao3 h.ao4"));
        ASSERT_TRUE(AppendCharacterRecord(hao));
        State().WordText[0] << QStringLiteral("好人");
        State().WordText[1] << QStringLiteral(" good person ");
        State().WordPinyin << QStringLiteral("h.ao4 r.en2");
        State().WordCount = State().WordCountCopy = 1;
        const QByteArray wav = WavFile::Encode16(8000, 1, QByteArray(8000 * 2, '\x10')); // 1 s
        WriteFile("Phonetic Symbols/H/hao3.wav", wav);
        WriteFile("Phonetic Symbols/H/hao4.wav", wav);
        // Two strokes: three points and an end, one point and an end.
        QByteArray strokes;
        for (StrokePoint p : {StrokePoint{1000, 400}, StrokePoint{1060, 400}, StrokePoint{1120, 400},
                              StrokePoint{0, 0}, StrokePoint{2000, 2000}, StrokePoint{0, 0}})
            strokes += EncodeStrokeRecord(p, 5, 11);
        WriteFile("Characters/-17725.vmq", strokes);
    }
    void TearDown() override
    {
        Twips::ClearScreenOverride();
        AppFixture::TearDown();
    }
};

} // namespace

TEST_F(ZoomWindowTest, ASelectedCharacterPopsUpWithItsReadingsSpeaksOneAndDrawsItsStrokes)
{
    Zoom* zoom = Forms::Load<Zoom>();
    ASSERT_NE(zoom, nullptr);

    // A character without a record: nothing appears.
    zoom->ChaZhao(QStringLiteral("我"), {}, {}, 1000, 200, 300, 2000, 400, 100, 260);
    EXPECT_FALSE(zoom->isVisible());
    EXPECT_EQ(zoom->Label1->text(), "我");

    // 好 before 人: the entry 好人 chooses hào, red and spoken; the window has double width
    // for the stroke file and stands beside the pointer.
    zoom->ChaZhao(QStringLiteral("好"), {}, QStringLiteral("人"), 1000, 200, 300, 2000, 400, 100, 260);
    ASSERT_TRUE(zoom->isVisible());
    ASSERT_EQ(zoom->ShownReadingCount, 2);
    EXPECT_EQ(zoom->Label2[1]->text(), "hǎo");
    EXPECT_EQ(zoom->Label2[1]->toolTip(), "hao3");
    EXPECT_EQ(zoom->Label2[2]->text(), "hào");
    EXPECT_EQ(Ink(zoom->Label2[1]), QColor(0, 0, 192));
    EXPECT_EQ(Ink(zoom->Label2[2]), QColor(255, 0, 0));
    EXPECT_TRUE(zoom->MMControl1->FileName().endsWith("Phonetic Symbols/H/hao4.wav"));
    EXPECT_EQ(zoom->MMControl1->Mode(), WavePlayer::ModePlaying);
    EXPECT_EQ(State().CurrentTone, "4");
    const double characterWidth = Twips::FromPixelsX(zoom->Label1->width());
    EXPECT_NEAR(zoom->Width(), 2 * (characterWidth + 180), 15);
    EXPECT_NEAR(zoom->Left(), 1760, 15);
    EXPECT_NEAR(zoom->Top(), 2760, 15);

    // One record per 20 ms tick: the first point in blue, the counter after the first stroke
    // end, the drawing cleared after the last record.
    EXPECT_EQ(zoom->Label3->text(), "");
    Clock::Advance(20);
    const QPointF first = StrokeDotPosition({1000, 400}, characterWidth, 2, 570);
    const QImage shot = zoom->grab().toImage();
    EXPECT_EQ(shot.pixelColor(Twips::ToPixelsX(first.x()), Twips::ToPixelsY(first.y())), QColor(0, 0, 255));
    Clock::Advance(60);
    EXPECT_EQ(zoom->Label3->text(), "2 / 2");
    Clock::Advance(60);
    EXPECT_EQ(zoom->Label3->text(), "1 / 2");
    EXPECT_NE(zoom->grab().toImage().pixelColor(Twips::ToPixelsX(first.x()), Twips::ToPixelsY(first.y())),
              QColor(0, 0, 255));
    EXPECT_TRUE(zoom->Timer2->Enabled());

    // Hovering hǎo turns it red (hào back to normal) and speaks it 400 ms later, once the
    // pop-up's own sound has ended or not: its player is not the shared one.
    MoveOver(zoom->Label2[1]);
    EXPECT_EQ(Ink(zoom->Label2[1]), QColor(255, 0, 0));
    Clock::Advance(399);
    EXPECT_TRUE(zoom->MMControl1->FileName().endsWith("hao4.wav"));
    Clock::Advance(1);
    EXPECT_TRUE(zoom->MMControl1->FileName().endsWith("hao3.wav"));
    MoveOver(zoom);
    EXPECT_EQ(Ink(zoom->Label2[1]), QColor(0, 0, 192));

    // The next look-up replaces the labels; with the given syllable the neutral tone plays tone 1.
    WriteFile("Phonetic Symbols/H/hao1.wav", WavFile::Encode16(8000, 1, QByteArray(1600, '\x10')));
    zoom->ShowPinYin(QStringLiteral("好"), QStringLiteral("h.ao0"), 1000, 200, 300, 2000, 400, 100, 260);
    EXPECT_EQ(zoom->ShownReadingCount, 1);
    EXPECT_EQ(zoom->Label2[2], nullptr);
    EXPECT_EQ(zoom->Label2[1]->text(), "hao");
    EXPECT_TRUE(zoom->MMControl1->FileName().endsWith("Phonetic Symbols/H/hao1.wav"));

    // Another window of the program becomes active: the pop-up hides and the animation stops.
    Form* other = Forms::Load(QStringLiteral("Other"));
    other->Show();
    other->activateWindow();
    QApplication::processEvents();
    EXPECT_FALSE(zoom->isVisible());
    EXPECT_FALSE(zoom->Timer2->Enabled());
    EXPECT_EQ(zoom->MMControl1->Mode(), WavePlayer::ModeNotOpen);
}
