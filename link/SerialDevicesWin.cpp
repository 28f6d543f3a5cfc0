// The serial devices of a Windows machine: every COM name the system maps in
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, and every COM1 to COM16
// that opens though it is not mapped there, with the friendly name,
// maker, USB identity and serial number that the device manager keeps for
// the ports class where it has them (a USB adapter's driver gives them; a
// port Wine makes of a Unix device has none). On Windows the COM names are
// the devices themselves: there is no mapping and no stable name.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h:
#include <setupapi.h>

#include <QRegularExpression>
#include <algorithm>
#include <map>

#include "link/PortName.h"
#include "link/SerialDevices.h"
#include "link/SerialError.h"

namespace varmo {

namespace {

// The device manager's class "Ports (COM & LPT)" (GUID_DEVCLASS_PORTS, here
// rather than from devguid.h, whose GUIDs each compiler links its own way).
const GUID kPortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

// The COM names in SERIALCOMM: its values are the kernel's device names
// (\Device\Serial0, \Device\VCP0), their data the COM names.
QStringList mappedComNames()
{
    QStringList names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameLength = 256;
        wchar_t data[256] = {};
        DWORD dataBytes = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const QString name = QString::fromWCharArray(data).trimmed();
        if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive))
            names << name;
    }
    RegCloseKey(key);
    return names;
}

QString deviceProperty(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD property)
{
    wchar_t text[512] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &info, property, &type,
                                           reinterpret_cast<BYTE*>(text), sizeof text - sizeof(wchar_t),
                                           nullptr))
        return {};
    // A list (the hardware ids) is read up to its first entry.
    return QString::fromWCharArray(text).trimmed();
}

// What the device manager says of the ports class, by COM name.
std::map<QString, SerialDevice> portsClassDevices()
{
    std::map<QString, SerialDevice> found;
    const HDEVINFO set = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return found;
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &info); ++index) {
        QString portName;
        if (HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
            key != INVALID_HANDLE_VALUE) {
            wchar_t data[64] = {};
            DWORD bytes = sizeof data - sizeof(wchar_t);
            DWORD type = 0;
            if (RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(data),
                                 &bytes) == ERROR_SUCCESS &&
                type == REG_SZ)
                portName = QString::fromWCharArray(data).trimmed();
            RegCloseKey(key);
        }
        if (!portName.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            continue;  // a printer port (LPT) lives in this class too

        SerialDevice device;
        // "USB Serial Port (COM3)": the name without the COM name it ends in.
        QString description = deviceProperty(set, info, SPDRP_FRIENDLYNAME);
        description.remove(QRegularExpression(QStringLiteral("\\s*\\(COM\\d+\\)$")));
        if (description.isEmpty())
            description = deviceProperty(set, info, SPDRP_DEVICEDESC);
        device.description = description;
        device.manufacturer = deviceProperty(set, info, SPDRP_MFG);
        const QString hardwareId = deviceProperty(set, info, SPDRP_HARDWAREID);
        const QRegularExpressionMatch usb =
            QRegularExpression(QStringLiteral("VID_([0-9A-Fa-f]{4}).PID_([0-9A-Fa-f]{4})"))
                .match(hardwareId);
        if (usb.hasMatch())
            device.usbId = usb.captured(1).toLower() + QLatin1Char(':') + usb.captured(2).toLower();
        // USB\VID_0403&PID_6001\A50285BI: the last part is the serial number
        // when the device has one (else Windows makes up one with '&' in it).
        wchar_t instance[512] = {};
        if (SetupDiGetDeviceInstanceIdW(set, &info, instance, 511, nullptr)) {
            const QStringList parts = QString::fromWCharArray(instance).split(QLatin1Char('\\'));
            if (parts.size() == 3 && parts[0].compare(QLatin1String("USB"), Qt::CaseInsensitive) == 0 &&
                !parts[2].contains(QLatin1Char('&')))
                device.serialNumber = parts[2];
        }
        found[portName.toUpper()] = device;
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
}

int comNumber(const QString& name)
{
    return name.mid(3).toInt();
}

// The highest COM number the console names (docs/windows.md says how to
// renumber an adapter given a higher one).
constexpr int kLastComNumber = 16;

// Opens the COM port and closes it at once, with nothing set on it: the
// error number of what stood in the way, 0 when it opened. A port another
// program holds refuses us untouched.
DWORD comPortOpenError(const QString& name)
{
    const std::wstring path = L"\\\\.\\" + name.toStdWString();
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(handle);
    return ERROR_SUCCESS;
}

// A COM port the registry does not list may be there all the same (a driver
// that never wrote SERIALCOMM, a port Wine makes of a Unix device): it is
// there when it opens, or when another program holds it.
bool comPortThere(const QString& name)
{
    const DWORD error = comPortOpenError(name);
    return error == ERROR_SUCCESS || error == ERROR_ACCESS_DENIED ||
           error == ERROR_SHARING_VIOLATION || error == ERROR_BUSY;
}

}  // namespace

QString StableNameOf(const QString& path)
{
    Q_UNUSED(path);
    return {};
}

bool DeviceThere(const QString& device)
{
    // Opened as the port opens it, line settings and all, and closed: under
    // Wine a printer just plugged back was seen to stay unanswered after a
    // bare opening, and to answer after this one.
    return DeviceOpenError(device) == 0;
}

bool IsTerminalDevice(const QString& path)
{
    Q_UNUSED(path);
    return false;
}

std::vector<SerialDevice> ListSerialDevices()
{
    QStringList names = mappedComNames();
    std::map<QString, SerialDevice> details = portsClassDevices();
    // A port the device manager knows but SERIALCOMM does not (yet) is a
    // port all the same.
    for (const auto& [name, device] : details)
        if (!names.contains(name, Qt::CaseInsensitive))
            names << name;
    for (int number = 1; number <= kLastComNumber; ++number) {
        const QString name = QStringLiteral("COM%1").arg(number);
        if (!names.contains(name, Qt::CaseInsensitive) && comPortThere(name))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return comNumber(a) != comNumber(b) ? comNumber(a) < comNumber(b) : a < b;
    });

    std::vector<SerialDevice> devices;
    for (const QString& name : names) {
        SerialDevice device;
        if (const auto known = details.find(name.toUpper()); known != details.end())
            device = known->second;
        device.path = name.toUpper();
        // The console knows COM1 to COM16 (docs/windows.md says how to
        // renumber an adapter given a higher number).
        if (QString::fromStdString(NormalizePortName(device.path.toStdString())) != device.path)
            continue;
        device.comNames << device.path;
        devices.push_back(device);
    }
    return devices;
}

}  // namespace varmo
