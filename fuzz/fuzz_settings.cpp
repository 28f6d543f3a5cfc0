// The settings as the console reads them back: any stored speed text, any
// port name and any device named in the environment. The speed is always one
// a line can run at, the name always one of COM1 to COM16, and the device
// always the one the technician pointed the port at, or the standard one.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QSettings>
#include <QString>

#include "commands/DescriptionText.h"
#include "link/DeviceMapping.h"
#include "link/LinkSpeed.h"
#include "link/PortName.h"
#include "link/SettingsStore.h"

namespace {

// The input's pieces: speed text, port name, device, separated by newlines.
std::string Piece(const std::string& input, int index)
{
    std::size_t from = 0;
    for (int i = 0; i < index; ++i) {
        from = input.find('\n', from);
        if (from == std::string::npos)
            return {};
        ++from;
    }
    const std::size_t to = input.find('\n', from);
    return input.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

void CheckSpeed(const std::string& text)
{
    const std::int32_t speed = varmo::SpeedFromText(text);
    std::int32_t number = 0;
    const bool isNumber = varmo::ParseInteger(text, number);
    if (speed <= 0 || (isNumber && number > 0 && speed != number) ||
        ((!isNumber || number <= 0) && speed != varmo::kDefaultBaud))
        std::abort();
}

// One of COM1 to COM16, written the one way the port writes it.
void CheckPortName(const std::string& name)
{
    const std::string digits = name.substr(name.size() < 3 ? name.size() : 3);
    std::int32_t number = 0;
    if (name.rfind("COM", 0) != 0 || !varmo::ParseInteger(digits, number) || number < 1 ||
        number > 16 || std::to_string(number) != digits || varmo::NormalizePortName(name) != name)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A settings store of its own, with COM2 pointed at an adapter.
    static const QByteArray dir = QDir::tempPath().toLocal8Bit() + "/fuzz_settings-" +
                                  QByteArray::number(static_cast<qint64>(getpid()));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromLocal8Bit(dir));
    varmo::OpenSettingsStore();
    varmo::WriteSetting(QStringLiteral("devices/COM2"), QStringLiteral("/dev/ttyUSB0"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string speed = Piece(input, 0);
    CheckSpeed(speed);
    // As the store hands it back: text up to its first NUL, through UTF-8.
    CheckSpeed(QString::fromUtf8(speed.c_str()).toStdString());

    const std::string typed = Piece(input, 1);
    CheckPortName(varmo::NormalizePortName(typed));
    // The name as the console holds it: a QString, up to its first NUL.
    const QString portName = QString::fromUtf8(typed.c_str());
    const std::string name = varmo::NormalizePortName(portName.toStdString());
    CheckPortName(name);

    // setenv() keeps every value it was ever given, so a long run would fill
    // the memory: each variable lives in a buffer of our own instead (only the
    // one for this name is read), and an empty value counts as not set.
    const std::string device = Piece(input, 2).substr(0, 200);
    const int number = std::stoi(name.substr(3));
    static char variables[17][256];
    std::snprintf(variables[number], sizeof variables[number], "VARMO_COM%d=%s", number, device.c_str());
    putenv(variables[number]);
    const QString path = varmo::DevicePathForPort(portName);
    const QString fromEnvironment = QString::fromLocal8Bit(device.c_str());
    const QString standard = name == "COM2" ? QStringLiteral("/dev/ttyUSB0")
                                            : QStringLiteral("/dev/ttyS") + QString::number(number - 1);
    if (path != (fromEnvironment.isEmpty() ? standard : fromEnvironment))
        std::abort();
    return 0;
}
