#include "book/ServerCopy.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QSqlRecord>
#include <map>

#include "book/BookTrouble.h"
#include "book/LocalOutbox.h"
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

Row rowFrom(const QSqlQuery& query, int from, int count)
{
    Row row;
    for (int i = from; i < from + count; ++i)
        row << query.value(i);
    return row;
}

// Columns after uuid and unique_number, as the local printers table names them.
const QString kPrinterFields = QStringLiteral(
    "nip, fiscal, header, header_first, header_loose, rates, first_seen, last_seen, "
    "next_inspection, inspection_message");

// A few hundred rows a transaction: the window's writes wait at most that.
constexpr int kRowsATransaction = 100;

void copyPrinter(VisitBook& book, const Row& row, int& copied)
{
    QSqlQuery here = local(book,
                           QStringLiteral("SELECT id, revision, sent_revision FROM printers "
                                          "WHERE unique_number = ?"),
                           {row[1]});
    if (!here.next()) {
        local(book,
              QStringLiteral("INSERT INTO printers (uuid, unique_number, %1, revision, "
                             "sent_revision) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 1)")
                  .arg(kPrinterFields),
              row);
        ++copied;
        return;
    }
    // This book's own change waits to go up; the server merges it then.
    if (here.value(2).toLongLong() < here.value(1).toLongLong())
        return;
    Row values = row.mid(2);
    values << here.value(0);
    local(book,
          QStringLiteral("UPDATE printers SET nip = ?, fiscal = ?, header = ?, header_first = ?, "
                         "header_loose = ?, rates = ?, first_seen = ?, last_seen = ?, "
                         "next_inspection = ?, inspection_message = ? WHERE id = ?"),
          values);
    ++copied;
}

int copyPrinters(ServerBook& server, VisitBook& book, const QString& mark)
{
    QSqlQuery changed = server.Run(
        QStringLiteral("SELECT uuid, unique_number, %1 FROM printers "
                       "WHERE changed_by >= CAST(? AS xid8) ORDER BY unique_number")
            .arg(kPrinterFields),
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
    while (server.Next(changed)) {
        rows.push_back(rowFrom(changed, 0, 12));
        if (rows.size() == kRowsATransaction)
            flush();
    }
    flush();
    return copied;
}

struct ServerVisit {
    qint64 serverId = 0;
    Row columns;  // uuid, started, last_contact, ended, technician, port, program, notes
    QString uniqueNumber;
    QString serverMark;
};

// The visits this book lacks or has in an older state, waiting ones left out.
std::vector<ServerVisit> visitsToCopy(ServerBook& server, VisitBook& book, const QString& mark)
{
    QSqlQuery changed = server.Run(
        QStringLiteral("SELECT v.id, v.uuid, v.started, v.last_contact, v.ended, v.technician, "
                       "v.port, v.program, v.notes, p.unique_number, CAST(v.changed_by AS text) "
                       "FROM visits v JOIN printers p ON p.id = v.printer_id "
                       "WHERE v.changed_by >= CAST(? AS xid8) ORDER BY v.id"),
        {mark});
    std::vector<ServerVisit> wanted;
    while (server.Next(changed)) {
        ServerVisit visit{changed.value(0).toLongLong(), rowFrom(changed, 1, 8),
                          changed.value(9).toString(), changed.value(10).toString()};
        QSqlQuery here = BoundQuery(book.Database(), book.Path(), kDoing,
                                    QStringLiteral("SELECT revision, sent_revision, server_mark "
                                                   "FROM visits WHERE uuid = ?"),
                                    {visit.columns[0]}, true);
        if (here.next() && (here.value(1).toLongLong() < here.value(0).toLongLong() ||
                            here.value(2).toString() == visit.serverMark))
            continue;
        wanted.push_back(std::move(visit));
    }
    return wanted;
}

// A visit's rows of one table on the server, by the server's visit id.
std::map<qint64, std::vector<Row>> children(ServerBook& server, const char* table,
                                            const char* columns, int count,
                                            const std::vector<ServerVisit>& visits)
{
    QStringList ids;
    for (const ServerVisit& visit : visits)
        ids << QString::number(visit.serverId);
    QSqlQuery rows = server.Run(
        QStringLiteral("SELECT visit_id, %1 FROM %2 WHERE visit_id = ANY(CAST(? AS bigint[])) "
                       "ORDER BY id")
            .arg(QLatin1String(columns), QLatin1String(table)),
        {QLatin1Char('{') + ids.join(QLatin1Char(',')) + QLatin1Char('}')});
    std::map<qint64, std::vector<Row>> byVisit;
    while (server.Next(rows))
        byVisit[rows.value(0).toLongLong()].push_back(rowFrom(rows, 1, count));
    return byVisit;
}

void copyChunk(ServerBook& server, VisitBook& book, const std::vector<ServerVisit>& visits)
{
    const auto checks = children(server, "checks", kCheckColumns, 11, visits);
    const auto settings = children(server, "settings_taken", kSettingColumns, 5, visits);
    const auto files = children(server, "files", kFileColumns, 2, visits);
    book.Together(kDoing, [&] {
        for (const ServerVisit& visit : visits) {
            QSqlQuery printer = local(book, QStringLiteral("SELECT id FROM printers "
                                                           "WHERE unique_number = ?"),
                                      {visit.uniqueNumber});
            if (!printer.next())
                continue;
            const Row& c = visit.columns;
            local(book,
                  QStringLiteral("INSERT INTO visits (uuid, printer_id, started, last_contact, "
                                 "ended, technician, port, program, notes, revision, "
                                 "sent_revision, server_mark) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 1, ?) "
                                 "ON CONFLICT (uuid) DO UPDATE SET printer_id = excluded.printer_id, "
                                 "started = excluded.started, last_contact = excluded.last_contact, "
                                 "ended = excluded.ended, technician = excluded.technician, "
                                 "port = excluded.port, program = excluded.program, "
                                 "notes = excluded.notes, sent_revision = visits.revision, "
                                 "server_mark = excluded.server_mark"),
                  {c[0], printer.value(0), c[1], c[2], c[3], c[4], c[5], c[6], c[7],
                   visit.serverMark});
            QSqlQuery id = local(book, QStringLiteral("SELECT id FROM visits WHERE uuid = ?"), {c[0]});
            id.next();
            const QVariant visitId = id.value(0);
            const auto copy = [&](const char* table, const char* columns, int count,
                                  const std::map<qint64, std::vector<Row>>& rows) {
                local(book, QStringLiteral("DELETE FROM %1 WHERE visit_id = ?").arg(QLatin1String(table)),
                      {visitId});
                const auto found = rows.find(visit.serverId);
                if (found == rows.end())
                    return;
                QStringList marks(count + 1, QStringLiteral("?"));
                for (const Row& row : found->second)
                    local(book,
                          QStringLiteral("INSERT INTO %1 (visit_id, %2) VALUES (%3)")
                              .arg(QLatin1String(table), QLatin1String(columns),
                                   marks.join(QLatin1Char(','))),
                          Row{visitId} + row);
            };
            copy("checks", kCheckColumns, 11, checks);
            copy("settings_taken", kSettingColumns, 5, settings);
            copy("files", kFileColumns, 2, files);
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
