// Which device a port name opens on Linux: the environment first, then the
// settings, then the machine's own serial ports.
#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "link/DeviceMapping.h"
#include "link/SettingsStore.h"

using namespace varmo;
using varmo::testing::ScopedEnv;
using varmo::testing::ScopedSettingsDir;

TEST(DeviceMapping, EnvironmentBeatsSettingsBeatsTheBuiltInPorts)
{
    ScopedSettingsDir dir;
    EXPECT_EQ(DevicePathForPort("COM1"), "/dev/ttyS0");
    EXPECT_EQ(DevicePathForPort("COM16"), "/dev/ttyS15");
    EXPECT_EQ(DevicePathForPort("com4"), "/dev/ttyS3");   // the name rules apply
    EXPECT_EQ(DevicePathForPort("COM17"), "/dev/ttyS0");

    WriteSetting("devices/COM4", "/dev/ttyUSB0");
    EXPECT_EQ(DevicePathForPort("COM4"), "/dev/ttyUSB0");
    EXPECT_EQ(DevicePathForPort("COM3"), "/dev/ttyS2");  // only COM4 is mapped

    {
        ScopedEnv env("VARMO_COM4", "/tmp/printer");
        EXPECT_EQ(DevicePathForPort("COM4"), "/tmp/printer");
        ScopedEnv other("VARMO_COM1", "/dev/pts/9");
        EXPECT_EQ(DevicePathForPort("COM1"), "/dev/pts/9");
    }
    {
        // Set but empty counts as not set.
        ScopedEnv empty("VARMO_COM4", "");
        EXPECT_EQ(DevicePathForPort("COM4"), "/dev/ttyUSB0");
    }

    WriteSetting("devices/COM4", "");
    EXPECT_EQ(DevicePathForPort("COM4"), "/dev/ttyS3");
}
