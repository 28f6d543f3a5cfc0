#include "cli/PortVerbs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/Failure.h"
#include "cli/LinkChoice.h"
#include "cli/Output.h"
#include "exchange/PrinterSearch.h"
#include "link/DeviceMapping.h"
#include "link/SerialDevices.h"
#include "link/StoredLink.h"

namespace varmo::cli {

namespace {

QJsonValue textOrNull(const QString& text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

void printJson(std::ostream& out, const QJsonObject& object)
{
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

QJsonObject deviceJson(const SerialDevice& device)
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
    return object;
}

std::string deviceLine(const SerialDevice& device)
{
    QString line = device.path;
    if (!device.comNames.isEmpty())
        line += QStringLiteral(" [") + device.comNames.join(QStringLiteral(", ")) +
                QLatin1Char(']');
    if (device.missing)
        line += QStringLiteral(" brak urządzenia");
    QStringList details = device.Details();
    if (!device.usbId.isEmpty())
        details << QStringLiteral("USB ") + device.usbId;
    if (!device.stableName.isEmpty())
        details << device.stableName;
    if (!details.isEmpty())
        line += QStringLiteral(": ") + details.join(QStringLiteral(", "));
    return TerminalText(line.toStdString());
}

int listPorts(const Invocation& invocation, std::ostream& out)
{
    for (const SerialDevice& device : ListSerialDevices()) {
        if (invocation.json)
            printJson(out, deviceJson(device));
        else
            out << deviceLine(device) << '\n';
    }
    return 0;
}

int findPrinter(const Invocation& invocation, std::ostream& out)
{
    std::vector<SearchPort> ports;
    if (invocation.port) {
        // One port named: only that one is tried.
        const QString option = QString::fromStdString(*invocation.port);
        const QString port = IsDevicePath(option) ? option : ChooseLink(invocation).port;
        ports.push_back({port, DevicePathForPort(port)});
    } else {
        ports = PrinterSearch::PortOrder(ListSerialDevices(), StoredPortName());
    }
    const std::int32_t first = invocation.speed ? *invocation.speed : StoredBaud();
    PrinterSearch search;
    const SearchResult result =
        search.Run(ports, PrinterSearch::SpeedOrder(first, PrinterSearch::LineSpeeds()),
                   invocation.times.answerMs);
    if (!result.found) {
        std::string reason = "find: Nie znaleziono drukarki";
        if (!result.busy.isEmpty())
            reason += " (zajęte: " + result.busy.join(QStringLiteral(", ")).toStdString() + ")";
        throw CliFailure(ExitCode::Refused, TerminalText(reason));
    }
    if (invocation.json) {
        QJsonObject object;
        object.insert(QStringLiteral("port"), result.port);
        object.insert(QStringLiteral("speed"), static_cast<int>(result.speed));
        object.insert(QStringLiteral("device"), DevicePathForPort(result.port));
        object.insert(QStringLiteral("busy"), QJsonArray::fromStringList(result.busy));
        printJson(out, object);
    } else {
        out << TerminalText(result.port.toStdString()) << ' ' << result.speed << '\n';
    }
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
        throw UsageError(verb + ": takes no parameters");
    return verb == "ports" ? listPorts(invocation, out) : findPrinter(invocation, out);
}

}  // namespace varmo::cli
