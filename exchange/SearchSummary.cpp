#include "exchange/SearchSummary.h"

#include "link/SerialError.h"
#include "protocol/Escaped.h"

namespace varmo {

QString ShownPort(const QString& port, const QString& device)
{
    // On one line, whatever bytes a path holds.
    const auto line = [](const QString& text) {
        return QString::fromStdString(ControlsEscaped(text.toStdString()));
    };
    return device.isEmpty() || device == port ? line(port)
                                              : QStringLiteral("%1 (%2)").arg(line(port), line(device));
}

QString SearchSummary(const SearchResult& result)
{
    QStringList parts;
    if (!result.tried.empty()) {
        QStringList ports;
        for (const SearchPort& port : result.tried)
            ports << ShownPort(port.port, port.device);
        QStringList speeds;
        for (const std::int32_t speed : result.speeds)
            speeds << QString::number(speed);
        parts << QStringLiteral("Sprawdzono: %1 przy %2 bd")
                     .arg(ports.join(QStringLiteral(", ")), speeds.join(QStringLiteral(", ")));
    }
    if (!result.unopened.empty()) {
        QStringList ports;
        for (const UnopenedPort& port : result.unopened)
            ports << ShownPort(port.port, port.device) + QStringLiteral(": ") +
                         QString::fromStdString(PortFailureText(port.code));
        parts << QStringLiteral("nie otwarto: ") + ports.join(QStringLiteral("; "));
    }
    if (parts.isEmpty())
        return QStringLiteral("Nie sprawdzono żadnego portu");
    QString text = parts.join(QStringLiteral("; "));
    text[0] = text[0].toUpper();
    return text;
}

}  // namespace varmo
