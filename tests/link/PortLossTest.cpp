// The loss of the line in the operator's words, on both systems: a device
// that went away is "urządzenie odłączone" in the box and "brak urządzenia"
// on the status line, whatever number the system gave for it.
#include <gtest/gtest.h>

#include <QtGlobal>
#include <cerrno>
#include <string>

#include "link/PortLoss.h"
#include "link/SerialError.h"

namespace varmo {
namespace {

const std::string kTakeBack = "Varmo podejmie ją sama po ponownym podłączeniu.";

TEST(PortLossTest, EveryNumberForAVanishedDeviceReadsAsNoDevice)
{
#ifdef Q_OS_WIN
    const int gone[] = {2, 5, 21, 22, 31, 433, 1167};
    const int other[] = {6, 87, 995};
#else
    const int gone[] = {EIO, ENXIO, ENODEV, ENOENT};
    const int other[] = {EINVAL, EBADF, ENOSPC};
#endif
    for (const int code : gone) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(DeviceVanished(code));
        EXPECT_EQ(LossStateText(code), "brak urządzenia");
        EXPECT_EQ(LossNoticeText("COM5", code),
                  "Utracono połączenie z drukarką na COM5 (urządzenie odłączone). " + kTakeBack +
                      "\nKomunikat systemu: " + LossReason(code) + " (błąd " +
                      std::to_string(code) + ")");
    }
    for (const int code : other) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(DeviceVanished(code));
        EXPECT_EQ(LossStateText(code), "błąd: " + PolishSystemReason(code));
        EXPECT_EQ(LossNoticeText("COM5", code).rfind(
                      "Utracono połączenie z drukarką na COM5 (błąd portu). " + kTakeBack, 0),
                  0u);
    }
}

TEST(PortLossTest, TheDetailLineIsTheSystemsOwnTextNeverAWindowsNumberOffWindows)
{
#ifdef Q_OS_WIN
    // FormatMessage's words, in the language of the system.
    EXPECT_EQ(LossReason(21), SystemErrorText(21));
    EXPECT_FALSE(LossReason(21).empty());
#else
    EXPECT_EQ(LossReason(EIO), "błąd wejścia/wyjścia");
    EXPECT_EQ(LossReason(ENAMETOOLONG), SystemErrorText(ENAMETOOLONG));
    const std::string box = LossNoticeText("/dev/ttyUSB0", EIO);
    EXPECT_EQ(box.find("win error"), std::string::npos);
    EXPECT_EQ(box.find("function failed"), std::string::npos);
    EXPECT_NE(box.find("\nKomunikat systemu: błąd wejścia/wyjścia (błąd " + std::to_string(EIO) + ")"),
              std::string::npos);
#endif
}

}  // namespace
}  // namespace varmo
