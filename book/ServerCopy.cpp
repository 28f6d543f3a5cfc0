#include "book/ServerCopy.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>
#include <map>

#include "book/BookTrouble.h"
#include "book/LocalOutbox.h"
#include "book/RecordTables.h"
#include "book/ServerRows.h"
#include "book/ServerBook.h"
#include "book/ServerTrouble.h"
#include "book/VisitBook.h"

namespace varmo::book {

namespace {

const QString kDoing = QStringLiteral("nie zapisano kopii księgi z serwera");
const QString kMarkName = QStringLiteral("copied_from");

QSqlQuery local(VisitBook& book, const QString& statement, const QVariantList& values)
{
    return BoundQuery(book.Database(), book.Path(), kDoing, statement, values);
}

// The instants of a row as this book keeps them: a laptop of an earlier
// Varmo sent its local time without the "Z"; it is read as this computer's.
Row normalised(Row row, const Table& table)
{
    for (const char* column : {"first_seen", "last_seen", "started", "last_contact", "ended", "made"}) {
        const int at = table.IndexOf(column);
        if (at < 0 || row[at].isNull())
            continue;
        const QString text = row[at].toString();
        if (!text.endsWith(QLatin1Char('Z')) && FromBookTime(text).isValid())
            row[at] = BookTime(FromBookTime(text));
    }
    return row;
}

// The columns of a table set from a row: "nip = ?, fiscal = ?, …".
QString assignments(const Table& table, const QStringList& leftOut)
{
    QStringList set;
    for (const QString& column : table.Travelling())
        if (!leftOut.contains(column))
            set << column + QStringLiteral(" = ?");
    return set.join(QStringLiteral(", "));
}

// A few hundred rows a transaction: the window's writes wait at most that.
constexpr int kRowsATransaction = 100;

void copyPrinter(VisitBook& book, const Row& row, int& copied)
{
    const Table& printers = PrintersTable();
    QSqlQuery here = local(book,
                           QStringLiteral("SELECT id, revision, sent_revision FROM printers "
                                          "WHERE unique_number = ?"),
                           {ValueIn(row, printers, "unique_number")});
    if (!here.next()) {
        local(book,
              QStringLiteral("INSERT INTO printers (%1, revision, sent_revision) VALUES (%2, 1, 1)")
                  .arg(printers.List(), ValueMarks(static_cast<int>(printers.Travelling().size()))),
              row);
        ++copied;
        return;
    }
    // This book's own change waits to go up; the server merges it then.
    if (here.value(2).toLongLong() < here.value(1).toLongLong())
        return;
    // The record's names stay as this book gave them.
    Row values;
    for (const QString& column : printers.Travelling())
        if (column != QStringLiteral("uuid") && column != QStringLiteral("unique_number"))
            values << row[printers.IndexOf(column.toLatin1().constData())];
    values << here.value(0);
    local(book,
          QStringLiteral("UPDATE printers SET %1 WHERE id = ?")
              .arg(assignments(printers, {QStringLiteral("uuid"), QStringLiteral("unique_number")})),
          values);
    ++copied;
}

int copyPrinters(ServerBook& server, VisitBook& book, const QString& mark)
{
    QSqlQuery changed = server.Run(
        QStringLiteral("SELECT %1 FROM printers "
                       "WHERE changed_by >= CAST(? AS xid8) ORDER BY unique_number")
            .arg(PrintersTable().List()),
        {mark});
    int copied = 0;
    std::vector<Row> rows;
    const auto flush = [&] {
        book.Together(kDoing, [&] {
            for (const Row& row : rows)
                copyPrinter(book, row, copied);
        });
        rows.clear();
    };
    const RowReader reader(PrintersTable(), changed);
    while (server.Next(changed)) {
        rows.push_back(normalised(reader.Read(changed), PrintersTable()));
        if (rows.size() == kRowsATransaction)
            flush();
    }
    flush();
    return copied;
}

struct ServerVisit {
    qint64 serverId = 0;
    Row columns;  // VisitsTable()
    QString uniqueNumber;
    QString serverMark;
};

// The visits this book lacks or has in an older state, waiting ones left out.
std::vector<ServerVisit> visitsToCopy(ServerBook& server, VisitBook& book, const QString& mark)
{
    QSqlQuery changed = server.Run(
        QStringLiteral("SELECT v.id AS visit, %1, p.unique_number AS printer, "
                       "CAST(v.changed_by AS text) AS mark "
                       "FROM visits v JOIN printers p ON p.id = v.printer_id "
                       "WHERE v.changed_by >= CAST(? AS xid8) ORDER BY v.id")
            .arg(VisitsTable().List(QStringLiteral("v."))),
        {mark});
    std::vector<ServerVisit> wanted;
    const RowReader reader(VisitsTable(), changed);
    const QSqlRecord names = changed.record();
    const int id = names.indexOf(QStringLiteral("visit"));
    const int printer = names.indexOf(QStringLiteral("printer"));
    const int serverMark = names.indexOf(QStringLiteral("mark"));
    while (server.Next(changed)) {
        ServerVisit visit{changed.value(id).toLongLong(), normalised(reader.Read(changed), VisitsTable()),
                          changed.value(printer).toString(), changed.value(serverMark).toString()};
        QSqlQuery here = BoundQuery(book.Database(), book.Path(), kDoing,
                                    QStringLiteral("SELECT revision, sent_revision, server_mark "
                                                   "FROM visits WHERE uuid = ?"),
                                    {ValueIn(visit.columns, VisitsTable(), "uuid")}, true);
        if (here.next() && (here.value(1).toLongLong() < here.value(0).toLongLong() ||
                            here.value(2).toString() == visit.serverMark))
            continue;
        wanted.push_back(std::move(visit));
    }
    return wanted;
}

// A visit's rows of one table on the server, by the server's visit id.
std::map<qint64, std::vector<Row>> children(ServerBook& server, const Table& table,
                                            const std::vector<ServerVisit>& visits)
{
    QStringList ids;
    for (const ServerVisit& visit : visits)
        ids << QString::number(visit.serverId);
    QSqlQuery rows = server.Run(
        QStringLiteral("SELECT visit_id, %1 FROM %2 WHERE visit_id = ANY(CAST(? AS bigint[])) "
                       "ORDER BY id")
            .arg(table.List(), QLatin1String(table.name)),
        {QLatin1Char('{') + ids.join(QLatin1Char(',')) + QLatin1Char('}')});
    std::map<qint64, std::vector<Row>> byVisit;
    const RowReader reader(table, rows);
    while (server.Next(rows))
        byVisit[rows.value(0).toLongLong()].push_back(normalised(reader.Read(rows), table));
    return byVisit;
}

void copyChunk(ServerBook& server, VisitBook& book, const std::vector<ServerVisit>& visits)
{
    const Table* const kinds[] = {&ChecksTable(), &SettingsTable(), &FilesTable()};
    std::map<const Table*, std::map<qint64, std::vector<Row>>> rows;
    for (const Table* table : kinds)
        rows[table] = children(server, *table, visits);
    const Table& visitsTable = VisitsTable();
    const QString visitUpsert =
        QStringLiteral("INSERT INTO visits (printer_id, %1, revision, sent_revision, server_mark) "
                       "VALUES (?, %2, 1, 1, ?) "
                       "ON CONFLICT (uuid) DO UPDATE SET printer_id = excluded.printer_id, %3, "
                       "sent_revision = visits.revision, server_mark = excluded.server_mark")
            .arg(visitsTable.List(), ValueMarks(static_cast<int>(visitsTable.Travelling().size())),
                 [&] {
                     QStringList set;
                     for (const QString& column : visitsTable.Travelling())
                         if (column != QStringLiteral("uuid"))
                             set << QStringLiteral("%1 = excluded.%1").arg(column);
                     return set.join(QStringLiteral(", "));
                 }());
    book.Together(kDoing, [&] {
        for (const ServerVisit& visit : visits) {
            QSqlQuery printer = local(book, QStringLiteral("SELECT id FROM printers "
                                                           "WHERE unique_number = ?"),
                                      {visit.uniqueNumber});
            if (!printer.next())
                continue;
            local(book, visitUpsert, Row{printer.value(0)} + visit.columns + Row{visit.serverMark});
            QSqlQuery id = local(book, QStringLiteral("SELECT id FROM visits WHERE uuid = ?"),
                                 {ValueIn(visit.columns, visitsTable, "uuid")});
            id.next();
            const QVariant visitId = id.value(0);
            for (const Table* table : kinds) {
                local(book, QStringLiteral("DELETE FROM %1 WHERE visit_id = ?").arg(QLatin1String(table->name)),
                      {visitId});
                const auto found = rows[table].find(visit.serverId);
                if (found == rows[table].end())
                    continue;
                const QString insert = QStringLiteral("INSERT INTO %1 (visit_id, %2) VALUES (?, %3)")
                                           .arg(QLatin1String(table->name), table->List(),
                                                ValueMarks(static_cast<int>(table->Travelling().size())));
                for (const Row& row : found->second)
                    local(book, insert, Row{visitId} + row);
            }
        }
    });
}

}  // namespace

CopyResult CopyFromServer(ServerBook& server, VisitBook& book, const std::atomic<bool>* stop)
{
    CopyResult result;
    server.Begin();
    try {
        // One view of the server for the whole copy; the oldest transaction
        // still running then is where the next copy starts, so a visit that
        // a colleague's slow send commits later is not passed over.
        server.Run(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
        // The rows come as this book takes them, so a big first copy keeps
        // its statements open longer than the session's 20 s allow; it only
        // reads, holds nobody's lock, and a silent server is still cut off.
        server.Run(QStringLiteral("SET LOCAL statement_timeout = '10min'"));
        QSqlQuery snapshot =
            server.Run(QStringLiteral("SELECT CAST(pg_snapshot_xmin(pg_current_snapshot()) AS text)"));
        const QString next = server.Next(snapshot) ? snapshot.value(0).toString() : QString();
        snapshot.finish();
        QString mark = ServerState(book, kMarkName);
        if (mark.isEmpty())
            mark = QStringLiteral("0");
        result.printers = copyPrinters(server, book, mark);
        const std::vector<ServerVisit> wanted = visitsToCopy(server, book, mark);
        bool whole = true;
        for (std::size_t at = 0; at < wanted.size(); at += kRowsATransaction) {
            if (stop && stop->load()) {
                whole = false;
                break;
            }
            const std::size_t end = std::min(at + kRowsATransaction, wanted.size());
            copyChunk(server, book,
                      std::vector<ServerVisit>(wanted.begin() + static_cast<std::ptrdiff_t>(at),
                                               wanted.begin() + static_cast<std::ptrdiff_t>(end)));
            result.visits += static_cast<int>(end - at);
        }
        server.Commit();
        if (!next.isEmpty() && whole)
            SetServerState(book, kMarkName, next);
        SetServerState(book, QStringLiteral("last_contact"), BookTime(QDateTime::currentDateTime()));
    } catch (...) {
        server.Rollback();
        throw;
    }
    return result;
}

}  // namespace varmo::book
