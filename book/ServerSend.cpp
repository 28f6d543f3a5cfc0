#include "book/ServerSend.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <map>
#include <set>

#include "book/LocalOutbox.h"
#include "book/RecordTables.h"
#include "book/ServerBook.h"
#include "book/ServerRows.h"
#include "book/VisitBook.h"

namespace varmo::book {

namespace {

// "This laptop's contact is the newer one": by the server's times of the two
// contacts; the same contact sent again (the same text) counts as newer, so a
// change the laptop made to it since goes up; rows from before the server
// kept its times are compared by the laptops' text.
const QString kNewerPrinter = QStringLiteral(
    "(excluded.last_seen = printers.last_seen OR coalesce(excluded.last_seen_at >= "
    "printers.last_seen_at, excluded.last_seen >= printers.last_seen))");

// The server's time of a contact: its age as the laptop's clock measured it
// when the batch went (the laptop's now, read once a batch, less the
// contact's time), taken from the server's now. A laptop whose clock is
// wrong measures the age right all the same.
const QString kServerTime = QStringLiteral("now() - make_interval(secs => ?)");

// The newest contact's values win; one a laptop did not read stays as the
// server had it. The first sighting is the earliest of all.
QString printerUpsertStatement()
{
    const Table& printers = PrintersTable();
    QString statement = QStringLiteral("INSERT INTO printers (%1, last_seen_at) VALUES (%2, %3) "
                                       "ON CONFLICT (unique_number) DO UPDATE SET ")
                            .arg(printers.List(), ValueMarks(static_cast<int>(printers.Travelling().size())),
                                 kServerTime);
    for (const QString& column : printers.Travelling()) {
        if (column == QStringLiteral("uuid") || column == QStringLiteral("unique_number"))
            continue;
        if (column == QStringLiteral("first_seen"))
            statement += QStringLiteral("first_seen = least(printers.first_seen, excluded.first_seen), ");
        else if (column == QStringLiteral("fiscal") || column == QStringLiteral("last_seen"))
            statement += QStringLiteral("%1 = CASE WHEN NEWER THEN excluded.%1 ELSE printers.%1 END, ")
                             .arg(column);
        else
            statement += QStringLiteral("%1 = CASE WHEN NEWER THEN coalesce(excluded.%1, printers.%1) "
                                        "ELSE coalesce(printers.%1, excluded.%1) END, ")
                             .arg(column);
    }
    statement += QStringLiteral(
        "last_seen_at = CASE WHEN excluded.last_seen = printers.last_seen "
        "  THEN coalesce(printers.last_seen_at, excluded.last_seen_at) "
        "  WHEN NEWER THEN coalesce(excluded.last_seen_at, printers.last_seen_at) "
        "  ELSE coalesce(printers.last_seen_at, excluded.last_seen_at) END, "
        "changed_by = pg_current_xact_id() "
        "RETURNING id");
    return statement.replace(QStringLiteral("NEWER"), kNewerPrinter);
}

// A visit the server has in a later state than this book (a book restored
// from an old copy) is left as the server has it. The same last contact sent
// again keeps the server's time of it.
QString visitInsert()
{
    return QStringLiteral("INSERT INTO visits (printer_id, %1, last_contact_at) VALUES")
        .arg(VisitsTable().List());
}

QString visitShape()
{
    return QStringLiteral("(?, %1, %2)")
        .arg(ValueMarks(static_cast<int>(VisitsTable().Travelling().size())), kServerTime);
}

QString visitConflict()
{
    QString statement = QStringLiteral("ON CONFLICT (uuid) DO UPDATE SET printer_id = excluded.printer_id, ");
    for (const QString& column : VisitsTable().Travelling())
        if (column != QStringLiteral("uuid"))
            statement += QStringLiteral("%1 = excluded.%1, ").arg(column);
    return statement + QStringLiteral(
        "last_contact_at = CASE WHEN visits.last_contact = excluded.last_contact "
        "  THEN coalesce(visits.last_contact_at, excluded.last_contact_at) "
        "  ELSE excluded.last_contact_at END, "
        "changed_by = pg_current_xact_id() "
        "WHERE (visits.last_contact <> excluded.last_contact "
        "    AND coalesce(visits.last_contact_at < excluded.last_contact_at, "
        "                 visits.last_contact < excluded.last_contact)) "
        "OR (visits.last_contact = excluded.last_contact "
        "    AND (visits.ended IS NULL OR excluded.ended IS NOT NULL)) "
        "RETURNING uuid, id, CAST(changed_by AS text)");
}

QString childHead(const Table& table)
{
    return QStringLiteral("INSERT INTO %1 (visit_id, %2) VALUES").arg(QLatin1String(table.name), table.List());
}

// How long ago a time of the book was, by this computer's clock; nothing
// when the text is no time.
QVariant ageOf(const QVariant& bookTime, const QDateTime& now)
{
    const QDateTime then = FromBookTime(bookTime.toString());
    if (!then.isValid())
        return QVariant(QMetaType::fromType<qint64>());
    return then.secsTo(now);
}

qint64 upsertPrinter(ServerBook& server, Prepared& upsert, const WaitingPrinter& printer,
                     const QDateTime& now)
{
    Row values = printer.columns;
    values << ageOf(ValueIn(printer.columns, PrintersTable(), "last_seen"), now);
    QSqlQuery& query = upsert.Exec(values);
    if (!server.Next(query))
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
    Prepared upsert(server, printerUpsertStatement());
    QString after = QStringLiteral("");  // bound as text, never as NULL
    for (;;) {
        const std::vector<WaitingPrinter> printers = WaitingPrinters(local, after, 500);
        if (printers.empty() || stopped(stop))
            return;
        const QDateTime now = QDateTime::currentDateTime();
        server.Together([&] {
            for (const WaitingPrinter& printer : printers)
                upsertPrinter(server, upsert, printer, now);
        });
        MarkPrintersSent(local, printers);
        result.printers += static_cast<int>(printers.size());
        after = ValueIn(printers.back().columns, PrintersTable(), "unique_number").toString();
    }
}

// The server's ids of the batch's printers; a printer the server lacks (its
// record went up from another book) goes up now, in the order of the numbers.
std::map<QString, qint64> serverPrinters(VisitBook& local, ServerBook& server, Prepared& upsert,
                                         const std::vector<WaitingVisit>& visits,
                                         const QDateTime& now)
{
    std::set<QString> numbers;
    for (const WaitingVisit& visit : visits)
        numbers.insert(visit.uniqueNumber);
    std::map<QString, qint64> ids;
    QSqlQuery found = server.Run(
        QStringLiteral("SELECT unique_number, id FROM printers "
                       "WHERE unique_number = ANY(CAST(? AS text[]))"),
        {TextArray(QStringList(numbers.begin(), numbers.end()))});
    while (server.Next(found))
        ids[found.value(0).toString()] = found.value(1).toLongLong();
    for (const QString& number : numbers)
        if (!ids.count(number))
            ids[number] = upsertPrinter(server, upsert, PrinterColumns(local, number), now);
    return ids;
}

void sendVisits(VisitBook& local, ServerBook& server, int batch, SendResult& result,
                const std::atomic<bool>* stop)
{
    Prepared printerUpsert(server, printerUpsertStatement());
    qint64 after = 0;
    for (;;) {
        const std::vector<WaitingVisit> visits = WaitingVisits(local, after, batch);
        if (visits.empty() || stopped(stop))
            return;
        std::map<qint64, QString> marks;
        const QDateTime now = QDateTime::currentDateTime();
        server.Together([&] {
            marks.clear();
            const std::map<QString, qint64> printers =
                serverPrinters(local, server, printerUpsert, visits, now);
            // The batch's visits in one statement; the server names those it took.
            std::vector<Row> rows;
            std::map<QString, const WaitingVisit*> byUuid;
            for (const WaitingVisit& visit : visits) {
                Row values = Row{printers.at(visit.uniqueNumber)} + visit.columns;
                values << ageOf(ValueIn(visit.columns, VisitsTable(), "last_contact"), now);
                rows.push_back(values);
                byUuid[ValueIn(visit.columns, VisitsTable(), "uuid").toString()] = &visit;
            }
            std::vector<std::pair<const WaitingVisit*, qint64>> taken;
            InsertRows(
                server, visitInsert(), rows, visitConflict(),
                [&](const QSqlQuery& row) {
                    const WaitingVisit* visit = byUuid.at(row.value(0).toString());
                    taken.emplace_back(visit, row.value(1).toLongLong());
                    marks[visit->id] = row.value(2).toString();
                },
                visitShape());
            // What a visit holds goes whole: the server's rows of it are
            // replaced, so a resend never doubles a check.
            QStringList ids;
            for (const auto& [visit, id] : taken)
                ids << QString::number(id);
            const QString array = QLatin1Char('{') + ids.join(QLatin1Char(',')) + QLatin1Char('}');
            for (const Table* table : {&ChecksTable(), &SettingsTable(), &FilesTable()})
                server.Run(QStringLiteral("DELETE FROM %1 WHERE visit_id = ANY(CAST(? AS bigint[]))")
                               .arg(QLatin1String(table->name)),
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
            InsertRows(server, childHead(ChecksTable()), checks);
            InsertRows(server, childHead(SettingsTable()), settings);
            InsertRows(server, childHead(FilesTable()), files);
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
