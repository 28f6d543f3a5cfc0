#include "link/StoredLink.h"

#include "link/SettingsStore.h"

namespace varmo {

std::int32_t StoredBaud()
{
    return SpeedFromText(ReadSetting(QStringLiteral("baud")).toStdString());
}

QString StoredPortName()
{
    const QString stored = ReadSetting(QStringLiteral("com"));
    return stored.isEmpty() ? QStringLiteral("COM1") : stored;
}

QString StoredCodePage()
{
    const QString stored = ReadSetting(QStringLiteral("plStd"));
    return stored.isEmpty() ? QStringLiteral("maz") : stored;
}

}  // namespace varmo
