#include "book/ServerRows.h"

#include <QSqlError>

#include "book/ServerBook.h"
#include "book/ServerTrouble.h"

namespace varmo::book {

Prepared::Prepared(ServerBook& server, const QString& statement) : query_(server.Database())
{
    query_.setForwardOnly(true);
    if (!query_.prepare(statement))
        throw ServerErrorOf(query_.lastError());
}

QSqlQuery& Prepared::Exec(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        query_.bindValue(i, values[i]);
    if (!query_.exec())
        throw ServerErrorOf(query_.lastError());
    return query_;
}

QString ChildInsert(const char* table, const char* columns, int count)
{
    QStringList marks;
    for (int i = 0; i <= count; ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (visit_id, %2) VALUES (%3)")
        .arg(QLatin1String(table), QLatin1String(columns), marks.join(QStringLiteral(", ")));
}

QString TextArray(const QStringList& texts)
{
    QStringList quoted;
    for (QString text : texts) {
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        text.replace(QLatin1Char('"'), QStringLiteral("\\\""));
        quoted << QLatin1Char('"') + text + QLatin1Char('"');
    }
    return QLatin1Char('{') + quoted.join(QLatin1Char(',')) + QLatin1Char('}');
}

}  // namespace varmo::book
