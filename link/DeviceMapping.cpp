#include "link/DeviceMapping.h"

#include <QByteArray>
#include <QtGlobal>

#include "link/PortName.h"
#include "link/SettingsStore.h"

namespace varmo {

QString DevicePathForPort(const QString& portName)
{
    const QString name = QString::fromStdString(NormalizePortName(portName.toStdString()));
#ifdef Q_OS_WIN
    return name;
#else
    // A USB adapter or the virtual printer's pseudo-terminal has no COM name of
    // its own: the technician points the port at it from outside.
    const QString fromEnvironment = qEnvironmentVariable(("VARMO_" + name).toLatin1().constData());
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString fromSettings = ReadSetting(QStringLiteral("devices/") + name);
    if (!fromSettings.isEmpty())
        return fromSettings;
    return QStringLiteral("/dev/ttyS") + QString::number(name.mid(3).toInt() - 1);
#endif
}

}  // namespace varmo
