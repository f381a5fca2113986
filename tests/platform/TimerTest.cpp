#include <gtest/gtest.h>

#include "Clock.h"
#include "TestSupport.h"
#include "Timer.h"

namespace {
class TimerTest : public AppFixture {};
}

TEST_F(TimerTest, FiresOnTheManualClockOnlyWhenEnabledWithAnInterval)
{
    Timer zero(nullptr, 0, true);
    Timer t(nullptr, 100, false);
    int zeroTicks = 0, ticks = 0;
    QObject::connect(&zero, &Timer::Tick, [&] { ++zeroTicks; });
    QObject::connect(&t, &Timer::Tick, [&] { ++ticks; });
    Clock::Advance(1000);
    EXPECT_EQ(zeroTicks, 0);
    EXPECT_EQ(ticks, 0);
    t.SetEnabled(true);
    Clock::Advance(99);
    EXPECT_EQ(ticks, 0);
    Clock::Advance(1);
    EXPECT_EQ(ticks, 1);
    Clock::Advance(250);
    EXPECT_EQ(ticks, 3);
}

TEST_F(TimerTest, EnablingARunningTimerDoesNotRestartButANewIntervalDoes)
{
    Timer t(nullptr, 100, true);
    int ticks = 0;
    QObject::connect(&t, &Timer::Tick, [&] { ++ticks; });
    Clock::Advance(60);
    t.SetEnabled(true);
    Clock::Advance(40);
    EXPECT_EQ(ticks, 1);
    Clock::Advance(60);
    t.SetInterval(100);
    Clock::Advance(60);
    EXPECT_EQ(ticks, 1);
    Clock::Advance(40);
    EXPECT_EQ(ticks, 2);
}

TEST_F(TimerTest, OneShotThatDisablesItselfFiresOnceAndTimersFireInOrder)
{
    Timer a(nullptr, 200, true);
    Timer b(nullptr, 100, true);
    QStringList order;
    QObject::connect(&a, &Timer::Tick, [&] {
        a.SetEnabled(false);
        order << "a";
    });
    QObject::connect(&b, &Timer::Tick, [&] {
        b.SetEnabled(false);
        order << "b";
    });
    Clock::Advance(1000);
    EXPECT_EQ(order, QStringList({"b", "a"}));
}

TEST_F(TimerTest, ManualClockMovesWallTime)
{
    const QDateTime start = Clock::Now();
    Clock::Advance(60000);
    EXPECT_EQ(start.secsTo(Clock::Now()), 60);
}
