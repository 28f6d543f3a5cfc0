// The link tests need an event loop for the port's deliveries, and settings
// that never touch the real home directory.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "LinkTestSupport.h"

int main(int argc, char** argv)
{
    QTemporaryDir home;
    // Both set before the first QSettings is made anywhere in the run.
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
    varmo::testing::RunSettingsDir() = home.path();
    // A technician's own device mapping must not steer the tests.
    for (int n = 1; n <= 16; ++n)
        qunsetenv(("VARMO_COM" + std::to_string(n)).c_str());

    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
