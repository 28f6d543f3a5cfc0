#include "book/LocalOutbox.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include "book/BookTrouble.h"
#include "book/VisitBook.h"

namespace varmo::book {

const char* const kCheckColumns =
    "made, clock_offset, error_number, zeroings, last_receipt, totals, header, rates, fiscal, "
    "attention, steps";
const char* const kSettingColumns = "made, what, detail, offset_before, offset_after";
const char* const kFileColumns = "made, path";

namespace {

const QString kReading = QStringLiteral("nie można odczytać wizyt do wysłania");

QSqlQuery read(VisitBook& book, const QString& statement, const QVariantList& values)
{
    return BoundQuery(book.Database(), book.Path(), kReading, statement, values, true);
}

Row rowFrom(const QSqlQuery& query, int from)
{
    Row row;
    const int count = query.record().count();
    for (int i = from; i < count; ++i)
        row << query.value(i);
    return row;
}

const QString kPrinterSelect = QStringLiteral(
    "SELECT id, revision, uuid, unique_number, nip, fiscal, header, header_first, "
    "header_loose, rates, first_seen, last_seen, next_inspection, inspection_message "
    "FROM printers ");

WaitingPrinter printerFrom(const QSqlQuery& query)
{
    return {query.value(0).toLongLong(), query.value(1).toLongLong(), rowFrom(query, 2)};
}

// The children of the visits read, a table at a time.
void readChildren(VisitBook& book, std::vector<WaitingVisit>& visits, const char* table,
                  const char* columns, std::vector<Row> WaitingVisit::*into)
{
    if (visits.empty())
        return;
    std::map<qint64, WaitingVisit*> byId;
    QStringList marks;
    QVariantList ids;
    for (WaitingVisit& visit : visits) {
        byId[visit.id] = &visit;
        marks << QStringLiteral("?");
        ids << visit.id;
    }
    QSqlQuery query =
        read(book,
             QStringLiteral("SELECT visit_id, %1 FROM %2 WHERE visit_id IN (%3) ORDER BY id")
                 .arg(QLatin1String(columns), QLatin1String(table), marks.join(QLatin1Char(','))),
             ids);
    while (query.next())
        (byId[query.value(0).toLongLong()]->*into).push_back(rowFrom(query, 1));
}

}  // namespace

std::vector<WaitingPrinter> WaitingPrinters(VisitBook& book, const QString& after, int limit)
{
    QSqlQuery query = read(book,
                           kPrinterSelect + QStringLiteral("WHERE sent_revision < revision AND "
                                                           "unique_number > ? "
                                                           "ORDER BY unique_number LIMIT ?"),
                           {after, limit});
    std::vector<WaitingPrinter> printers;
    while (query.next())
        printers.push_back(printerFrom(query));
    return printers;
}

WaitingPrinter PrinterColumns(VisitBook& book, const QString& uniqueNumber)
{
    QSqlQuery query = read(book, kPrinterSelect + QStringLiteral("WHERE unique_number = ?"),
                           {uniqueNumber});
    if (!query.next())
        throw BookError(Trouble::Other, "Księga wizyt: wizyta bez drukarki");
    return printerFrom(query);
}

std::vector<WaitingVisit> WaitingVisits(VisitBook& book, qint64 after, int limit)
{
    std::vector<WaitingVisit> visits;
    {
        QSqlQuery query = read(
            book,
            QStringLiteral("SELECT v.id, v.revision, p.unique_number, v.uuid, v.started, "
                           "v.last_contact, v.ended, v.technician, v.port, v.program, v.notes "
                           "FROM visits v JOIN printers p ON p.id = v.printer_id "
                           "WHERE v.sent_revision < v.revision AND v.id > ? "
                           "ORDER BY v.id LIMIT ?"),
            {after, limit});
        while (query.next()) {
            WaitingVisit visit;
            visit.id = query.value(0).toLongLong();
            visit.revision = query.value(1).toLongLong();
            visit.uniqueNumber = query.value(2).toString();
            visit.columns = rowFrom(query, 3);
            visits.push_back(std::move(visit));
        }
    }
    readChildren(book, visits, "checks", kCheckColumns, &WaitingVisit::checks);
    readChildren(book, visits, "settings_taken", kSettingColumns, &WaitingVisit::settings);
    readChildren(book, visits, "files", kFileColumns, &WaitingVisit::files);
    return visits;
}

void MarkPrintersSent(VisitBook& book, const std::vector<WaitingPrinter>& printers)
{
    const QString doing = QStringLiteral("nie zapisano, co przyjął serwer");
    book.Together(doing, [&] {
        for (const WaitingPrinter& printer : printers)
            BoundQuery(book.Database(), book.Path(), doing,
                       QStringLiteral("UPDATE printers SET sent_revision = ? WHERE id = ?"),
                       {printer.revision, printer.id});
    });
}

void MarkVisitsSent(VisitBook& book, const std::vector<WaitingVisit>& visits,
                    const std::map<qint64, QString>& serverMarks)
{
    const QString doing = QStringLiteral("nie zapisano, co przyjął serwer");
    book.Together(doing, [&] {
        for (const WaitingVisit& visit : visits) {
            const auto mark = serverMarks.find(visit.id);
            // A visit changed meanwhile keeps waiting: its newer revision goes next time.
            BoundQuery(book.Database(), book.Path(), doing,
                       QStringLiteral("UPDATE visits SET sent_revision = ?, "
                                      "server_mark = coalesce(?, server_mark) WHERE id = ?"),
                       {visit.revision,
                        mark == serverMarks.end() ? QVariant() : QVariant(mark->second),
                        visit.id});
        }
    });
}

int WaitingCount(VisitBook& book)
{
    QSqlQuery query =
        read(book, QStringLiteral("SELECT count(*) FROM visits WHERE sent_revision < revision"), {});
    return query.next() ? query.value(0).toInt() : 0;
}

QString ServerState(VisitBook& book, const QString& name)
{
    QSqlQuery query =
        read(book, QStringLiteral("SELECT value FROM server_state WHERE name = ?"), {name});
    return query.next() ? query.value(0).toString() : QString();
}

void SetServerState(VisitBook& book, const QString& name, const QString& value)
{
    const QString doing = QStringLiteral("nie zapisano stanu kopii serwera");
    book.Together(doing, [&] {
        BoundQuery(book.Database(), book.Path(), doing,
                   QStringLiteral("INSERT INTO server_state (name, value) VALUES (?, ?) "
                                  "ON CONFLICT (name) DO UPDATE SET value = excluded.value"),
                   {name, value});
    });
}

QDateTime LastServerContact(VisitBook& book)
{
    return FromBookTime(ServerState(book, QStringLiteral("last_contact")));
}

}  // namespace varmo::book
