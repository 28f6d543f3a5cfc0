#include "cli/PortVerbs.h"

#include <QJsonArray>
#include <cerrno>
#include <QJsonObject>
#include <iostream>

#include "cli/Failure.h"
#include "cli/LinkChoice.h"
#include "cli/Output.h"
#include "exchange/PrinterSearch.h"
#include "exchange/SearchSummary.h"
#include "link/DeviceMapping.h"
#include "link/SerialDevices.h"
#include "link/SerialError.h"
#include "link/StoredLink.h"

namespace varmo::cli {

namespace {

QJsonValue textOrNull(const QString& text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

void printJson(std::ostream& out, const QJsonObject& object)
{
    out << JsonLine(object) << '\n';
}

// Why the device will not open, in the console's words; 0 when it opens.
int troubleOf(const SerialDevice& device)
{
    // No such device: ENOENT here, ERROR_FILE_NOT_FOUND on Windows, both 2.
    return device.missing ? ENOENT
                          : DeviceOpenError(device.path);
}

QString troubleKind(int code)
{
    switch (PortTroubleOf(code)) {
    case PortTrouble::None: return {};
    case PortTrouble::Busy: return QStringLiteral("busy");
    case PortTrouble::Forbidden: return QStringLiteral("forbidden");
    case PortTrouble::Absent: return QStringLiteral("absent");
    case PortTrouble::Other: break;
    }
    return QStringLiteral("other");
}

QJsonObject deviceJson(const SerialDevice& device, int trouble)
{
    QJsonObject object;
    object.insert(QStringLiteral("com"),
                  device.comNames.isEmpty() ? QJsonValue(QJsonValue::Null)
                                            : QJsonValue(device.comNames.front()));
    object.insert(QStringLiteral("comNames"), QJsonArray::fromStringList(device.comNames));
    object.insert(QStringLiteral("path"), device.path);
    object.insert(QStringLiteral("stableName"), textOrNull(device.stableName));
    object.insert(QStringLiteral("description"), textOrNull(device.description));
    object.insert(QStringLiteral("manufacturer"), textOrNull(device.manufacturer));
    object.insert(QStringLiteral("serialNumber"), textOrNull(device.serialNumber));
    object.insert(QStringLiteral("usb"), textOrNull(device.usbId));
    object.insert(QStringLiteral("missing"), device.missing);
    object.insert(QStringLiteral("trouble"), textOrNull(troubleKind(trouble)));
    object.insert(QStringLiteral("troubleText"),
                  textOrNull(QString::fromStdString(PortFailureText(trouble))));
    return object;
}

std::string deviceLine(const SerialDevice& device, int trouble)
{
    QString line = device.path;
    if (!device.comNames.isEmpty())
        line += QStringLiteral(" [") + device.comNames.join(QStringLiteral(", ")) +
                QLatin1Char(']');
    QStringList details = device.Details();
    if (!device.usbId.isEmpty())
        details << QStringLiteral("USB ") + device.usbId;
    if (!device.stableName.isEmpty())
        details << device.stableName;
    if (!details.isEmpty())
        line += QStringLiteral(": ") + details.join(QStringLiteral(", "));
    if (trouble != 0)
        line += QStringLiteral(" – ") + QString::fromStdString(PortFailureText(trouble));
    return TerminalText(line.toStdString());
}

int listPorts(const Invocation& invocation, std::ostream& out)
{
    for (const SerialDevice& device : ListSerialDevices()) {
        const int trouble = troubleOf(device);
        if (invocation.json)
            printJson(out, deviceJson(device, trouble));
        else
            out << deviceLine(device, trouble) << '\n';
    }
    return 0;
}

QJsonObject unopenedJson(const UnopenedPort& port)
{
    QJsonObject object;
    object.insert(QStringLiteral("port"), port.port);
    object.insert(QStringLiteral("device"), port.device);
    object.insert(QStringLiteral("trouble"), troubleKind(port.code));
    object.insert(QStringLiteral("troubleText"),
                  QString::fromStdString(PortFailureText(port.code)));
    return object;
}

QJsonObject resultJson(const SearchResult& result)
{
    QJsonObject object;
    object.insert(QStringLiteral("found"), result.found);
    if (result.found) {
        object.insert(QStringLiteral("port"), result.port);
        object.insert(QStringLiteral("speed"), static_cast<int>(result.speed));
        object.insert(QStringLiteral("device"), result.device);
    } else {
        QJsonArray tried;
        for (const SearchPort& port : result.tried)
            tried.append(QJsonObject{{QStringLiteral("port"), port.port},
                                     {QStringLiteral("device"), port.device}});
        object.insert(QStringLiteral("tried"), tried);
        QJsonArray speeds;
        for (const std::int32_t speed : result.speeds)
            speeds.append(static_cast<int>(speed));
        object.insert(QStringLiteral("speeds"), speeds);
    }
    QJsonArray unopened;
    for (const UnopenedPort& port : result.unopened)
        unopened.append(unopenedJson(port));
    object.insert(QStringLiteral("unopened"), unopened);
    object.insert(QStringLiteral("busy"), QJsonArray::fromStringList(result.Busy()));
    return object;
}

// A long search is never silent: each port and speed as it is tried, and
// each port that will not open, go to standard error at once.
void tellProgress(PrinterSearch& search)
{
    QObject::connect(&search, &PrinterSearch::trying,
                     [](const QString& port, const QString& device, std::int32_t speed) {
                         std::cerr << TerminalText("find: " + ShownPort(port, device).toStdString())
                                   << ", " << speed << " bd" << std::endl;
                     });
    QObject::connect(&search, &PrinterSearch::skipped,
                     [](const QString& port, const QString& device, int code) {
                         std::cerr << TerminalText("find: " + ShownPort(port, device).toStdString() +
                                                   ": " + PortFailureText(code))
                                   << std::endl;
                     });
}

int findPrinter(const Invocation& invocation, std::ostream& out)
{
    // The port named with --port first, then the port of the settings, then
    // every device there is.
    const QString stored = StoredPortName();
    QString first = stored;
    if (invocation.port) {
        const QString option = QString::fromStdString(*invocation.port);
        first = IsDevicePath(option) ? option : ChooseLink(invocation).port;
    }
    const std::vector<SearchPort> ports =
        PrinterSearch::PortOrder(ListSerialDevices(), first, stored);
    const std::int32_t firstSpeed = invocation.speed ? *invocation.speed : StoredBaud();
    PrinterSearch search;
    tellProgress(search);
    const SearchResult result =
        search.Run(ports, PrinterSearch::SpeedOrder(firstSpeed, PrinterSearch::LineSpeeds()),
                   invocation.times.answerMs);
    // With --json one object whatever came of it: a script always has
    // something to read.
    if (invocation.json)
        printJson(out, resultJson(result));
    if (!result.found)
        throw CliFailure(ExitCode::Refused,
                         TerminalText("find: Nie znaleziono drukarki. " +
                                      SearchSummary(result).toStdString()));
    if (!invocation.json)
        out << TerminalText(result.port.toStdString()) << ' ' << result.speed << '\n';
    return 0;
}

}  // namespace

bool IsPortVerb(const std::string& verb)
{
    return verb == "ports" || verb == "find";
}

int RunPortVerb(const Invocation& invocation, std::ostream& out)
{
    const std::string& verb = invocation.words.front();
    if (invocation.words.size() != 1)
        throw OptionsBeforeCommand(invocation, UsageError(verb + ": nie przyjmuje parametrów"));
    return verb == "ports" ? listPorts(invocation, out) : findPrinter(invocation, out);
}

}  // namespace varmo::cli
