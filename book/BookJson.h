#pragma once
// The book's records as JSON, for varmo-cli's --json and the export
// (BookExport), as the book keeps them: whoever prints them escapes their
// texts (EscapedJson).
#include <QJsonObject>
#include <QString>

#include "book/BookRecords.h"

namespace varmo::book {

QJsonObject PrinterJson(const PrinterRow& row);
QJsonObject VisitJson(const VisitRow& row);
QJsonObject VisitDetailJson(const VisitDetail& detail);

}  // namespace varmo::book
