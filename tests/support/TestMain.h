#pragma once

#include <QLocale>

#include <gtest/gtest.h>

// Runs every test inside an application object of type App, without a display and with
// English names, whatever the machine's settings.
template <class App> int runAllTests(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    App app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
