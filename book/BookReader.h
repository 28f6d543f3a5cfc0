#pragma once
// The book's reads on a connection of either kind: the laptop's SQLite file
// or the company's PostgreSQL. Both hold the same tables, so the printer
// list, a printer's visits and "Do przeglądu" are read the same way from
// both; name is what a trouble calls the book (its file, or the server).
#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <vector>

#include "book/BookRecords.h"

namespace varmo::book {

class BookReader {
public:
    BookReader(QSqlDatabase& db, QString name) : db_(db), path_(std::move(name)) {}

    std::vector<PrinterRow> Printers(const QString& search = {},
                                     std::optional<int> dueWithin = std::nullopt,
                                     const QDate& today = QDate::currentDate());
    std::optional<PrinterRow> Printer(const QString& uniqueNumber,
                                      const QDate& today = QDate::currentDate());
    std::vector<VisitRow> Visits(const QString& uniqueNumber);
    std::optional<VisitDetail> Visit(qint64 visitId);
    std::optional<CheckValues> LastCheckBefore(const QString& uniqueNumber, qint64 visitId);
    std::vector<SettingRecord> ClockSettingsSince(const QString& uniqueNumber,
                                                  const QDateTime& since);

private:
    QSqlDatabase& db_;
    QString path_;
};

}  // namespace varmo::book
