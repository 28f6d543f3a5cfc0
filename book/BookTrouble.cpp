#include "book/BookTrouble.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace varmo::book {

namespace {

// SQLite's primary result codes that mean something to the technician.
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kReadOnly = 8;
constexpr int kIoError = 10;
constexpr int kCorrupt = 11;
constexpr int kFull = 13;
constexpr int kCantOpen = 14;
constexpr int kNotADatabase = 26;

// Less than this free beside the book: a write that failed on the disk
// failed for want of room.
constexpr qint64 kNearlyFull = 256 * 1024;

QString why(Trouble trouble, const QSqlError& error)
{
    switch (trouble) {
    case Trouble::ReadOnly:
        return QStringLiteral("plik jest tylko do odczytu");
    case Trouble::Locked:
        return QStringLiteral("plik jest zajęty przez inny program");
    case Trouble::Full:
        return QStringLiteral("brak miejsca na dysku");
    case Trouble::Corrupt:
        return QStringLiteral("plik jest uszkodzony albo nie jest księgą wizyt");
    case Trouble::CannotOpen:
        return QStringLiteral("nie można otworzyć pliku");
    default:
        return error.databaseText().isEmpty() ? error.text() : error.databaseText();
    }
}

}  // namespace

Trouble TroubleOf(const QSqlError& error)
{
    bool number = false;
    const int code = error.nativeErrorCode().toInt(&number) & 0xff;
    if (!number)
        return error.type() == QSqlError::ConnectionError ? Trouble::CannotOpen : Trouble::Other;
    switch (code) {
    case kBusy:
    case kLocked:
        return Trouble::Locked;
    case kReadOnly:
        return Trouble::ReadOnly;
    case kFull:
        return Trouble::Full;
    case kCorrupt:
    case kNotADatabase:
        return Trouble::Corrupt;
    case kCantOpen:
        return Trouble::CannotOpen;
    case kIoError:
        // A write that failed on the disk: most often a full one.
        return error.databaseText().contains(QStringLiteral("full"), Qt::CaseInsensitive)
                   ? Trouble::Full
                   : Trouble::Other;
    default:
        return Trouble::Other;
    }
}

BookError BookErrorOf(const QSqlError& error, const QString& path, const QString& doing)
{
    Trouble trouble = TroubleOf(error);
    // SQLite tells a disk that took nothing more as an input/output error of
    // the write, or of the log's index as the book opens: the free space says.
    bool number = false;
    const int code = error.nativeErrorCode().toInt(&number) & 0xff;
    if (trouble == Trouble::Other && number && code == kIoError &&
        QStorageInfo(QFileInfo(path).absolutePath()).bytesAvailable() < kNearlyFull)
        trouble = Trouble::Full;
    return BookError(trouble, QStringLiteral("Księga wizyt (%1): %2, %3")
                                  .arg(path, doing, why(trouble, error))
                                  .toStdString());
}

QSqlQuery BoundQuery(QSqlDatabase& db, const QString& path, const QString& doing,
                     const QString& statement, const QVariantList& values, bool forwardOnly)
{
    QSqlQuery query(db);
    query.setForwardOnly(forwardOnly);
    if (!query.prepare(statement))
        throw BookErrorOf(query.lastError(), path, doing);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw BookErrorOf(query.lastError(), path, doing);
    return query;
}

}  // namespace varmo::book
