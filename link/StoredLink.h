#pragma once
// The one place where the link's settings are read and written, for the
// console and varmo-cli alike: "com" (empty: COM1), "baud" as a positive
// whole number (missing, not one, 0 or negative: 9600; any such number
// counts, also one the port dialog does not list), "plStd" (empty: maz; any
// other text is kept as it is) and "devices/COM<n>", the device a COM name
// leads to.
#include <QString>
#include <cstdint>

#include "link/LinkSpeed.h"

namespace varmo {

std::int32_t StoredBaud();
QString StoredPortName();
// "com" as it was written, empty when nothing was.
QString StoredPortText();
QString StoredCodePage();
// The device stored for a COM name (COM1..COM16), empty when none.
QString StoredDeviceFor(const QString& comName);

void StoreBaud(std::int32_t baud);
void StorePortName(const QString& name);
void StoreCodePage(const QString& codePage);
void StoreDeviceFor(const QString& comName, const QString& device);

}  // namespace varmo
