#include <QStringList>
#include <gtest/gtest.h>

#include "Clock.h"
#include "Form.h"
#include "Forms.h"
#include "TestSupport.h"
#include "Timer.h"

namespace {

// A modal form shown from a timer: on the test clock, time must go on inside its loop as it
// does on the wall clock, and stop there once the form is gone, so that the timer's handler
// finishes before later timers fire.
class ModalClockTest : public AppFixture {};

} // namespace

TEST_F(ModalClockTest, TimeGoesOnInsideAModalLoopUntilTheFormCloses)
{
    QStringList log;
    auto* dialog = new Form(QStringLiteral("Dialog"));
    Forms::Register(dialog);
    Timer closer(nullptr, 200);
    QObject::connect(&closer, &Timer::Tick, [&] {
        closer.SetEnabled(false);
        log << QStringLiteral("close at %1").arg(Clock::Msecs());
        dialog->Hide();
    });
    Timer later(nullptr, 250);
    QObject::connect(&later, &Timer::Tick, [&] {
        later.SetEnabled(false);
        log << QStringLiteral("later at %1").arg(Clock::Msecs());
    });
    Timer opener(nullptr, 100, true);
    QObject::connect(&opener, &Timer::Tick, [&] {
        opener.SetEnabled(false);
        log << QStringLiteral("open at %1").arg(Clock::Msecs());
        closer.SetEnabled(true);
        later.SetEnabled(true);
        dialog->Show(Form::Modal);
        log << QStringLiteral("returned at %1").arg(Clock::Msecs());
    });
    Clock::Advance(1000);
    EXPECT_EQ(log, (QStringList{"open at 100", "close at 300", "returned at 300", "later at 350"}));
    EXPECT_EQ(Clock::Msecs(), 1000);
    dialog->Unload();
}

TEST_F(ModalClockTest, AModalLoopOutsideAnAdvanceWaitsForTheTest)
{
    auto* dialog = new Form(QStringLiteral("Dialog"));
    Forms::Register(dialog);
    Timer closer(nullptr, 50, true);
    int fired = 0;
    QObject::connect(&closer, &Timer::Tick, [&] {
        closer.SetEnabled(false);
        ++fired;
        dialog->Hide();
    });
    // Nothing moves the clock by itself: the test does, from inside the loop.
    QMetaObject::invokeMethod(
        dialog, [&] { EXPECT_EQ(fired, 0); Clock::Advance(50); }, Qt::QueuedConnection);
    dialog->Show(Form::Modal);
    EXPECT_EQ(fired, 1);
    dialog->Unload();
}
