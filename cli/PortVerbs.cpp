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
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

// Why the device will not open, in the console's words; 0 when it opens.
int troubleOf(const SerialDevice& device)
{
    return device.missing ? SerialErrorNumber(QSerialPort::DeviceNotFoundError)
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

// The ports the search could not open, each with what stands in the way
// (asked again: one that opens by now is left out).
std::string unopened(const QStringList& ports)
{
    std::string text;
    for (const QString& port : ports)
        if (const int code = DeviceOpenError(DevicePathForPort(port)); code != 0)
            text += "; " + port.toStdString() + ": " + PortFailureText(code);
    return text;
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
        reason += unopened(result.busy);
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
        throw OptionsBeforeCommand(invocation, UsageError(verb + ": takes no parameters"));
    return verb == "ports" ? listPorts(invocation, out) : findPrinter(invocation, out);
}

}  // namespace varmo::cli
