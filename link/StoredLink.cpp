#include "link/StoredLink.h"

#include "link/SettingsStore.h"

namespace varmo {

namespace {

const QString kPortKey = QStringLiteral("com");
const QString kBaudKey = QStringLiteral("baud");
const QString kCodePageKey = QStringLiteral("plStd");
const QString kDevicesGroup = QStringLiteral("devices/");

}  // namespace

std::int32_t StoredBaud()
{
    return SpeedFromText(ReadSetting(kBaudKey).toStdString());
}

QString StoredPortName()
{
    const QString stored = StoredPortText();
    return stored.isEmpty() ? QStringLiteral("COM1") : stored;
}

QString StoredPortText()
{
    return ReadSetting(kPortKey);
}

QString StoredCodePage()
{
    const QString stored = ReadSetting(kCodePageKey);
    return stored.isEmpty() ? QStringLiteral("maz") : stored;
}

QString StoredDeviceFor(const QString& comName)
{
    return ReadSetting(kDevicesGroup + comName);
}

void StoreBaud(std::int32_t baud)
{
    WriteSetting(kBaudKey, QString::number(baud));
}

void StorePortName(const QString& name)
{
    WriteSetting(kPortKey, name);
}

void StoreCodePage(const QString& codePage)
{
    WriteSetting(kCodePageKey, codePage);
}

void StoreDeviceFor(const QString& comName, const QString& device)
{
    WriteSetting(kDevicesGroup + comName, device);
}

}  // namespace varmo
