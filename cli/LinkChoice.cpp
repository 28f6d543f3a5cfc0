#include "cli/LinkChoice.h"

#include <QtGlobal>

#include "cli/Failure.h"
#include "commands/DescriptionText.h"
#include "link/SettingsStore.h"
#include "link/StoredBaud.h"

namespace varmo::cli {

namespace {

// COM1 to COM16 in any case, or the bare number. The console quietly takes
// COM1 for anything else; a script must not talk to the wrong printer.
bool namesAPort(const std::string& name)
{
    std::string rest = name;
    if (rest.size() >= 3 && (rest[0] == 'C' || rest[0] == 'c') && (rest[1] == 'O' || rest[1] == 'o') &&
        (rest[2] == 'M' || rest[2] == 'm'))
        rest = rest.substr(3);
    if (rest.empty() || rest.find_first_not_of("0123456789") != std::string::npos)
        return false;
    std::int32_t number = 0;
    return ParseInteger(rest, number) && number >= 1 && number <= 16;
}

QString chosenPort(const std::string& option)
{
    if (option.find('/') != std::string::npos || option.find('\\') != std::string::npos) {
#ifdef Q_OS_WIN
        throw UsageError("--port: name the port COM1 to COM16");
#else
        qputenv("VARMO_COM1", QByteArray::fromStdString(option));
        return QStringLiteral("COM1");
#endif
    }
    if (!namesAPort(option))
        throw UsageError("--port: \"" + option + "\" is neither COM1 to COM16 nor a device path");
    return QString::fromStdString(option).toUpper();
}

}  // namespace

LinkChoice ChooseLink(const Invocation& invocation)
{
    LinkChoice choice;
    if (invocation.port) {
        choice.port = chosenPort(*invocation.port);
    } else {
        const QString stored = ReadSetting(QStringLiteral("com"));
        choice.port = stored.isEmpty() ? QStringLiteral("COM1") : stored;
    }
    choice.baud = invocation.speed ? *invocation.speed : StoredBaud();
    if (invocation.codePage) {
        choice.codePage = *invocation.codePage;
    } else {
        // Kept as stored, also an unknown value, which sends like win.
        const QString stored = ReadSetting(QStringLiteral("plStd"));
        choice.codePage = stored.isEmpty() ? "maz" : stored.toStdString();
    }
    return choice;
}

}  // namespace varmo::cli
