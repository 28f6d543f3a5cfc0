#include "book/RecordTables.h"

#include <QSqlRecord>
#include <algorithm>

namespace varmo::book {

namespace {

// Keys, links to the parent and each book's own marks stay where they are.
constexpr bool kTravels = true;
constexpr bool kStays = false;

const char* const kText = "TEXT";
const char* const kNeededText = "TEXT NOT NULL";
const char* const kEmptyText = "TEXT NOT NULL DEFAULT ''";

Column key() { return {"id", "INTEGER PRIMARY KEY", "BIGSERIAL PRIMARY KEY", 1, 1, kStays}; }
Column both(const char* name, const char* sqlite, const char* postgres)
{
    return {name, sqlite, postgres, 1, 1, kTravels};
}
Column same(const char* name, const char* type) { return both(name, type, type); }
Column ofVisit()
{
    return {"visit_id", "INTEGER NOT NULL REFERENCES visits(id)",
            "BIGINT NOT NULL REFERENCES visits(id) ON DELETE CASCADE", 1, 1, kStays};
}
// The server's mark of the transaction that last changed a row: what the
// laptops copy down from.
Column changedBy()
{
    return {"changed_by", nullptr, "xid8 NOT NULL DEFAULT pg_current_xact_id()", 0, 1, kStays};
}
// What a laptop counts of its own changes, and the count the server took.
Column here(const char* name, const char* type, int since) { return {name, type, nullptr, since, 0, kStays}; }
Column there(const char* name, const char* type, int since) { return {name, nullptr, type, 0, since, kStays}; }

}  // namespace

const Table& PrintersTable()
{
    static const Table table{
        "printers",
        {key(), both("uuid", "TEXT NOT NULL UNIQUE", kNeededText),
         same("unique_number", "TEXT NOT NULL UNIQUE"), same("nip", kText),
         same("fiscal", "INTEGER NOT NULL DEFAULT 0"), same("header", kText),
         same("header_first", kText), same("header_loose", kText), same("rates", kText),
         same("first_seen", kNeededText), same("last_seen", kNeededText),
         same("next_inspection", kText), same("inspection_message", kText), changedBy(),
         here("revision", "INTEGER NOT NULL DEFAULT 1", 2),
         here("sent_revision", "INTEGER NOT NULL DEFAULT 0", 2),
         // The server's own time of the last contact: see ServerSend.
         there("last_seen_at", "TIMESTAMPTZ", 2)}};
    return table;
}

const Table& VisitsTable()
{
    static const Table table{
        "visits",
        {key(), same("uuid", "TEXT NOT NULL UNIQUE"),
         {"printer_id", "INTEGER NOT NULL REFERENCES printers(id)",
          "BIGINT NOT NULL REFERENCES printers(id)", 1, 1, kStays},
         same("started", kNeededText), same("last_contact", kNeededText), same("ended", kText),
         same("technician", kEmptyText), same("port", kEmptyText), same("program", kEmptyText),
         same("notes", kEmptyText), changedBy(),
         here("revision", "INTEGER NOT NULL DEFAULT 1", 2),
         here("sent_revision", "INTEGER NOT NULL DEFAULT 0", 2), here("server_mark", kText, 2),
         // The console that holds the visit open while it runs.
         here("holder", kText, 3), there("last_contact_at", "TIMESTAMPTZ", 2)}};
    return table;
}

const Table& ChecksTable()
{
    static const Table table{
        "checks",
        {key(), ofVisit(), same("made", kNeededText), both("clock_offset", "INTEGER", "BIGINT"),
         same("error_number", "INTEGER"), same("zeroings", "INTEGER"),
         same("last_receipt", "INTEGER"), same("totals", kText), same("header", kText),
         same("rates", kText), same("fiscal", "INTEGER"), same("attention", kEmptyText),
         same("steps", "TEXT NOT NULL DEFAULT '[]'"),
         // The check's own name here, under which saving it again replaces it.
         here("uuid", kText, 3)}};
    return table;
}

const Table& SettingsTable()
{
    static const Table table{
        "settings_taken",
        {key(), ofVisit(), same("made", kNeededText), same("what", kNeededText),
         same("detail", kEmptyText), both("offset_before", "INTEGER", "BIGINT"),
         both("offset_after", "INTEGER", "BIGINT")}};
    return table;
}

const Table& FilesTable()
{
    static const Table table{"files",
                             {key(), ofVisit(), same("made", kNeededText), same("path", kNeededText)}};
    return table;
}

const std::vector<const Table*>& BookTables()
{
    static const std::vector<const Table*> tables = {&PrintersTable(), &VisitsTable(), &ChecksTable(),
                                                     &SettingsTable(), &FilesTable()};
    return tables;
}

Table::Table(const char* tableName, std::vector<Column> tableColumns)
    : name(tableName), columns(std::move(tableColumns))
{
    for (const Column& column : columns)
        if (column.travels)
            travelling_ << QString::fromLatin1(column.name);
}

QString Table::List(const QString& prefix) const
{
    QStringList names;
    for (const QString& name : Travelling())
        names << prefix + name;
    return names.join(QStringLiteral(", "));
}

int Table::IndexOf(const char* column) const
{
    return static_cast<int>(Travelling().indexOf(QLatin1String(column)));
}

std::vector<QString> ColumnsAt(Dialect dialect, int version)
{
    const bool sqlite = dialect == Dialect::Sqlite;
    std::vector<QString> statements;
    for (const Table* table : BookTables()) {
        QStringList made;
        for (const Column& column : table->columns) {
            const char* type = sqlite ? column.sqlite : column.postgres;
            const int since = sqlite ? column.sqliteSince : column.postgresSince;
            if (!type || since != version)
                continue;
            const QString definition = QStringLiteral("%1 %2").arg(QLatin1String(column.name), QLatin1String(type));
            if (version == 1)
                made << definition;
            else
                statements.push_back(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                                         .arg(QLatin1String(table->name), definition));
        }
        if (!made.isEmpty())
            statements.push_back(QStringLiteral("CREATE TABLE %1 (%2)")
                                     .arg(QLatin1String(table->name), made.join(QStringLiteral(", "))));
    }
    return statements;
}

int LastColumnsVersion(Dialect dialect)
{
    int last = 0;
    for (const Table* table : BookTables())
        for (const Column& column : table->columns)
            last = std::max(last, dialect == Dialect::Sqlite ? column.sqliteSince : column.postgresSince);
    return last;
}

RowReader::RowReader(const Table& table, const QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    for (const QString& name : table.Travelling())
        at_.push_back(record.indexOf(name));
}

Row RowReader::Read(const QSqlQuery& query) const
{
    Row row;
    row.reserve(static_cast<qsizetype>(at_.size()));
    for (const int at : at_)
        row << query.value(at);
    return row;
}

QString ValueMarks(int count)
{
    return QStringList(count, QStringLiteral("?")).join(QStringLiteral(", "));
}

QVariant ValueIn(const Row& row, const Table& table, const char* column)
{
    return row.value(table.IndexOf(column));
}

}  // namespace varmo::book
