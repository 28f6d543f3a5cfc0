#include "book/BookPath.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace varmo::book {

QString DefaultBookPath()
{
    // The data folder follows the application's names; both programs name
    // it as the settings do, so they share one book whatever their own
    // executable is called.
    const QString organisation = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(QStringLiteral("Ferwen s.c."));
    QCoreApplication::setApplicationName(QStringLiteral("Varmo"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(application);
    return folder + QStringLiteral("/ksiega-wizyt.sqlite");
}

}  // namespace varmo::book
