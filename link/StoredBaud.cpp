#include "link/StoredBaud.h"

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

}  // namespace varmo
