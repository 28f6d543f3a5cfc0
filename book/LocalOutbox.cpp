#include "book/LocalOutbox.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include "book/BookTrouble.h"
#include "book/RecordTables.h"
#include "book/VisitBook.h"

namespace varmo::book {

namespace {

const QString kReading = QStringLiteral("nie można odczytać wizyt do wysłania");

QSqlQuery read(VisitBook& book, const QString& statement, const QVariantList& values)
{
    return BoundQuery(book.Database(), book.Path(), kReading, statement, values, true);
}

QString printerSelect()
{
    return QStringLiteral("SELECT id, revision, %1 FROM printers ").arg(PrintersTable().List());
}

std::vector<WaitingPrinter> printersFrom(QSqlQuery& query)
{
    std::vector<WaitingPrinter> printers;
    const RowReader row(PrintersTable(), query);
    const int id = query.record().indexOf(QStringLiteral("id"));
    const int revision = query.record().indexOf(QStringLiteral("revision"));
    while (query.next())
        printers.push_back({query.value(id).toLongLong(), query.value(revision).toLongLong(), row.Read(query)});
    return printers;
}

// The children of the visits read, a table at a time.
void readChildren(VisitBook& book, std::vector<WaitingVisit>& visits, const Table& table,
                  std::vector<Row> WaitingVisit::*into)
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
                 .arg(table.List(), QLatin1String(table.name), marks.join(QLatin1Char(','))),
             ids);
    const RowReader row(table, query);
    while (query.next())
        (byId[query.value(0).toLongLong()]->*into).push_back(row.Read(query));
}

}  // namespace

std::vector<WaitingPrinter> WaitingPrinters(VisitBook& book, const QString& after, int limit)
{
    QSqlQuery query = read(book,
                           printerSelect() + QStringLiteral("WHERE sent_revision < revision AND "
                                                            "unique_number > ? "
                                                            "ORDER BY unique_number LIMIT ?"),
                           {after, limit});
    return printersFrom(query);
}

WaitingPrinter PrinterColumns(VisitBook& book, const QString& uniqueNumber)
{
    QSqlQuery query = read(book, printerSelect() + QStringLiteral("WHERE unique_number = ?"),
                           {uniqueNumber});
    std::vector<WaitingPrinter> found = printersFrom(query);
    if (found.empty())
        throw BookError(Trouble::Other, "Księga wizyt: wizyta bez drukarki");
    return found.front();
}

std::vector<WaitingVisit> WaitingVisits(VisitBook& book, qint64 after, int limit)
{
    std::vector<WaitingVisit> visits;
    {
        QSqlQuery query = read(
            book,
            QStringLiteral("SELECT v.id AS visit, v.revision AS revision, p.unique_number AS printer, %1 "
                           "FROM visits v JOIN printers p ON p.id = v.printer_id "
                           "WHERE v.sent_revision < v.revision AND v.id > ? "
                           "ORDER BY v.id LIMIT ?")
                .arg(VisitsTable().List(QStringLiteral("v."))),
            {after, limit});
        const RowReader row(VisitsTable(), query);
        const QSqlRecord names = query.record();
        const int id = names.indexOf(QStringLiteral("visit"));
        const int revision = names.indexOf(QStringLiteral("revision"));
        const int printer = names.indexOf(QStringLiteral("printer"));
        while (query.next()) {
            WaitingVisit visit;
            visit.id = query.value(id).toLongLong();
            visit.revision = query.value(revision).toLongLong();
            visit.uniqueNumber = query.value(printer).toString();
            visit.columns = row.Read(query);
            visits.push_back(std::move(visit));
        }
    }
    readChildren(book, visits, ChecksTable(), &WaitingVisit::checks);
    readChildren(book, visits, SettingsTable(), &WaitingVisit::settings);
    readChildren(book, visits, FilesTable(), &WaitingVisit::files);
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
