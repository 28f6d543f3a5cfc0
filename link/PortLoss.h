#pragma once
// The printer's line lost under an open port, in the operator's words: what
// happened and what he can do, then the system's own text as a detail line.
// The port's step texts ("ReadFile function failed") stay in its exceptions
// and in varmo-cli; the console's box and status line speak Polish.
#include <string>

namespace varmo {

// Whether the error number a transfer or the line watch failed with means
// the device itself went away (an adapter pulled out, a printer switched
// off behind it). Windows and Wine give several numbers for that: 2, 5, 21,
// 22, 31, 433 and 1167; Linux gives EIO, ENXIO, ENODEV or ENOENT.
bool DeviceVanished(int code);

// The system's own words for the number, Polish where the C library or Qt
// gives none and this program has them (Linux), the system's language on
// Windows; never a Windows number on Linux.
std::string LossReason(int code);

// The loss box, UTF-8, two lines:
//   Utracono połączenie z drukarką na COM5 (urządzenie odłączone). Varmo
//   podejmie ją sama po ponownym podłączeniu.
//   Komunikat systemu: <LossReason> (błąd <code>)
std::string LossNoticeText(const std::string& port, int code);

// The status line while the port is lost: "brak urządzenia" for a device
// that went away, else the Polish reason.
std::string LossStateText(int code);

}  // namespace varmo
