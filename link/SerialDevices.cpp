// The serial devices as QSerialPortInfo lists them, and the COM names'
// mapping (Linux and macOS); Windows reads its own list from the registry
// (SerialDevicesWin.cpp).
#include "link/SerialDevices.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <QDir>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "link/DeviceMapping.h"
#endif

namespace varmo {

QStringList SerialDevice::Details() const
{
    QStringList details;
    for (const QString& detail : {description, manufacturer})
        if (!detail.isEmpty())
            details << detail;
    if (!serialNumber.isEmpty())
        details << QStringLiteral("nr ") + serialNumber;
    return details;
}

#ifndef Q_OS_WIN

namespace {

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

// Two names lead to one device when they resolve to the same node.
QString identity(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

SerialDevice listed(const QSerialPortInfo& info)
{
    SerialDevice device;
    device.path = info.systemLocation();
    device.stableName = StableNameOf(device.path);
    device.description = info.description();
    device.manufacturer = info.manufacturer();
    device.serialNumber = info.serialNumber();
    if (info.hasVendorIdentifier() && info.hasProductIdentifier())
        device.usbId = hex4(info.vendorIdentifier()) + QLatin1Char(':') +
                       hex4(info.productIdentifier());
    return device;
}

}  // namespace

QString StableNameOf(const QString& path)
{
#ifdef Q_OS_LINUX
    const QString wanted = identity(path);
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        if (link.isSymLink() && identity(link.absoluteFilePath()) == wanted)
            return link.absoluteFilePath();
    }
#else
    Q_UNUSED(path);
#endif
    return {};
}

bool DeviceThere(const QString& device)
{
    return QFileInfo::exists(device);
}

bool IsTerminalDevice(const QString& path)
{
    std::error_code error;
    if (!std::filesystem::is_character_file(QFile::encodeName(path).toStdString(), error))
        return false;
    // A character device may still be /dev/null or a disk: only a terminal
    // takes line settings, which the serial port sets as it opens.
    QSerialPort probe(path);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        return true;
    }
    return probe.error() == QSerialPort::PermissionError;  // held by someone: a line all the same
}

std::vector<SerialDevice> ListSerialDevices()
{
    std::vector<SerialDevice> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices.push_back(listed(info));

    for (int n = 1; n <= 16; ++n) {
        const QString com = QStringLiteral("COM%1").arg(n);
        const QString mapped = MappedDevicePath(com);
        if (mapped.isEmpty())
            continue;
        const bool exists = QFileInfo::exists(mapped);
        if (exists && !IsTerminalDevice(mapped))
            continue;  // /dev/null, a folder, a plain file: never a printer's line
        const QString key = identity(mapped);
        auto same = std::find_if(devices.begin(), devices.end(), [&](const SerialDevice& d) {
            return exists ? !d.missing && identity(d.path) == key : d.missing && d.path == mapped;
        });
        if (same == devices.end()) {
            SerialDevice device;
            device.path = mapped;
            device.missing = !exists;
            if (exists)
                device.stableName = StableNameOf(mapped);
            devices.push_back(device);
            same = devices.end() - 1;
        }
        same->comNames << com;
    }
    return devices;
}

#endif  // not Q_OS_WIN

}  // namespace varmo
