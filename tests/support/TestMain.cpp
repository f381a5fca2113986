// The test main pins the world before the application exists: offscreen platform, C locale,
// fixed DPI, no quitting when the last form unloads.

#include <QApplication>
#include <QLocale>
#include <QRandomGenerator>
#include <cstdio>
#include <gtest/gtest.h>

#include "Forms.h"
#include "SoundOutput.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_FONT_DPI", "96");
    // No test reaches a real dictionary service: look-ups go to a closed loopback port unless a
    // test points them at its own loopback service.
    qputenv("VELMORA_ONLINE_SERVICE", "http://127.0.0.1:9");
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    Forms::SetQuitWhenEmpty(false);
    ::testing::InitGoogleTest(&argc, argv);
    // A shuffled run picks its seed here and says it first, so an order that fails (even by a
    // crash, or in brief mode, which prints no seed) can be run again.
    if (GTEST_FLAG_GET(shuffle)) {
        if (GTEST_FLAG_GET(random_seed) == 0)
            GTEST_FLAG_SET(random_seed, static_cast<int>(QRandomGenerator::global()->bounded(1, 100000)));
        std::fprintf(stderr, "Shuffled: run again with --gtest_shuffle --gtest_random_seed=%d\n",
            static_cast<int>(GTEST_FLAG_GET(random_seed)));
        std::fflush(stderr);
    }
    const int result = RUN_ALL_TESTS();
    // As the program does: the sound device goes before main returns (SoundOutput.h).
    CloseSoundOutputs();
    return result;
}
