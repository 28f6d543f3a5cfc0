#pragma once
// The exchange log written out for people and for spreadsheets: UTF-8, one
// row per line (CR LF), ISO-8601 times to the millisecond. The CSV adds every
// row's raw bytes in hexadecimal, so nothing the line carried is lost.
#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

#include "console/log/ExchangeLogRows.h"

namespace varmo {

// 2026-12-07T10:31:02.123+01:00
QString IsoTime(const QDateTime& when);

// One row as one tab-separated line (no line end): the text export and the
// clipboard.
QString LogRowLine(const LogRow& row);

std::string LogText(const std::vector<const LogRow*>& rows);
std::string LogCsv(const std::vector<const LogRow*>& rows);

// One row as one CSV line (no line end); a cell that a spreadsheet would
// take for a formula keeps its text behind an apostrophe.
QString LogCsvLine(const LogRow& row);

// The same in pieces, for a file written a slice at a time: the CSV's first
// line, and the lines of rows from to to (CR LF after each), in UTF-8.
QString LogCsvHeader();
QByteArray LogLines(const std::vector<const LogRow*>& rows, std::size_t from, std::size_t to,
                    bool csv);

// The name "Eksportuj…" offers: the day and the minute of the export,
// "dziennik-2026-12-07-1412.csv".
QString DefaultLogExportName(const QDateTime& when);

// "1B50" for ESC P: two upper-case digits per byte.
QString HexBytes(const std::string& bytes);

}  // namespace varmo
