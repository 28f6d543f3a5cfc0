#include "link/PortLoss.h"

#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <iterator>

#include "link/SerialError.h"

namespace varmo {

bool DeviceVanished(int code)
{
#ifdef Q_OS_WIN
    // ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_NOT_READY,
    // ERROR_BAD_COMMAND, ERROR_GEN_FAILURE, ERROR_NO_SUCH_DEVICE and
    // ERROR_DEVICE_NOT_CONNECTED: what drivers and Wine say of a port whose
    // device is gone under an open handle.
    static constexpr int kGone[] = {2, 5, 21, 22, 31, 433, 1167};
#else
    static constexpr int kGone[] = {EIO, ENXIO, ENODEV, ENOENT};
#endif
    return std::find(std::begin(kGone), std::end(kGone), code) != std::end(kGone);
}

std::string LossReason(int code)
{
#ifdef Q_OS_WIN
    return SystemErrorText(code);
#else
    return PolishSystemReason(code);
#endif
}

std::string LossNoticeText(const std::string& port, int code)
{
    const std::string what = DeviceVanished(code) ? "urządzenie odłączone" : "błąd portu";
    return "Utracono połączenie z drukarką na " + port + " (" + what +
           "). Varmo podejmie ją sama po ponownym podłączeniu.\nKomunikat systemu: " +
           LossReason(code) + " (błąd " + std::to_string(code) + ")";
}

std::string LossStateText(int code)
{
    if (DeviceVanished(code))
        return "brak urządzenia";
    return "błąd: " + PolishSystemReason(code);
}

}  // namespace varmo
