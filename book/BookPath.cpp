#include "book/BookPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>

namespace varmo::book {

namespace {

// The data folder of "organisation"/"Varmo", whatever the running program
// calls itself: both programs share one book.
QString dataFolder(QStandardPaths::StandardLocation where, const QString& organisation)
{
    const QString ownOrganisation = QCoreApplication::organizationName();
    const QString ownApplication = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(QStringLiteral("Varmo"));
    const QString folder = QStandardPaths::writableLocation(where);
    QCoreApplication::setOrganizationName(ownOrganisation);
    QCoreApplication::setApplicationName(ownApplication);
    return folder;
}

const QString kFileName = QStringLiteral("/ksiega-wizyt.sqlite");
// SQLite's journal and shared memory beside the book.
const QStringList kCompanions = {QStringLiteral("-wal"), QStringLiteral("-shm"),
                                 QStringLiteral("-journal")};

// The copy reads whole and holds a book's tables and as many visits.
bool sameBook(const QString& original, const QString& copy)
{
    const auto visits = [](const QString& path, bool whole) -> qint64 {
        const QString name = QStringLiteral("varmo-book-move-") + path;
        qint64 count = -1;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (db.open()) {
                QSqlQuery query(db);
                const bool sound = !whole || (query.exec(QStringLiteral("PRAGMA integrity_check")) &&
                                              query.next() && query.value(0).toString() == "ok");
                if (sound && query.exec(QStringLiteral("SELECT count(*) FROM visits")) && query.next())
                    count = query.value(0).toLongLong();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return count;
    };
    const qint64 there = visits(original, false);
    return there >= 0 && visits(copy, true) == there;
}

void removeBook(const QString& path)
{
    QFile::remove(path);
    for (const QString& companion : kCompanions)
        QFile::remove(path + companion);
}

}  // namespace

QString MoveBook(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to) || !QFileInfo::exists(from))
        return to;
    const QString copyPath = to + QStringLiteral(".przenoszona");
    removeBook(copyPath);
    QDir().mkpath(QFileInfo(to).absolutePath());
    bool copied = QFile::copy(from, copyPath);
    if (copied && QFileInfo::exists(from + kCompanions[0]))
        copied = QFile::copy(from + kCompanions[0], copyPath + kCompanions[0]);
    if (!copied || !sameBook(from, copyPath) || !QFile::rename(copyPath, to)) {
        removeBook(copyPath);
        return from;
    }
    // The book's journal went into the copy, which is checked: the old
    // book may go.
    QFile::remove(copyPath + kCompanions[0]);
    removeBook(from);
    QDir().rmdir(QFileInfo(from).absolutePath());
    return to;
}

QString DefaultBookPath()
{
#ifdef Q_OS_WIN
    // The book stays on this computer (the local, not the roaming, profile)
    // in a folder named as the program: "Ferwen s.c." would lose its final
    // dot to Windows and show as another name than it was given.
    return MoveBook(
        dataFolder(QStandardPaths::AppDataLocation, QStringLiteral("Ferwen s.c.")) + kFileName,
        dataFolder(QStandardPaths::AppLocalDataLocation, QString()) + kFileName);
#else
    return dataFolder(QStandardPaths::AppDataLocation, QStringLiteral("Ferwen s.c.")) + kFileName;
#endif
}

}  // namespace varmo::book
