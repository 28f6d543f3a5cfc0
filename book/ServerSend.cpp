#include "book/ServerSend.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <map>
#include <set>

#include "book/LocalOutbox.h"
#include "book/ServerBook.h"
#include "book/ServerRows.h"
#include "book/VisitBook.h"

namespace varmo::book {

namespace {

// The newest contact's values win; one a laptop did not read stays as the
// server had it.
const QString kPrinterUpsert = QStringLiteral(
    "INSERT INTO printers (uuid, unique_number, nip, fiscal, header, header_first, header_loose, "
    "rates, first_seen, last_seen, next_inspection, inspection_message) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
    "ON CONFLICT (unique_number) DO UPDATE SET "
    "nip = CASE WHEN excluded.last_seen >= printers.last_seen "
    "  THEN coalesce(excluded.nip, printers.nip) ELSE coalesce(printers.nip, excluded.nip) END, "
    "fiscal = CASE WHEN excluded.last_seen >= printers.last_seen "
    "  THEN excluded.fiscal ELSE printers.fiscal END, "
    "header = CASE WHEN excluded.last_seen >= printers.last_seen "
    "  THEN coalesce(excluded.header, printers.header) "
    "  ELSE coalesce(printers.header, excluded.header) END, "
    "header_first = CASE WHEN excluded.last_seen >= printers.last_seen "
    "  THEN coalesce(excluded.header_first, printers.header_first) "
    "  ELSE coalesce(printers.header_first, excluded.header_first) END, "
    "header_loose = CASE WHEN excluded.last_seen >= printers.last_seen "
    "  THEN coalesce(excluded.header_loose, printers.header_loose) "
    "  ELSE coalesce(printers.header_loose, excluded.header_loose) END, "
    "rates = CASE WHEN excluded.last_seen >= printers.last_seen "
    "  THEN coalesce(excluded.rates, printers.rates) "
    "  ELSE coalesce(printers.rates, excluded.rates) END, "
    "next_inspection = CASE WHEN excluded.last_seen >= printers.last_seen "
    "  THEN coalesce(excluded.next_inspection, printers.next_inspection) "
    "  ELSE coalesce(printers.next_inspection, excluded.next_inspection) END, "
    "inspection_message = CASE WHEN excluded.last_seen >= printers.last_seen "
    "  THEN coalesce(excluded.inspection_message, printers.inspection_message) "
    "  ELSE coalesce(printers.inspection_message, excluded.inspection_message) END, "
    "first_seen = least(printers.first_seen, excluded.first_seen), "
    "last_seen = greatest(printers.last_seen, excluded.last_seen), "
    "changed_by = pg_current_xact_id() "
    "RETURNING id");

// A visit the server has in a later state than this book (a book restored
// from an old copy) is left as the server has it.
const QString kVisitInsert = QStringLiteral(
    "INSERT INTO visits (uuid, printer_id, started, last_contact, ended, technician, port, "
    "program, notes) VALUES");
const QString kVisitConflict = QStringLiteral(
    "ON CONFLICT (uuid) DO UPDATE SET printer_id = excluded.printer_id, "
    "started = excluded.started, last_contact = excluded.last_contact, ended = excluded.ended, "
    "technician = excluded.technician, port = excluded.port, program = excluded.program, "
    "notes = excluded.notes, changed_by = pg_current_xact_id() "
    "WHERE visits.last_contact < excluded.last_contact "
    "OR (visits.last_contact = excluded.last_contact "
    "    AND (visits.ended IS NULL OR excluded.ended IS NOT NULL)) "
    "RETURNING uuid, id, CAST(changed_by AS text)");

QString ChildHead(const char* table, const char* columns)
{
    return QStringLiteral("INSERT INTO %1 (visit_id, %2) VALUES")
        .arg(QLatin1String(table), QLatin1String(columns));
}

// Deadlocks and serialisation failures are the server's way of saying "again".
bool passing(const ServerError& error)
{
    return error.Kind() == ServerTrouble::Other &&
           (error.Reason().contains(QStringLiteral("deadlock")) ||
            error.Reason().contains(QStringLiteral("could not serialize")));
}

template <typename Body>
void inTransaction(ServerBook& server, Body body)
{
    for (int attempt = 1;; ++attempt) {
        server.Begin();
        try {
            body();
            server.Commit();
            return;
        } catch (const ServerError& error) {
            server.Rollback();
            if (!passing(error) || attempt == 3)
                throw;
        }
    }
}

qint64 upsertPrinter(Prepared& upsert, const WaitingPrinter& printer)
{
    QSqlQuery& query = upsert.Exec(printer.columns);
    if (!query.next())
        throw ServerError(ServerTrouble::Other, QStringLiteral("serwer nie przyjął drukarki"));
    return query.value(0).toLongLong();
}

bool stopped(const std::atomic<bool>* stop)
{
    return stop && stop->load();
}

void sendPrinters(VisitBook& local, ServerBook& server, SendResult& result,
                  const std::atomic<bool>* stop)
{
    Prepared upsert(server, kPrinterUpsert);
    QString after = QStringLiteral("");  // bound as text, never as NULL
    for (;;) {
        const std::vector<WaitingPrinter> printers = WaitingPrinters(local, after, 500);
        if (printers.empty() || stopped(stop))
            return;
        inTransaction(server, [&] {
            for (const WaitingPrinter& printer : printers)
                upsertPrinter(upsert, printer);
        });
        MarkPrintersSent(local, printers);
        result.printers += static_cast<int>(printers.size());
        after = printers.back().columns.value(1).toString();
    }
}

// The server's ids of the batch's printers; a printer the server lacks (its
// record went up from another book) goes up now, in the order of the numbers.
std::map<QString, qint64> serverPrinters(VisitBook& local, ServerBook& server, Prepared& upsert,
                                         const std::vector<WaitingVisit>& visits)
{
    std::set<QString> numbers;
    for (const WaitingVisit& visit : visits)
        numbers.insert(visit.uniqueNumber);
    std::map<QString, qint64> ids;
    QSqlQuery found = server.Run(
        QStringLiteral("SELECT unique_number, id FROM printers "
                       "WHERE unique_number = ANY(CAST(? AS text[]))"),
        {TextArray(QStringList(numbers.begin(), numbers.end()))});
    while (found.next())
        ids[found.value(0).toString()] = found.value(1).toLongLong();
    for (const QString& number : numbers)
        if (!ids.count(number))
            ids[number] = upsertPrinter(upsert, PrinterColumns(local, number));
    return ids;
}

void sendVisits(VisitBook& local, ServerBook& server, int batch, SendResult& result,
                const std::atomic<bool>* stop)
{
    Prepared printerUpsert(server, kPrinterUpsert);
    qint64 after = 0;
    for (;;) {
        const std::vector<WaitingVisit> visits = WaitingVisits(local, after, batch);
        if (visits.empty() || stopped(stop))
            return;
        std::map<qint64, QString> marks;
        inTransaction(server, [&] {
            marks.clear();
            const std::map<QString, qint64> printers =
                serverPrinters(local, server, printerUpsert, visits);
            // The batch's visits in one statement; the server names those it took.
            std::vector<Row> rows;
            std::map<QString, const WaitingVisit*> byUuid;
            for (const WaitingVisit& visit : visits) {
                Row values = visit.columns;
                values.insert(1, printers.at(visit.uniqueNumber));
                rows.push_back(values);
                byUuid[visit.columns.value(0).toString()] = &visit;
            }
            std::vector<std::pair<const WaitingVisit*, qint64>> taken;
            InsertRows(server, kVisitInsert, rows, kVisitConflict, [&](const QSqlQuery& row) {
                const WaitingVisit* visit = byUuid.at(row.value(0).toString());
                taken.emplace_back(visit, row.value(1).toLongLong());
                marks[visit->id] = row.value(2).toString();
            });
            // What a visit holds goes whole: the server's rows of it are
            // replaced, so a resend never doubles a check.
            QStringList ids;
            for (const auto& [visit, id] : taken)
                ids << QString::number(id);
            const QString array = QLatin1Char('{') + ids.join(QLatin1Char(',')) + QLatin1Char('}');
            for (const char* table : {"checks", "settings_taken", "files"})
                server.Run(QStringLiteral("DELETE FROM %1 WHERE visit_id = ANY(CAST(? AS bigint[]))")
                               .arg(QLatin1String(table)),
                           {array});
            std::vector<Row> checks;
            std::vector<Row> settings;
            std::vector<Row> files;
            for (const auto& [visit, id] : taken) {
                for (const Row& row : visit->checks)
                    checks.push_back(Row{id} + row);
                for (const Row& row : visit->settings)
                    settings.push_back(Row{id} + row);
                for (const Row& row : visit->files)
                    files.push_back(Row{id} + row);
            }
            InsertRows(server, ChildHead("checks", kCheckColumns), checks);
            InsertRows(server, ChildHead("settings_taken", kSettingColumns), settings);
            InsertRows(server, ChildHead("files", kFileColumns), files);
        });
        MarkVisitsSent(local, visits, marks);
        result.visits += static_cast<int>(visits.size());
        after = visits.back().id;
    }
}

}  // namespace

SendResult SendWaiting(VisitBook& local, ServerBook& server, int batch,
                       const std::atomic<bool>* stop)
{
    SendResult result;
    if (server.ReadOnly()) {
        result.trouble = ServerError(ServerTrouble::Newer, ServerReason(ServerTrouble::Newer));
    } else {
        try {
            sendPrinters(local, server, result, stop);
            sendVisits(local, server, batch, result, stop);
        } catch (const ServerError& error) {
            result.trouble = error;
        }
    }
    result.waiting = WaitingCount(local);
    return result;
}

}  // namespace varmo::book
