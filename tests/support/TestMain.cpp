// The test main pins the world before the application exists: offscreen platform, C locale,
// fixed DPI, no quitting when the last form unloads.

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include "Forms.h"

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
    return RUN_ALL_TESTS();
}
