#include "link/StoredLink.h"

#include "commands/DescriptionText.h"
#include "link/SettingsStore.h"

namespace varmo {

std::int32_t StoredBaud()
{
    std::int32_t baud = 0;
    if (ParseInteger(ReadSetting(QStringLiteral("baud")).toStdString(), baud))
        return baud;
    return kDefaultBaud;
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
