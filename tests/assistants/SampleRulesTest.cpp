#include <gtest/gtest.h>

#include <QSet>
#include <cmath>
#include <cstring>
#include <limits>

#include "SampleRules.h"
#include "TestSupport.h"
#include "ZoomRules.h"

namespace {

QByteArray Records(const QVector<StrokePoint>& points)
{
    QByteArray bytes;
    quint8 key = 0;
    for (const StrokePoint& p : points) {
        bytes += EncodeStrokeRecord(p, key, quint8((key + 5) % StrokeKeyCount));
        key = quint8((key + 1) % StrokeKeyCount);
    }
    return bytes;
}

// A record (under key 0) whose stored X or Y is the given raw float.
QByteArray RawRecord(float storedX, float y)
{
    QByteArray record = EncodeStrokeRecord({1, y}, 0, 0);
    std::memcpy(record.data(), &storedX, sizeof storedX);
    return record;
}
QByteArray RawYRecord(float storedY)
{
    QByteArray record = EncodeStrokeRecord({900, 1}, 0, 0);
    std::memcpy(record.data() + 5, &storedY, sizeof storedY);
    return record;
}

class SampleRulesTest : public AppFixture {
protected:
    void WriteStrokes(QChar ch, const QByteArray& bytes) { WriteFile(StrokeFileName(ch), bytes); }
};

TEST(SampleListTest, ListsTheSamplesInTheirFixedOrderAfterSelect)
{
    const QStringList items = SampleListItems();
    ASSERT_EQ(items.size(), SampleCount + 1);
    const struct {
        int index;
        const char16_t* item;
    } cases[] = {{0, u"Select"}, {1, u"1 - 我"}, {2, u"2 - 是"}, {200, u"200 - 偷"}, {201, u"201 - 喜"},
        {800, u"800 - 山"}, {811, u"811 - 乘"}, {812, u"812 - 晨"}, {863, u"863 - 景"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(items.at(c.index), QString::fromUtf16(c.item));
    }
    EXPECT_EQ(SampleCharacterOf(items.at(863)), QStringLiteral("景"));
    // Distinct characters: every one names its own stroke file.
    QSet<QChar> seen;
    for (QChar c : SampleCharacters()) {
        EXPECT_FALSE(StrokeFileName(c).isEmpty()) << QString(c).toStdString();
        seen.insert(c);
    }
    EXPECT_EQ(seen.size(), SampleCount);
}

TEST(SampleListTest, ThePreviousAndNextButtonsFollowTheListPosition)
{
    const int count = SampleCount + 1;
    const struct {
        int index;
        SampleButtons buttons;
    } cases[] = {{0, {false, true}}, {1, {false, true}}, {2, {true, true}}, {862, {true, true}}, {863, {true, false}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(SampleButtonsAt(c.index, count), c.buttons);
    }
}

TEST_F(SampleRulesTest, ReadsEveryWholeRecordWithItsStrokeEnds)
{
    const QVector<StrokePoint> points{{900, 1300}, {980, 1300}, {0, 0}, {1000, 2000}, {0, 0}};
    struct Case {
        const char* why;
        QByteArray bytes;
        SampleStrokes::Outcome result;
        int records;
        int strokes;
    };
    const Case cases[] = {
        {"two strokes", Records(points), SampleStrokes::Loaded, 5, 2},
        {"a trailing partial record is ignored", Records(points) + QByteArray(7, '\x11'), SampleStrokes::Loaded, 5, 2},
        {"a file shorter than one record is empty", QByteArray(9, '\x01'), SampleStrokes::Empty, 0, 0},
        {"an empty file", QByteArray(), SampleStrokes::Empty, 0, 0},
        {"a key past the table ends a stroke", Records({{900, 1300}}) + EncodeStrokeRecord({900, 1}, 0, 0).replace(4, 1, "\x40"),
            SampleStrokes::Loaded, 2, 1},
        {"a stored X that is no number is left out, not counted as a stroke end",
            Records({{900, 1300}}) + RawRecord(std::nanf(""), 5) + Records({{0, 0}}), SampleStrokes::Loaded, 2, 1},
        {"so is an infinite Y", Records({{900, 1300}}) + RawYRecord(std::numeric_limits<float>::infinity()) + Records({{0, 0}}),
            SampleStrokes::Loaded, 2, 1},
        {"a file of damaged records only is empty", RawRecord(std::nanf(""), 1), SampleStrokes::Empty, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        WriteStrokes(QChar(u'我'), c.bytes);
        const SampleStrokes s = ReadSampleStrokes(State().AppPath, QChar(u'我'));
        EXPECT_EQ(s.Result, c.result);
        EXPECT_EQ(s.Number, QStringLiteral("-12590"));
        EXPECT_EQ(s.Data.Points.size(), c.records);
        EXPECT_EQ(s.Data.StrokeCount, c.strokes);
        for (const StrokePoint& p : s.Data.Points)
            EXPECT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y));
    }
    const SampleStrokes first = [&] {
        WriteStrokes(QChar(u'我'), Records(points));
        return ReadSampleStrokes(State().AppPath, QChar(u'我'));
    }();
    EXPECT_EQ(first.Data.Points.at(1).X, 980.0f);
    EXPECT_EQ(first.Data.Points.at(3).Y, 2000.0f);
}

TEST_F(SampleRulesTest, AMissingFileIsNamedByItsNumber)
{
    const SampleStrokes s = ReadSampleStrokes(State().AppPath, QChar(u'好'));
    EXPECT_EQ(s.Result, SampleStrokes::Missing);
    EXPECT_EQ(s.Number, QStringLiteral("-17725"));
}

// The longest file the reader takes: the animation runs through all of it, wraps to the first
// record and never reads outside the records.
TEST_F(SampleRulesTest, TheAnimationRunsThroughAFileAtTheRecordLimitAndStartsOver)
{
    QByteArray bytes = EncodeStrokeRecord({900, 1300}, 3, 4).repeated(StrokeRecordLimit - 1);
    bytes += EncodeStrokeRecord({0, 0}, 3, 4);
    bytes += EncodeStrokeRecord({900, 1300}, 3, 4).repeated(5); // beyond the limit: not read
    WriteStrokes(QChar(u'我'), bytes);
    const SampleStrokes s = ReadSampleStrokes(State().AppPath, QChar(u'我'));
    ASSERT_EQ(s.Data.Points.size(), StrokeRecordLimit);
    StrokeAnimation animation;
    animation.Load(s.Data);
    int drawn = 0;
    for (int i = 0; i < StrokeRecordLimit; ++i)
        drawn += animation.Advance().Draw ? 1 : 0;
    EXPECT_EQ(drawn, StrokeRecordLimit - 1);
    EXPECT_EQ(animation.AnimationPosition(), StrokeRecordLimit);
    const StrokeTick wrap = animation.Advance();
    EXPECT_TRUE(wrap.Clear);
    EXPECT_EQ(wrap.Counter, QStringLiteral("1 / 1"));
    EXPECT_EQ(animation.AnimationPosition(), 0);
    EXPECT_TRUE(animation.Advance().Draw);
}

TEST(SampleDotTest, PointsAreDrawnFortyPixelsBelowTheTop)
{
    EXPECT_EQ(SampleDotPosition({900, 1300}, 15), QPointF(900, 1900));
    EXPECT_EQ(SampleDotPosition({900, 1300}, 12), QPointF(900, 1780));
    EXPECT_EQ(StrokeCounterText(3, 12), QStringLiteral("3 / 12"));
}

} // namespace
