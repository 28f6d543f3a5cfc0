// The settings in the registry (link/SettingsStore.cpp, QSettings' native
// format on Windows) and the device list from SERIALCOMM
// (link/SerialDevicesWin.cpp), read and written with the Win32 registry API
// beside them, in the Wine prefix made for the run.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "link/SerialDevices.h"
#include "link/SettingsStore.h"
#include "link/StoredLink.h"
#include "protocol/Exception.h"
#include "tests/windows/WinePrinter.h"

using namespace varmo;

namespace {

const wchar_t* const kKey = L"Software\\Ferwen s.c.\\Varmo";

struct RegistryValue {
    DWORD type = REG_NONE;
    std::wstring text;
    bool present = false;
};

RegistryValue registryValue(const wchar_t* name)
{
    RegistryValue value;
    wchar_t data[256] = {};
    DWORD bytes = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type, data,
                     &bytes) == ERROR_SUCCESS) {
        value.present = true;
        if (value.type == REG_SZ || value.type == REG_EXPAND_SZ)
            value.text = data;
    }
    return value;
}

void setRegistryValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    RegCloseKey(key);
}

std::string failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e.what();
    }
    return "no failure";
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
        OpenSettingsStore();
    }
    void TearDown() override
    {
        CloseSettingsStore();
        RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    }
};

}  // namespace

TEST_F(Registry, SettingsAreTextValuesUnderTheCurrentUsersKey)
{
    // No key yet: the defaults.
    EXPECT_EQ(StoredPortName(), "COM1");
    EXPECT_EQ(StoredBaud(), 9600);
    EXPECT_EQ(StoredCodePage(), "maz");

    WriteSetting("com", "COM5");
    WriteSetting("baud", "19200");
    WriteSetting("plStd", "win");
    for (const auto& [name, text] : {std::pair{L"com", L"COM5"}, std::pair{L"baud", L"19200"},
                                     std::pair{L"plStd", L"win"}}) {
        const RegistryValue value = registryValue(name);
        EXPECT_TRUE(value.present);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value.text, text);
    }
    EXPECT_EQ(StoredPortName(), "COM5");
    EXPECT_EQ(StoredBaud(), 19200);
    EXPECT_EQ(StoredCodePage(), "win");

    // What the operator typed is kept as typed, Polish letters too.
    WriteSetting("com", QStringLiteral("port łódzki"));
    EXPECT_EQ(registryValue(L"com").text, L"port \u0142\u00f3dzki");
    EXPECT_EQ(ReadSetting("com"), QStringLiteral("port łódzki"));
}

TEST_F(Registry, ValuesWrittenByOthersAreReadAsTextOrNumberElseASettingsProblem)
{
    // An expandable text is text, returned unexpanded.
    const std::wstring expandable = L"%VARMO_PORT%";
    setRegistryValue(L"com", REG_EXPAND_SZ, expandable.c_str(),
                     static_cast<DWORD>((expandable.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(ReadSetting("com"), QStringLiteral("%VARMO_PORT%"));

    // A number, as an administrator's .reg file writes a speed, is read as
    // the number it is.
    const DWORD number = 57600;
    setRegistryValue(L"baud", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(ReadSetting("baud"), QStringLiteral("57600"));
    EXPECT_EQ(StoredBaud(), 57600);
    const unsigned long long wide = 19200;
    setRegistryValue(L"baud", REG_QWORD, &wide, sizeof wide);
    EXPECT_EQ(ReadSetting("baud"), QStringLiteral("19200"));

    // Several texts are no setting: a settings problem of its own.
    const wchar_t several[] = L"COM1\0COM2\0";
    setRegistryValue(L"com", REG_MULTI_SZ, several, sizeof several);
    EXPECT_EQ(failureOf([] { ReadSetting("com"); }), "Invalid data type for 'com'");
    EXPECT_THROW(ReadSetting("com"), SettingsTypeError);

    // An empty text is as good as none.
    setRegistryValue(L"plStd", REG_SZ, L"", sizeof(wchar_t));
    EXPECT_EQ(ReadSetting("plStd"), "");
    EXPECT_EQ(StoredCodePage(), "maz");
}

TEST(SerialDevicesWin, TheListIsWhatSerialcommMapsFromComOneToSixteen)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr, 0,
                              KEY_READ | KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"\\Device\\VarmoTest7", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"COM7"),
                   5 * sizeof(wchar_t));
    RegSetValueExW(key, L"\\Device\\VarmoTest17", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"COM17"),
                   6 * sizeof(wchar_t));

    const std::vector<SerialDevice> devices = ListSerialDevices();
    RegDeleteValueW(key, L"\\Device\\VarmoTest7");
    RegDeleteValueW(key, L"\\Device\\VarmoTest17");
    RegCloseKey(key);

    const auto com7 = std::find_if(devices.begin(), devices.end(),
                                   [](const SerialDevice& d) { return d.path == "COM7"; });
    ASSERT_NE(com7, devices.end());
    EXPECT_EQ(com7->comNames, QStringList{"COM7"});
    EXPECT_EQ(com7->PortName(), "COM7");
    EXPECT_TRUE(com7->stableName.isEmpty());
    EXPECT_FALSE(com7->missing);
    // COM17 is beyond what the console names.
    for (const SerialDevice& device : devices)
        EXPECT_NE(device.path, "COM17");
    // In order of their numbers.
    for (std::size_t i = 1; i < devices.size(); ++i)
        EXPECT_LT(devices[i - 1].path.mid(3).toInt(), devices[i].path.mid(3).toInt());
}

// A port SERIALCOMM does not map is offered when it opens (here a printer
// behind COM7, which no registry value names), and not once it is gone.
TEST(SerialDevicesWin, AComPortThatOpensIsListedWhetherMappedOrNot)
{
    if (!wintest::PrinterAvailable())
        GTEST_SKIP() << "no printer: run under scripts/run-under-wine.sh";
    const auto listed = [] {
        const std::vector<SerialDevice> devices = ListSerialDevices();
        return std::any_of(devices.begin(), devices.end(),
                           [](const SerialDevice& d) { return d.path == "COM7" && !d.missing; });
    };
    {
        wintest::WinePrinter printer(QStringLiteral("COM7"));
        EXPECT_TRUE(listed());
    }
    // Its terminal closed, COM7 leads nowhere.
    EXPECT_FALSE(listed());
}
