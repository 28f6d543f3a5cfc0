#include "book/VisitBook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <atomic>

#include "book/BookColumns.h"
#include "book/BookSchema.h"
#include "book/BookTrouble.h"

namespace varmo::book {

namespace {

QString newConnectionName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("varmo-book-%1").arg(++count);
}

// Text columns are never NULL: an empty name is an empty text.
QString text(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

QString newUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QSqlQuery run(QSqlDatabase& db, const QString& path, const QString& doing,
              const QString& statement, const QVariantList& values)
{
    return BoundQuery(db, path, doing, statement, values);
}

// A visit changed, its checks, settings or files included: it waits for
// the server again.
void changed(QSqlDatabase& db, const QString& path, const QString& doing, qint64 visitId)
{
    run(db, path, doing, QStringLiteral("UPDATE visits SET revision = revision + 1 WHERE id = ?"),
        {visitId});
}

}  // namespace

void LoadBookDriver()
{
    const QString name = QStringLiteral("varmo-book-driver");
    {
        const QSqlDatabase probe = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        (void)probe;
    }
    QSqlDatabase::removeDatabase(name);
}

QString BookTime(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QDateTime FromBookTime(const QString& text)
{
    // Read by hand: the printer list reads thousands of these, and Qt's
    // parser of a format costs more than the query itself.
    if (text.size() != 19 || text[4] != QLatin1Char('-') || text[10] != QLatin1Char('T'))
        return {};
    const auto number = [&text](int from, int length) {
        int value = 0;
        for (int i = from; i < from + length; ++i) {
            const int digit = text[i].unicode() - '0';
            if (digit < 0 || digit > 9)
                return -1;
            value = value * 10 + digit;
        }
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!date.isValid() || !time.isValid())
        return {};
    // This computer's offset from UTC, once an hour of the calendar: asking
    // the system for local time each row asks it for its time zone each row.
    static QHash<qint64, int> offsets;
    const qint64 hour = date.toJulianDay() * 24 + time.hour();
    auto known = offsets.constFind(hour);
    if (known == offsets.constEnd())
        known = offsets.insert(hour, QDateTime(date, QTime(time.hour(), 0)).offsetFromUtc());
    return QDateTime(date, time, Qt::OffsetFromUTC, *known);
}

VisitBook::VisitBook(const QString& path) : path_(path)
{
    open();
}

VisitBook::~VisitBook()
{
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

void VisitBook::open()
{
    const QFileInfo file(path_);
    QDir().mkpath(file.absolutePath());
    connection_ = newConnectionName();
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (!db_.isValid())
        throw BookError(Trouble::CannotOpen,
                        QStringLiteral("Księga wizyt: brak sterownika SQLite (QSQLITE), "
                                       "praca bez księgi.")
                            .toStdString());
    db_.setDatabaseName(path_);
    // Another program holding the book gets a moment, not the window's time.
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=300"));
    if (!db_.open())
        throw BookErrorOf(db_.lastError(), path_, QStringLiteral("nie można otworzyć"));
    try {
        QSqlQuery(db_).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        QSqlQuery(db_).exec(QStringLiteral("PRAGMA synchronous = FULL"));
        MigrateForward(db_, path_);
    } catch (const BookError& error) {
        if (error.Kind() != Trouble::Corrupt)
            throw;
        putAside();
        MigrateForward(db_, path_);
    }
}

// The damaged file goes aside whole, with its journal, and a new book takes
// its place; nothing of the old one is ever written over.
void VisitBook::putAside()
{
    db_.close();
    const QString aside = path_ + QStringLiteral(".uszkodzona-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (const QString& suffix : {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"),
                                  QStringLiteral("-shm")}) {
        if (QFile::exists(path_ + suffix) && !QFile::rename(path_ + suffix, aside + suffix))
            throw BookError(Trouble::Corrupt,
                            QStringLiteral("Księga wizyt (%1) jest uszkodzona i nie można jej "
                                           "odłożyć na bok; praca bez księgi.")
                                .arg(path_)
                                .toStdString());
    }
    asideNotice_ = QStringLiteral("Księga wizyt (%1) była uszkodzona: odłożono ją jako %2 "
                                  "i założono nową.")
                       .arg(path_, aside);
    if (!db_.open())
        throw BookErrorOf(db_.lastError(), path_, QStringLiteral("nie można założyć nowej"));
}

void VisitBook::write(const QString& doing, const std::function<void()>& body)
{
    if (depth_ > 0) {
        body();
        return;
    }
    if (!db_.transaction())
        throw BookErrorOf(db_.lastError(), path_, doing);
    ++depth_;
    try {
        body();
        --depth_;
        if (!db_.commit()) {
            const QSqlError error = db_.lastError();
            db_.rollback();
            throw BookErrorOf(error, path_, doing);
        }
    } catch (...) {
        if (depth_ > 0)
            --depth_;
        db_.rollback();
        throw;
    }
}

void VisitBook::Together(const QString& doing, const std::function<void()>& writes)
{
    write(doing, writes);
}

qint64 VisitBook::NotePrinter(const PrinterSeen& seen, const QDateTime& when)
{
    const QString doing = QStringLiteral("nie zapisano drukarki");
    qint64 id = 0;
    write(doing, [&] {
        QSqlQuery found = run(db_, path_, doing,
                              QStringLiteral("SELECT id FROM printers WHERE unique_number = ?"),
                              {seen.uniqueNumber});
        if (found.next()) {
            id = found.value(0).toLongLong();
            run(db_, path_, doing,
                QStringLiteral("UPDATE printers SET fiscal = ?, last_seen = ?, "
                               "revision = revision + 1 WHERE id = ?"),
                {seen.fiscal ? 1 : 0, BookTime(when), id});
        } else {
            QSqlQuery made = run(db_, path_, doing,
                                 QStringLiteral("INSERT INTO printers (uuid, unique_number, "
                                                "fiscal, first_seen, last_seen) "
                                                "VALUES (?, ?, ?, ?, ?)"),
                                 {newUuid(), seen.uniqueNumber, seen.fiscal ? 1 : 0,
                                  BookTime(when), BookTime(when)});
            id = made.lastInsertId().toLongLong();
        }
        // What this contact did not read stays as the book knew it.
        if (seen.nip)
            run(db_, path_, doing, QStringLiteral("UPDATE printers SET nip = ? WHERE id = ?"),
                {*seen.nip, id});
        if (seen.header)
            run(db_, path_, doing,
                QStringLiteral("UPDATE printers SET header = ?, header_first = ?, "
                               "header_loose = ? WHERE id = ?"),
                {HeaderColumn(*seen.header), seen.header->value(0),
                 LooseText(seen.header->join(QLatin1Char(' '))), id});
        if (seen.rates)
            run(db_, path_, doing, QStringLiteral("UPDATE printers SET rates = ? WHERE id = ?"),
                {RatesColumn(*seen.rates), id});
    });
    return id;
}

qint64 VisitBook::BeginVisit(qint64 printerId, const VisitStart& start)
{
    const QString doing = QStringLiteral("nie zapisano wizyty");
    qint64 id = 0;
    write(doing, [&] {
        id = run(db_, path_, doing,
                 QStringLiteral("INSERT INTO visits (uuid, printer_id, started, last_contact, "
                                "technician, port, program) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                 {newUuid(), printerId, BookTime(start.when), BookTime(start.when),
                  text(start.technician), text(start.port), text(start.program)})
                 .lastInsertId()
                 .toLongLong();
    });
    return id;
}

void VisitBook::Touch(qint64 visitId, const QDateTime& when)
{
    const QString doing = QStringLiteral("nie zapisano wizyty");
    write(doing, [&] {
        run(db_, path_, doing,
            QStringLiteral("UPDATE visits SET last_contact = ?, revision = revision + 1 "
                           "WHERE id = ?"),
            {BookTime(when), visitId});
    });
}

void VisitBook::EndVisit(qint64 visitId, const QDateTime& when)
{
    const QString doing = QStringLiteral("nie zapisano końca wizyty");
    write(doing, [&] {
        run(db_, path_, doing,
            QStringLiteral("UPDATE visits SET ended = ?, last_contact = ?, "
                           "revision = revision + 1 WHERE id = ? AND ended IS NULL"),
            {BookTime(when), BookTime(when), visitId});
    });
}

void VisitBook::SetPeople(qint64 visitId, const QString& technician, const QString& notes)
{
    const QString doing = QStringLiteral("nie zapisano technika i uwag");
    write(doing, [&] {
        run(db_, path_, doing,
            QStringLiteral("UPDATE visits SET technician = ?, notes = ?, "
                           "revision = revision + 1 WHERE id = ?"),
            {text(technician), text(notes), visitId});
    });
}

void VisitBook::AddCheck(qint64 visitId, const CheckRecord& check)
{
    const QString doing = QStringLiteral("nie zapisano przeglądu");
    const CheckValues& v = check.values;
    write(doing, [&] {
        run(db_, path_, doing,
            QStringLiteral("INSERT INTO checks (visit_id, made, clock_offset, error_number, "
                           "zeroings, last_receipt, totals, header, rates, fiscal, attention, "
                           "steps) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {visitId, BookTime(v.made),
             v.clockOffset ? QVariant(static_cast<qint64>(*v.clockOffset)) : QVariant(),
             OrNull(v.errorNumber), OrNull(v.zeroings), OrNull(v.lastReceipt),
             v.totals ? QVariant(TotalsColumn(*v.totals)) : QVariant(),
             v.header ? QVariant(HeaderColumn(*v.header)) : QVariant(),
             v.rates ? QVariant(RatesColumn(*v.rates)) : QVariant(),
             v.fiscal ? QVariant(*v.fiscal ? 1 : 0) : QVariant(),
             text(check.attention.join(QLatin1Char('\n'))),
             check.stepsJson.isEmpty() ? QStringLiteral("[]") : check.stepsJson});
        run(db_, path_, doing,
            QStringLiteral("UPDATE visits SET last_contact = ?, revision = revision + 1 "
                           "WHERE id = ?"),
            {BookTime(v.made), visitId});
    });
}

void VisitBook::AddSetting(qint64 visitId, const SettingRecord& setting)
{
    const QString doing = QStringLiteral("nie zapisano ustawienia");
    write(doing, [&] {
        run(db_, path_, doing,
            QStringLiteral("INSERT INTO settings_taken (visit_id, made, what, detail, "
                           "offset_before, offset_after) VALUES (?, ?, ?, ?, ?, ?)"),
            {visitId, BookTime(setting.made), text(setting.what), text(setting.detail),
             setting.offsetBefore ? QVariant(static_cast<qint64>(*setting.offsetBefore))
                                  : QVariant(),
             setting.offsetAfter ? QVariant(static_cast<qint64>(*setting.offsetAfter))
                                 : QVariant()});
        changed(db_, path_, doing, visitId);
    });
}

void VisitBook::AddFile(qint64 visitId, const QString& path, const QDateTime& when)
{
    const QString doing = QStringLiteral("nie zapisano pliku wizyty");
    write(doing, [&] {
        run(db_, path_, doing,
            QStringLiteral("INSERT INTO files (visit_id, made, path) VALUES (?, ?, ?)"),
            {visitId, BookTime(when), QFileInfo(path).absoluteFilePath()});
        changed(db_, path_, doing, visitId);
    });
}

void VisitBook::SetNextInspection(qint64 printerId, const QDate& date, const QString& message)
{
    const QString doing = QStringLiteral("nie zapisano daty przeglądu");
    write(doing, [&] {
        run(db_, path_, doing,
            QStringLiteral("UPDATE printers SET next_inspection = ?, inspection_message = ?, "
                           "revision = revision + 1 WHERE id = ?"),
            {date.toString(Qt::ISODate), text(message), printerId});
    });
}

}  // namespace varmo::book
