#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRect>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "AssistantsFixture.h"
#include "CharacterTable.h"
#include "Clock.h"
#include "Dictionary.h"
#include "Forms.h"
#include "SampleRules.h"
#include "Samples.h"
#include "SharedPlayer.h"
#include "WavFile.h"
#include "WavePlayer.h"
#include "WriteCharacter.h"

using namespace assistants_test;

namespace {

QByteArray Sound(int ms) { return WavFile::Encode16(8000, 1, QByteArray(ms * 8 * 2, '\x20')); }

// 我: three strokes of 2, 1 and 2 points.
const QVector<StrokePoint> ThreeStrokes{{900, 1300}, {960, 1300}, {0, 0}, {1500, 1600}, {0, 0}, {2000, 2000},
    {2060, 2060}, {0, 0}};

// Dots the sample window draws (dark red) or the pad (black) inside a window's image.
int Dots(QWidget* window, bool red)
{
    const QImage image = window->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += red ? (c.red() > 120 && c.green() < 60 && c.blue() < 60) : (c.red() < 40 && c.green() < 40 && c.blue() < 40);
        }
    return n;
}

class SamplesWindowTest : public AssistantsWithPlayers {
protected:
    void WriteStrokes(QChar ch, const QVector<StrokePoint>& points)
    {
        QByteArray bytes;
        for (const StrokePoint& p : points)
            bytes += EncodeStrokeRecord(p, 2, 7);
        WriteFile(StrokeFileName(ch), bytes);
    }
    void OpenPair()
    {
        Open("Command6");
        samples = Forms::Find<Samples>();
        pad = Forms::Find<WriteCharacter>();
        ASSERT_NE(samples, nullptr);
        ASSERT_NE(pad, nullptr);
        combo = samples->findChild<QComboBox*>(QStringLiteral("Combo1"));
        ASSERT_NE(combo, nullptr);
    }
    void Choose(int index)
    {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    QString Text(const char* control) const { return samples->findChild<QLabel*>(QLatin1String(control))->text(); }
    QPushButton* Button(const char* control) const { return samples->findChild<QPushButton*>(QLatin1String(control)); }
    static void Tick(int n = 1) { Clock::Advance(30 * n); }
    WavePlayer* OwnPlayer() const { return samples->findChild<WavePlayer*>(); }

    Samples* samples{nullptr};
    WriteCharacter* pad{nullptr};
    QComboBox* combo{nullptr};
};

TEST_F(SamplesWindowTest, OpensOnSelectWithTheListAndNoAnimation)
{
    OpenPair();
    EXPECT_EQ(combo->count(), SampleCount + 1);
    EXPECT_EQ(combo->currentText(), QStringLiteral("Select"));
    EXPECT_FALSE(Button("Command1")->isEnabled());
    EXPECT_TRUE(Button("Command3")->isEnabled());
    EXPECT_FALSE(Button("Command2")->isEnabled());
    EXPECT_EQ(Button("Command2")->text(), QStringLiteral("Stop"));
    EXPECT_TRUE(Text("Label1").isEmpty());
    // The pair stands side by side, the pad as wide as the dictionary less the samples,
    // frames included.
    const QRect padFrame = pad->frameGeometry();
    const QRect samplesFrame = samples->frameGeometry();
    EXPECT_NEAR(samplesFrame.left(), padFrame.left() + padFrame.width(), 1);
    EXPECT_NEAR(padFrame.width() + samplesFrame.width(), Forms::Find<Dictionary>()->frameGeometry().width(), 1);
}

TEST_F(SamplesWindowTest, EachTickHandlesOneRecordAndTheCounterNeverPassesTheStrokeCount)
{
    WriteStrokes(QChar(u'我'), ThreeStrokes);
    OpenPair();
    Choose(1);
    EXPECT_EQ(Text("Label1"), QStringLiteral("我"));
    EXPECT_EQ(Text("Label2"), QStringLiteral("1 / 3"));
    EXPECT_EQ(Button("Command2")->text(), QStringLiteral("Stop"));
    EXPECT_FALSE(Button("Command1")->isEnabled());
    EXPECT_TRUE(Button("Command3")->isEnabled());
    // After each tick: the counter and whether the drawing holds dots.
    const struct {
        const char* counter;
        bool dots;
    } ticks[] = {{"1 / 3", true}, {"1 / 3", true}, {"2 / 3", true}, {"2 / 3", true}, {"3 / 3", true},
        {"3 / 3", true}, {"3 / 3", true}, {"3 / 3", true}, {"1 / 3", false}, {"1 / 3", true}, {"1 / 3", true},
        {"2 / 3", true}};
    int tick = 0;
    for (const auto& t : ticks) {
        SCOPED_TRACE(++tick);
        Tick();
        EXPECT_EQ(Text("Label2"), QLatin1String(t.counter));
        EXPECT_EQ(Dots(samples, true) > 0, t.dots);
    }
}

TEST_F(SamplesWindowTest, StopThenStartDrawsAgainFromTheFirstRecord)
{
    WriteStrokes(QChar(u'我'), ThreeStrokes);
    OpenPair();
    Choose(1);
    Tick(4);
    EXPECT_EQ(Text("Label2"), QStringLiteral("2 / 3"));
    samples->Command2_Click();
    EXPECT_EQ(Button("Command2")->text(), QStringLiteral("Start"));
    EXPECT_TRUE(Text("Label2").isEmpty());
    EXPECT_EQ(Dots(samples, true), 0);
    Tick(10);
    EXPECT_EQ(Dots(samples, true), 0);
    EXPECT_TRUE(Text("Label2").isEmpty());

    Button("Command2")->click();
    EXPECT_EQ(Button("Command2")->text(), QStringLiteral("Stop"));
    EXPECT_EQ(Text("Label2"), QStringLiteral("1 / 3"));
    Tick(2);
    EXPECT_EQ(Text("Label2"), QStringLiteral("1 / 3"));
    EXPECT_GT(Dots(samples, true), 0);
    Tick();
    EXPECT_EQ(Text("Label2"), QStringLiteral("2 / 3"));
}

TEST_F(SamplesWindowTest, ChoosingTheCharacterShownChangesNothing)
{
    WriteStrokes(QChar(u'我'), ThreeStrokes);
    OpenPair();
    Choose(1);
    Tick(3);
    const int dots = Dots(samples, true);
    Choose(1);
    EXPECT_EQ(Text("Label2"), QStringLiteral("2 / 3"));
    EXPECT_EQ(Dots(samples, true), dots);
    Tick();
    EXPECT_EQ(Text("Label2"), QStringLiteral("2 / 3"));
}

TEST_F(SamplesWindowTest, PreviousAndNextStepThroughTheListAndReportMissingAndEmptyFiles)
{
    WriteStrokes(QChar(u'我'), ThreeStrokes);
    WriteFile(StrokeFileName(QChar(u'是')), QByteArray(9, '\x01')); // shorter than a record
    OpenPair();
    Button("Command3")->click();
    EXPECT_EQ(Text("Label1"), QStringLiteral("我"));
    EXPECT_TRUE(m_boxes->Boxes().isEmpty());

    Button("Command3")->click(); // 是: an empty file
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes().first().text, QStringLiteral("File -13625.vmq is empty!"));
    EXPECT_EQ(m_boxes->Boxes().first().title, QStringLiteral("Warning"));
    EXPECT_EQ(Text("Label1"), QStringLiteral("是"));
    EXPECT_FALSE(Button("Command2")->isEnabled());
    EXPECT_TRUE(Button("Command1")->isEnabled());
    Tick(5);
    EXPECT_EQ(Dots(samples, true), 0);

    m_boxes->Clear();
    Button("Command3")->click(); // 美: no file at all
    ASSERT_EQ(m_boxes->Boxes().size(), 1);
    EXPECT_EQ(m_boxes->Boxes().first().text, QStringLiteral("Fail to find character file -15424.vmq"));
    EXPECT_EQ(Text("Label1"), QStringLiteral("是"));

    Choose(SampleCount);
    EXPECT_TRUE(Button("Command1")->isEnabled());
    EXPECT_FALSE(Button("Command3")->isEnabled());
    Choose(0);
    EXPECT_TRUE(Text("Label1").isEmpty());
    EXPECT_FALSE(Button("Command2")->isEnabled());
    EXPECT_FALSE(Button("Command1")->isEnabled());
}

TEST_F(SamplesWindowTest, EachRoundPronouncesTheCharacterUnlessTheSharedPlayerPlays)
{
    WriteStrokes(QChar(u'我'), {{900, 1300}, {0, 0}});
    WriteFile(QStringLiteral("Phonetic Symbols/W/wo3.wav"), Sound(40));
    WriteFile(QStringLiteral("Phonetic Symbols/M/ma1.wav"), Sound(400));
    AppendCharacterRecord({QStringLiteral("我"), {MakeReading(QStringLiteral("w.o"), QChar(u'3'))}, {}});
    OpenPair();
    Choose(1);
    EXPECT_EQ(OwnPlayer()->Mode(), WavePlayer::ModePlaying);
    EXPECT_TRUE(OwnPlayer()->FileName().endsWith(QStringLiteral("Phonetic Symbols/W/wo3.wav")));
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModeNotOpen);
    Tick(2); // the sound ends; its end closes the window's player
    EXPECT_NE(OwnPlayer()->Mode(), WavePlayer::ModePlaying);
    Tick(); // past the last record: the round starts over and speaks again
    EXPECT_EQ(OwnPlayer()->Mode(), WavePlayer::ModePlaying);
    Tick(2);

    PlaySoundFile(Path(QStringLiteral("Phonetic Symbols/M/ma1.wav")), SoundOwnerCode::Nobody);
    ASSERT_EQ(MMControl1()->Mode(), WavePlayer::ModePlaying);
    Tick(); // another round while the shared player plays: silent
    EXPECT_NE(OwnPlayer()->Mode(), WavePlayer::ModePlaying);
    EXPECT_EQ(MMControl1()->Mode(), WavePlayer::ModePlaying);
}

TEST_F(SamplesWindowTest, ClosingEitherWindowClosesBothAndReturnsToTheMenu)
{
    const struct {
        const char* how;
        std::function<void(Samples*, WriteCharacter*)> close;
    } cases[] = {
        {"the pad's Close", [](Samples*, WriteCharacter* p) { p->findChild<QPushButton*>(QStringLiteral("Command1"))->click(); }},
        {"Esc on the pad", [](Samples*, WriteCharacter* p) { QTest::keyClick(p, Qt::Key_Escape); }},
        {"Esc on the samples", [](Samples* s, WriteCharacter*) { QTest::keyClick(s, Qt::Key_Escape); }},
        {"the window manager closes the samples", [](Samples* s, WriteCharacter*) { s->close(); }},
        {"the window manager closes the pad", [](Samples*, WriteCharacter* p) { p->close(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        OpenPair();
        EXPECT_EQ(State().CurrentActivity, 17);
        EXPECT_FALSE(Visible("Begin4"));
        c.close(samples, pad);
        Settle();
        EXPECT_EQ(Forms::Find<Samples>(), nullptr);
        EXPECT_EQ(Forms::Find<WriteCharacter>(), nullptr);
        EXPECT_EQ(State().CurrentActivity, 10);
        EXPECT_FALSE(Visible("Dictionary"));
        EXPECT_FALSE(Visible("DictionaryOnline"));
        EXPECT_TRUE(Visible("Begin"));
        EXPECT_TRUE(Visible("Begin4"));
    }
}

TEST_F(SamplesWindowTest, ThePadKeepsItsDotsUntilARightClick)
{
    OpenPair();
    pad->show();
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent e(type, at, pad->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(pad, &e);
    };
    // The captions are black too: count what the pen adds to them.
    const int captions = Dots(pad, false);
    auto ink = [&] { return Dots(pad, false) - captions; };
    send(QEvent::MouseMove, {200, 200}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(ink(), 0) << "no pen down, no dot";
    send(QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    const int one = ink();
    EXPECT_GT(one, 0);
    send(QEvent::MouseMove, {130, 100}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, {160, 100}, Qt::NoButton, Qt::LeftButton);
    const int three = ink();
    EXPECT_GT(three, 2 * one);
    send(QEvent::MouseButtonRelease, {160, 100}, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseMove, {190, 100}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(ink(), three) << "the pen is up";
    pad->resize(pad->width() + 50, pad->height());
    EXPECT_EQ(ink(), three) << "kept across a resize";

    // A right click clears, even while the left button is held.
    send(QEvent::MouseButtonPress, {100, 150}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonPress, {100, 150}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(ink(), 0);
}

} // namespace
