#pragma once
// Small tools of the server's statements: one statement prepared once and
// run for many rows (a round trip a row, not three), an insert into a
// visit's table, and a list bound as one PostgreSQL array.
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

namespace varmo::book {

class ServerBook;

class Prepared {
public:
    Prepared(ServerBook& server, const QString& statement);
    // Runs with these values; ServerError when the server refuses.
    QSqlQuery& Exec(const QVariantList& values);

private:
    QSqlQuery query_;
};

// INSERT INTO table (visit_id, columns) VALUES (?, ...): count columns.
QString ChildInsert(const char* table, const char* columns, int count);

// {"a","b\"c"}: an array literal, each text quoted, for CAST(? AS text[]).
QString TextArray(const QStringList& texts);

}  // namespace varmo::book
