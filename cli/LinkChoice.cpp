#include "cli/LinkChoice.h"

#include <QRegularExpression>
#include <QtGlobal>

#include "cli/Failure.h"
#include "link/StoredLink.h"

namespace varmo::cli {

namespace {

// COM1 to COM16 in any case, or the bare number; empty for anything else.
// The console quietly takes COM1 for a name it cannot read, but a script
// must not talk to the wrong printer.
QString portName(const std::string& name)
{
    QString rest = QString::fromStdString(name).toUpper();
    if (rest.startsWith(QLatin1String("COM")))
        rest = rest.mid(3);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,2}$"));
    const int number = digits.match(rest).hasMatch() ? rest.toInt() : 0;
    return number >= 1 && number <= 16 ? QStringLiteral("COM%1").arg(number) : QString();
}

bool isPath(const std::string& option)
{
    return option.find('/') != std::string::npos || option.find('\\') != std::string::npos;
}

QString chosenPort(const std::string& option)
{
    if (isPath(option)) {
#ifdef Q_OS_WIN
        throw UsageError("--port: podaj port od COM1 do COM16");
#else
        qputenv("VARMO_COM1", QByteArray::fromStdString(option));
        return QStringLiteral("COM1");
#endif
    }
    const QString name = portName(option);
    if (name.isEmpty())
        throw UsageError("--port: \"" + option + "\" to ani port od COM1 do COM16, ani ścieżka urządzenia");
    return name;
}

}  // namespace

LinkChoice ChooseLink(const Invocation& invocation)
{
    LinkChoice choice;
    choice.port = invocation.port ? chosenPort(*invocation.port) : StoredPortName();
    choice.named = invocation.port && isPath(*invocation.port)
                       ? QString::fromStdString(*invocation.port)
                       : choice.port;
    choice.baud = invocation.speed ? *invocation.speed : StoredBaud();
    // A stored code page other than maz and win is kept; it sends like win.
    choice.codePage =
        invocation.codePage ? *invocation.codePage : StoredCodePage().toStdString();
    return choice;
}

}  // namespace varmo::cli
