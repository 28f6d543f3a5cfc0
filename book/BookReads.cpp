// The visit book's reads: the printer list, a printer's visits, one visit in
// full, and what the next check compares with. The statements are plain SQL
// that the laptop's SQLite and the company's PostgreSQL both take.
#include <QSqlError>
#include <QSqlQuery>

#include "book/BookColumns.h"
#include "book/BookTrouble.h"
#include "book/BookReader.h"
#include "book/RecordRows.h"
#include "book/VisitBook.h"

namespace varmo::book {

namespace {

QSqlQuery read(QSqlDatabase& db, const QString& path, const QString& statement,
               const QVariantList& values)
{
    return BoundQuery(db, path, QStringLiteral("nie można odczytać"), statement, values, true);
}

const QString kPrinterColumns = QStringLiteral(
    "SELECT p.id, p.uuid, p.unique_number, p.nip, p.fiscal, p.header_first, p.first_seen, "
    "p.last_seen, p.next_inspection, "
    "(SELECT max(started) FROM visits WHERE printer_id = p.id), "
    "(SELECT count(*) FROM visits WHERE printer_id = p.id) FROM printers p ");

PrinterRow printerRow(const QSqlQuery& query, const QDate& today)
{
    PrinterRow row;
    row.id = query.value(0).toLongLong();
    row.uuid = query.value(1).toString();
    row.uniqueNumber = query.value(2).toString();
    row.nip = query.value(3).toString();
    row.fiscal = query.value(4).toInt() != 0;
    row.headerFirstLine = query.value(5).toString();
    row.firstSeen = FromBookTime(query.value(6).toString());
    row.lastSeen = FromBookTime(query.value(7).toString());
    if (!query.value(8).isNull()) {
        row.nextInspection = QDate::fromString(query.value(8).toString(), Qt::ISODate);
        row.dueInDays = today.daysTo(*row.nextInspection);
    }
    row.lastVisit = FromBookTime(query.value(9).toString());
    row.visits = query.value(10).toInt();
    return row;
}

const QString kVisitColumns = QStringLiteral(
    "SELECT v.id, v.uuid, p.unique_number, v.started, v.ended, v.technician, v.port, "
    "v.program, v.notes, (SELECT count(*) FROM checks WHERE visit_id = v.id), "
    "(SELECT count(*) FROM settings_taken WHERE visit_id = v.id) "
    "FROM visits v JOIN printers p ON p.id = v.printer_id ");

VisitRow visitRow(const QSqlQuery& query)
{
    VisitRow row;
    row.id = query.value(0).toLongLong();
    row.uuid = query.value(1).toString();
    row.uniqueNumber = query.value(2).toString();
    row.started = FromBookTime(query.value(3).toString());
    row.ended = FromBookTime(query.value(4).toString());
    row.technician = query.value(5).toString();
    row.port = query.value(6).toString();
    row.program = query.value(7).toString();
    row.notes = query.value(8).toString();
    row.checks = query.value(9).toInt();
    row.settings = query.value(10).toInt();
    return row;
}

QString checkSelect()
{
    return QStringLiteral("SELECT %1 FROM checks c ").arg(ChecksTable().List(QStringLiteral("c.")));
}

QString settingSelect()
{
    return QStringLiteral("SELECT %1 FROM settings_taken s ").arg(SettingsTable().List(QStringLiteral("s.")));
}

}  // namespace

std::vector<PrinterRow> BookReader::Printers(const QString& search, std::optional<int> dueWithin,
                                            const QDate& today)
{
    QString where = QStringLiteral("WHERE 1 = 1 ");
    QVariantList values;
    if (!search.trimmed().isEmpty()) {
        const QString like = QLatin1Char('%') + LooseText(search.trimmed()) + QLatin1Char('%');
        where += QStringLiteral("AND (lower(p.unique_number) LIKE ? OR p.nip LIKE ? "
                                "OR replace(p.nip, '-', '') LIKE ? OR p.header_loose LIKE ?) ");
        values << like << like << like << like;
    }
    QString order = QStringLiteral("ORDER BY p.unique_number");
    if (dueWithin) {
        where += QStringLiteral("AND p.next_inspection IS NOT NULL AND p.next_inspection <= ? ");
        values << today.addDays(*dueWithin).toString(Qt::ISODate);
        order = QStringLiteral("ORDER BY p.next_inspection, p.unique_number");
    }
    QSqlQuery query = read(db_, path_, kPrinterColumns + where + order, values);
    std::vector<PrinterRow> rows;
    while (query.next())
        rows.push_back(printerRow(query, today));
    return rows;
}

std::optional<PrinterRow> BookReader::Printer(const QString& uniqueNumber, const QDate& today)
{
    QSqlQuery query = read(db_, path_, kPrinterColumns + QStringLiteral("WHERE p.unique_number = ?"),
                           {uniqueNumber});
    if (!query.next())
        return std::nullopt;
    return printerRow(query, today);
}

std::vector<VisitRow> BookReader::Visits(const QString& uniqueNumber)
{
    QSqlQuery query = read(db_, path_,
                           kVisitColumns + QStringLiteral("WHERE p.unique_number = ? "
                                                          "ORDER BY v.started DESC, v.id DESC"),
                           {uniqueNumber});
    std::vector<VisitRow> rows;
    while (query.next())
        rows.push_back(visitRow(query));
    return rows;
}

std::optional<VisitDetail> BookReader::Visit(qint64 visitId)
{
    QSqlQuery query = read(db_, path_, kVisitColumns + QStringLiteral("WHERE v.id = ?"),
                           {visitId});
    if (!query.next())
        return std::nullopt;
    VisitDetail detail;
    detail.visit = visitRow(query);
    QSqlQuery checks = read(db_, path_,
                            checkSelect() + QStringLiteral("WHERE c.visit_id = ? ORDER BY c.id"),
                            {visitId});
    const RowReader check(ChecksTable(), checks);
    while (checks.next())
        detail.checks.push_back(CheckFrom(check.Read(checks)));
    QSqlQuery settings = read(db_, path_,
                              settingSelect() + QStringLiteral("WHERE s.visit_id = ? ORDER BY s.id"),
                              {visitId});
    const RowReader setting(SettingsTable(), settings);
    while (settings.next())
        detail.settings.push_back(SettingFrom(setting.Read(settings)));
    QSqlQuery files = read(db_, path_,
                           QStringLiteral("SELECT path FROM files WHERE visit_id = ? ORDER BY id"),
                           {visitId});
    while (files.next())
        detail.files << files.value(0).toString();
    return detail;
}

std::optional<CheckValues> BookReader::LastCheckBefore(const QString& uniqueNumber, qint64 visitId)
{
    QSqlQuery query = read(db_, path_,
                           checkSelect() + QStringLiteral(
                                               "JOIN visits v ON v.id = c.visit_id "
                                               "JOIN printers p ON p.id = v.printer_id "
                                               "WHERE p.unique_number = ? AND v.id <> ? "
                                               "ORDER BY c.made DESC, c.id DESC LIMIT 1"),
                           {uniqueNumber, visitId});
    const RowReader check(ChecksTable(), query);
    if (!query.next())
        return std::nullopt;
    return CheckFrom(check.Read(query)).values;
}

std::vector<SettingRecord> BookReader::ClockSettingsSince(const QString& uniqueNumber,
                                                         const QDateTime& since)
{
    QSqlQuery query = read(db_, path_,
                           settingSelect() + QStringLiteral(
                                          "JOIN visits v ON v.id = s.visit_id "
                                          "JOIN printers p ON p.id = v.printer_id "
                                          "WHERE p.unique_number = ? AND s.what = ? "
                                          "AND s.made >= ? ORDER BY s.made"),
                           {uniqueNumber, QStringLiteral("Zegar"), BookTime(since)});
    std::vector<SettingRecord> rows;
    const RowReader setting(SettingsTable(), query);
    while (query.next())
        rows.push_back(SettingFrom(setting.Read(query)));
    return rows;
}

// The local book's reads are the reader's on its own file.
std::vector<PrinterRow> VisitBook::Printers(const QString& search, std::optional<int> dueWithin,
                                            const QDate& today)
{
    return BookReader(db_, path_).Printers(search, dueWithin, today);
}

std::optional<PrinterRow> VisitBook::Printer(const QString& uniqueNumber, const QDate& today)
{
    return BookReader(db_, path_).Printer(uniqueNumber, today);
}

std::vector<VisitRow> VisitBook::Visits(const QString& uniqueNumber)
{
    return BookReader(db_, path_).Visits(uniqueNumber);
}

std::optional<VisitDetail> VisitBook::Visit(qint64 visitId)
{
    return BookReader(db_, path_).Visit(visitId);
}

std::optional<CheckValues> VisitBook::LastCheckBefore(const QString& uniqueNumber, qint64 visitId)
{
    return BookReader(db_, path_).LastCheckBefore(uniqueNumber, visitId);
}

std::vector<SettingRecord> VisitBook::ClockSettingsSince(const QString& uniqueNumber,
                                                         const QDateTime& since)
{
    return BookReader(db_, path_).ClockSettingsSince(uniqueNumber, since);
}

}  // namespace varmo::book
