#pragma once
// The book's records as JSON, for varmo-cli's --json and the export; and the
// whole book written out as CSV (a row a visit) or JSON (printers with their
// visits), all or nothing.
#include <QJsonObject>
#include <QString>

#include "book/BookRecords.h"

namespace varmo::book {

class VisitBook;

QJsonObject PrinterJson(const PrinterRow& row);
QJsonObject VisitJson(const VisitRow& row);
QJsonObject VisitDetailJson(const VisitDetail& detail);

enum class ExportFormat { Csv, Json };

// How many visits went out; Exception with a Polish message when the file
// cannot be written.
int ExportBook(VisitBook& book, ExportFormat format, const QString& path);

}  // namespace varmo::book
