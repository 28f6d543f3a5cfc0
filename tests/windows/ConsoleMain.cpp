// The console's tests as a Windows program: real widgets, one application.
// Qt's platform comes from WINEQT_QPA_PLATFORM under Wine (offscreen unless
// told otherwise). The tests' settings go to files in their own folders, as
// on Linux (ConsoleHarness.h points QSettings' INI files there): QSettings'
// default format is made the INI file, which the settings store takes on
// Windows, where it is otherwise the registry.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>

#include "link/ProcessEnd.h"

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    // As varmo.exe ends (console/app/main.cpp).
    varmo::EndProcessOnWindows(status);
    return status;
}
