#pragma once
// The whole book written out for a company's spreadsheet or its programs:
// CSV, a row a visit with its printer's number, NIP, header and next
// inspection (UTF-8 with a byte-order mark, ';' between cells, CR LF, as a
// spreadsheet in Polish opens it; every cell through CsvCell, its control
// bytes escaped as the terminal output escapes them), or JSON, the printers
// with their visits (every text escaped alike: EscapedJson). All or nothing:
// the file takes the old one's place only when it was written whole.
#include <QString>

namespace varmo::book {

class VisitBook;

enum class ExportFormat { Csv, Json };

// How many visits went out. Exception with a Polish message ("Nie można
// zapisać pliku PATH: brak miejsca na dysku") when the file cannot be
// written, and so when PATH is a folder, a FIFO or a device: nothing is
// written into one, nor does a file take its place.
int ExportBook(VisitBook& book, ExportFormat format, const QString& path);

}  // namespace varmo::book
