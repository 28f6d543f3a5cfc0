#pragma once
// One cell of a CSV file that a spreadsheet opens, the same in every file
// the programs write for one (the exchange log, the visit book): quoted when
// it holds the separator, a quote or a line end, its quotes doubled; and a
// cell that a spreadsheet would take for the start of a formula (=, +, -, @,
// a tab, a CR: the line's bytes, a header, a phone number may well begin so)
// quoted with an apostrophe first, so that it shows as the text it is and
// never runs.
#include <string>

namespace varmo {

// text is UTF-8; separator the file's own (',' or ';').
std::string CsvCell(const std::string& text, char separator);

}  // namespace varmo
