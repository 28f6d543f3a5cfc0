#include "book/BookSchema.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <vector>

#include "book/BookTrouble.h"

namespace varmo::book {

namespace {

// Each version's statements, in order; a new version is a new entry at the
// end, never a change to an old one. The uuid columns name a record
// wherever it travels, whatever its row number here.
const std::vector<std::vector<const char*>>& migrations()
{
    static const std::vector<std::vector<const char*>> steps = {
        {
            "CREATE TABLE printers ("
            " id INTEGER PRIMARY KEY,"
            " uuid TEXT NOT NULL UNIQUE,"
            " unique_number TEXT NOT NULL UNIQUE,"
            " nip TEXT,"
            " fiscal INTEGER NOT NULL DEFAULT 0,"
            " header TEXT,"
            " header_first TEXT,"
            " header_loose TEXT,"
            " rates TEXT,"
            " first_seen TEXT NOT NULL,"
            " last_seen TEXT NOT NULL,"
            " next_inspection TEXT,"
            " inspection_message TEXT)",
            "CREATE INDEX printers_next_inspection ON printers(next_inspection)",
            "CREATE TABLE visits ("
            " id INTEGER PRIMARY KEY,"
            " uuid TEXT NOT NULL UNIQUE,"
            " printer_id INTEGER NOT NULL REFERENCES printers(id),"
            " started TEXT NOT NULL,"
            " last_contact TEXT NOT NULL,"
            " ended TEXT,"
            " technician TEXT NOT NULL DEFAULT '',"
            " port TEXT NOT NULL DEFAULT '',"
            " program TEXT NOT NULL DEFAULT '',"
            " notes TEXT NOT NULL DEFAULT '')",
            "CREATE INDEX visits_of_printer ON visits(printer_id, started)",
            "CREATE TABLE checks ("
            " id INTEGER PRIMARY KEY,"
            " visit_id INTEGER NOT NULL REFERENCES visits(id),"
            " made TEXT NOT NULL,"
            " clock_offset INTEGER,"
            " error_number INTEGER,"
            " zeroings INTEGER,"
            " last_receipt INTEGER,"
            " totals TEXT,"
            " header TEXT,"
            " rates TEXT,"
            " fiscal INTEGER,"
            " attention TEXT NOT NULL DEFAULT '',"
            " steps TEXT NOT NULL DEFAULT '[]')",
            "CREATE INDEX checks_of_visit ON checks(visit_id)",
            "CREATE TABLE settings_taken ("
            " id INTEGER PRIMARY KEY,"
            " visit_id INTEGER NOT NULL REFERENCES visits(id),"
            " made TEXT NOT NULL,"
            " what TEXT NOT NULL,"
            " detail TEXT NOT NULL DEFAULT '',"
            " offset_before INTEGER,"
            " offset_after INTEGER)",
            "CREATE INDEX settings_of_visit ON settings_taken(visit_id)",
            "CREATE TABLE files ("
            " id INTEGER PRIMARY KEY,"
            " visit_id INTEGER NOT NULL REFERENCES visits(id),"
            " made TEXT NOT NULL,"
            " path TEXT NOT NULL)",
            "CREATE INDEX files_of_visit ON files(visit_id)",
        },
        {
            // The company's shared book: each printer and visit counts its
            // changes here and remembers the last count the server took, so
            // what waits is what changed since; server_mark is the server's
            // own mark of the visit as this computer last had it, and
            // server_state how far the copy of the server goes, and when.
            "ALTER TABLE printers ADD COLUMN revision INTEGER NOT NULL DEFAULT 1",
            "ALTER TABLE printers ADD COLUMN sent_revision INTEGER NOT NULL DEFAULT 0",
            "ALTER TABLE visits ADD COLUMN revision INTEGER NOT NULL DEFAULT 1",
            "ALTER TABLE visits ADD COLUMN sent_revision INTEGER NOT NULL DEFAULT 0",
            "ALTER TABLE visits ADD COLUMN server_mark TEXT",
            "CREATE INDEX visits_waiting ON visits(id) WHERE sent_revision < revision",
            "CREATE TABLE server_state (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
        },
    };
    return steps;
}

void exec(QSqlQuery& query, const QString& statement, const QString& path)
{
    if (!query.exec(statement))
        throw BookErrorOf(query.lastError(), path, QStringLiteral("nie można uporządkować księgi"));
}

}  // namespace

int KnownSchemaVersion()
{
    return static_cast<int>(migrations().size());
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
                for (const char* statement : migrations()[static_cast<std::size_t>(version)])
                    exec(query, QString::fromUtf8(statement), path);
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
