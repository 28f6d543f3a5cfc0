#include "book/BookSchema.h"

#include <QDateTime>
#include <algorithm>
#include <QSqlError>
#include <QSqlQuery>
#include <vector>

#include "book/BookTrouble.h"
#include "book/RecordTables.h"

namespace varmo::book {

namespace {

// What each version adds besides its columns (RecordTables), in order; a
// new version is a new entry at the end, never a change to an old one. The
// uuid columns name a record wherever it travels, whatever its row number
// here.
const std::vector<std::vector<const char*>>& migrations()
{
    static const std::vector<std::vector<const char*>> steps = {
        {
            "CREATE INDEX printers_next_inspection ON printers(next_inspection)",
            "CREATE INDEX visits_of_printer ON visits(printer_id, started)",
            "CREATE INDEX checks_of_visit ON checks(visit_id)",
            "CREATE INDEX settings_of_visit ON settings_taken(visit_id)",
            "CREATE INDEX files_of_visit ON files(visit_id)",
        },
        {
            // The company's shared book: each printer and visit counts its
            // changes here and remembers the last count the server took, so
            // what waits is what changed since; server_mark is the server's
            // own mark of the visit as this computer last had it, and
            // server_state how far the copy of the server goes, and when.
            "CREATE INDEX visits_waiting ON visits(id) WHERE sent_revision < revision",
            "CREATE TABLE server_state (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
        },
        {
            // A check keeps the name it got as it was read: saved again, it
            // replaces itself. A visit under way names the console that
            // holds it, so that one left open by a console that died is
            // ended at the next start. Instants go to UTC (below).
            "UPDATE checks SET uuid = lower(hex(randomblob(16))) WHERE uuid IS NULL",
            "CREATE UNIQUE INDEX checks_uuid ON checks(uuid)",
            "CREATE INDEX visits_open ON visits(holder) WHERE ended IS NULL",
        },
    };
    return steps;
}

// Version 3 also moves every instant from this computer's local time to UTC;
// SQLite reads the old text in the same zone the program wrote it in.
std::vector<QString> instantsToUtc()
{
    static const std::pair<const char*, const char*> columns[] = {
        {"printers", "first_seen"}, {"printers", "last_seen"},  {"visits", "started"},
        {"visits", "last_contact"}, {"visits", "ended"},        {"checks", "made"},
        {"settings_taken", "made"}, {"files", "made"},
    };
    std::vector<QString> statements;
    for (const auto& [table, column] : columns)
        statements.push_back(
            QStringLiteral("UPDATE %1 SET %2 = coalesce(strftime('%Y-%m-%dT%H:%M:%SZ', %2, 'utc'), %2) "
                           "WHERE %2 NOT LIKE '%Z'")
                .arg(QLatin1String(table), QLatin1String(column)));
    statements.push_back(QStringLiteral(
        "UPDATE server_state SET value = coalesce(strftime('%Y-%m-%dT%H:%M:%SZ', value, 'utc'), value) "
        "WHERE name = 'last_contact' AND value NOT LIKE '%Z'"));
    return statements;
}

void exec(QSqlQuery& query, const QString& statement, const QString& path)
{
    if (!query.exec(statement))
        throw BookErrorOf(query.lastError(), path, QStringLiteral("nie można uporządkować księgi"));
}

}  // namespace

// A version is a column described with it, or an entry of its own above.
int KnownSchemaVersion()
{
    return std::max(static_cast<int>(migrations().size()), LastColumnsVersion(Dialect::Sqlite));
}

int SchemaVersionOf(QSqlDatabase& db, const QString& path)
{
    QSqlQuery query(db);
    // Reading the list of tables is the first read of the file: a file that
    // is no database fails here.
    exec(query,
         QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'schema_version'"),
         path);
    if (!query.next() || query.value(0).toInt() == 0)
        return 0;
    exec(query, QStringLiteral("SELECT max(version) FROM schema_version"), path);
    return query.next() ? query.value(0).toInt() : 0;
}

void MigrateForward(QSqlDatabase& db, const QString& path)
{
    const auto newer = [&path](int version) {
        return BookError(Trouble::Newer,
                         QStringLiteral("Księga wizyt (%1) pochodzi z nowszej wersji programu "
                                        "(układ %2, ten program zna %3); nie zmieniono jej, "
                                        "praca bez księgi.")
                             .arg(path)
                             .arg(version)
                             .arg(KnownSchemaVersion())
                             .toStdString());
    };
    int version = SchemaVersionOf(db, path);
    if (version > KnownSchemaVersion())
        throw newer(version);
    while (version < KnownSchemaVersion()) {
        // Taken for writing before the version is read again: the console's
        // sync and its window, or varmo-cli beside the console, may open a
        // new book at the same moment, and only one of them brings it forward.
        QSqlQuery query(db);
        exec(query, QStringLiteral("BEGIN IMMEDIATE"), path);
        try {
            version = SchemaVersionOf(db, path);
            if (version > KnownSchemaVersion())
                throw newer(version);
            if (version < KnownSchemaVersion()) {
                if (version == 0)
                    exec(query,
                         QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL, "
                                        "applied TEXT NOT NULL)"),
                         path);
                for (const QString& statement : ColumnsAt(Dialect::Sqlite, version + 1))
                    exec(query, statement, path);
                if (version < static_cast<int>(migrations().size()))
                    for (const char* statement : migrations()[static_cast<std::size_t>(version)])
                        exec(query, QString::fromUtf8(statement), path);
                if (version == 2)
                    for (const QString& statement : instantsToUtc())
                        exec(query, statement, path);
                exec(query, QStringLiteral("PRAGMA application_id = %1").arg(kBookApplicationId), path);
                query.prepare(QStringLiteral("INSERT INTO schema_version VALUES (?, ?)"));
                query.addBindValue(version + 1);
                query.addBindValue(QDateTime::currentDateTime().toString(Qt::ISODate));
                if (!query.exec())
                    throw BookErrorOf(query.lastError(), path,
                                      QStringLiteral("nie można uporządkować księgi"));
                ++version;
            }
            exec(query, QStringLiteral("COMMIT"), path);
        } catch (...) {
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            throw;
        }
    }
}

}  // namespace varmo::book
