#include "link/DeviceMapping.h"

#include <QByteArray>
#include <QtGlobal>

#include "link/PortName.h"
#include "link/StoredLink.h"

namespace varmo {

QString MappedDevicePath(const QString& comName)
{
#ifdef Q_OS_WIN
    Q_UNUSED(comName);
    return {};
#else
    const QString name = QString::fromStdString(NormalizePortName(comName.toStdString()));
    // A USB adapter or the virtual printer's pseudo-terminal has no COM name of
    // its own: the technician points the port at it, from outside or with the
    // port dialog's device list.
    const QString fromEnvironment = qEnvironmentVariable(("VARMO_" + name).toLatin1().constData());
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return StoredDeviceFor(name);
#endif
}

bool IsDevicePath(const QString& name)
{
#ifdef Q_OS_WIN
    Q_UNUSED(name);
    return false;
#else
    return name.startsWith(QLatin1Char('/'));
#endif
}

QString PortNameFor(const QString& name)
{
    if (IsDevicePath(name))
        return name;
    return QString::fromStdString(NormalizePortName(name.toStdString()));
}

QString DevicePathForPort(const QString& portName)
{
    const QString name = PortNameFor(portName);
#ifdef Q_OS_WIN
    return name;
#else
    if (IsDevicePath(name))
        return name;
    const QString mapped = MappedDevicePath(name);
    if (!mapped.isEmpty())
        return mapped;
    return QStringLiteral("/dev/ttyS") + QString::number(name.mid(3).toInt() - 1);
#endif
}

}  // namespace varmo
