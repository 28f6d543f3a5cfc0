#include "book/VisitBook.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include "book/BookColumns.h"
#include "book/BookSchema.h"
#include "book/BookTrouble.h"
#include "book/ProcessMark.h"
#include "book/RecordRows.h"

namespace varmo::book {

namespace {

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
                                "technician, port, program, holder) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                 {newUuid(), printerId, BookTime(start.when), BookTime(start.when),
                  text(start.technician), text(start.port), text(start.program),
                  start.held ? QVariant(ThisProcessMark()) : QVariant()})
                 .lastInsertId()
                 .toLongLong();
    });
    return id;
}

int VisitBook::EndAbandonedVisits()
{
    const QString doing = QStringLiteral("nie zakończono wizyt przerwanych");
    int ended = 0;
    write(doing, [&] {
        ended = 0;
        QSqlQuery open = run(db_, path_, doing,
                             QStringLiteral("SELECT id, holder FROM visits "
                                            "WHERE ended IS NULL AND holder IS NOT NULL"),
                             {});
        QVariantList gone;
        while (open.next())
            if (!ProcessMarkAlive(open.value(1).toString()))
                gone << open.value(0);
        open.finish();
        for (const QVariant& id : gone) {
            run(db_, path_, doing,
                QStringLiteral("UPDATE visits SET ended = last_contact, holder = NULL, "
                               "revision = revision + 1 WHERE id = ?"),
                {id});
            ++ended;
        }
    });
    return ended;
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
            QStringLiteral("UPDATE visits SET ended = ?, last_contact = ?, holder = NULL, "
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
    const Table& checks = ChecksTable();
    QStringList replaced;
    for (const QString& column : checks.Travelling())
        replaced << QStringLiteral("%1 = excluded.%1").arg(column);
    write(doing, [&] {
        run(db_, path_, doing,
            QStringLiteral("INSERT INTO checks (uuid, visit_id, %1) VALUES (?, ?, %2) "
                           "ON CONFLICT (uuid) DO UPDATE SET visit_id = excluded.visit_id, %3")
                .arg(checks.List(), ValueMarks(static_cast<int>(checks.Travelling().size())),
                     replaced.join(QStringLiteral(", "))),
            Row{check.id.isEmpty() ? newUuid() : check.id, visitId} + CheckRow(check));
        run(db_, path_, doing,
            QStringLiteral("UPDATE visits SET last_contact = max(last_contact, ?), "
                           "revision = revision + 1 WHERE id = ?"),
            {BookTime(check.values.made), visitId});
    });
}

void VisitBook::AddSetting(qint64 visitId, const SettingRecord& setting)
{
    const QString doing = QStringLiteral("nie zapisano ustawienia");
    const Table& settings = SettingsTable();
    write(doing, [&] {
        run(db_, path_, doing,
            QStringLiteral("INSERT INTO settings_taken (visit_id, %1) VALUES (?, %2)")
                .arg(settings.List(), ValueMarks(static_cast<int>(settings.Travelling().size()))),
            Row{visitId} + SettingRow(setting));
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
