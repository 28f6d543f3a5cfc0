#include "book/ServerRows.h"

#include <QSqlError>

#include "book/ServerBook.h"

namespace varmo::book {

namespace {

// PostgreSQL's text holds every character but NUL, which a printer's header
// may carry: it goes as the sign for it, "␀", rather than stopping the send.
QVariant serverValue(const QVariant& value)
{
    if (value.typeId() != QMetaType::QString)
        return value;
    QString text = value.toString();
    if (!text.contains(QChar(0)))
        return value;
    text.replace(QChar(0), QChar(0x2400));
    return text;
}

}  // namespace

QVariantList ServerValues(const QVariantList& values)
{
    QVariantList fit;
    fit.reserve(values.size());
    for (const QVariant& value : values)
        fit << serverValue(value);
    return fit;
}

Prepared::Prepared(ServerBook& server, const QString& statement)
    : server_(server), query_(server.Database())
{
    const ServerBook::Call call(server_);
    query_.setForwardOnly(true);
    if (!query_.prepare(statement))
        throw server_.Failure(query_.lastError());
}

QSqlQuery& Prepared::Exec(const QVariantList& values)
{
    const ServerBook::Call call(server_);
    for (int i = 0; i < values.size(); ++i)
        query_.bindValue(i, serverValue(values[i]));
    if (!query_.exec())
        throw server_.Failure(query_.lastError());
    return query_;
}

QString ValueRows(int rows, int width)
{
    QStringList marks(width, QStringLiteral("?"));
    const QString row = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    QStringList all(rows, row);
    return all.join(QStringLiteral(", "));
}

void InsertRows(ServerBook& server, const QString& head, const std::vector<QVariantList>& rows,
                const QString& tail, const std::function<void(const QSqlQuery&)>& took,
                const QString& shape)
{
    constexpr std::size_t kRowsAStatement = 500;
    for (std::size_t at = 0; at < rows.size(); at += kRowsAStatement) {
        const std::size_t count = std::min(kRowsAStatement, rows.size() - at);
        QVariantList values;
        for (std::size_t i = at; i < at + count; ++i)
            values += rows[i];
        values = ServerValues(values);
        const QString marks =
            shape.isEmpty() ? ValueRows(static_cast<int>(count), static_cast<int>(rows[at].size()))
                            : QStringList(static_cast<int>(count), shape).join(QStringLiteral(", "));
        QSqlQuery query = server.Run(head + QLatin1Char(' ') + marks + QLatin1Char(' ') + tail, values);
        while (took && server.Next(query))
            took(query);
    }
}

QString TextArray(const QStringList& texts)
{
    QStringList quoted;
    for (QString text : texts) {
        text.replace(QChar(0), QChar(0x2400));
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        text.replace(QLatin1Char('"'), QStringLiteral("\\\""));
        quoted << QLatin1Char('"') + text + QLatin1Char('"');
    }
    return QLatin1Char('{') + quoted.join(QLatin1Char(',')) + QLatin1Char('}');
}

}  // namespace varmo::book
