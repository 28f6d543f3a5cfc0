#pragma once
// Exchanges on standard output: as text for people (escaped frames, Polish
// descriptions, the time) or as one JSON object per line for programs.
#include <QJsonArray>
#include <QJsonObject>
#include <ostream>
#include <string>

#include "exchange/ExchangeRecord.h"

namespace varmo::cli {

QJsonObject ExchangeJson(const ExchangeRecord& exchange);

// Every text in the JSON output is escaped as TerminalText does, frames and
// the printer's words alike.
// Pieces of the JSON output: UTF-8 text lines as an array, and a status byte
// as {"byte": n, "flags": {"FSK": true, ...}} with its byte's own flags.
QJsonArray TextArray(const Lines& lines);
QJsonObject StatusJson(unsigned char status, bool fromEnq);

void PrintExchange(std::ostream& out, const ExchangeRecord& exchange, bool json);

// One JSON object as varmo-cli prints it, compact on one line with no line
// end: every text in it escaped as TerminalText escapes it, at any depth, so
// no control byte (DEL and the C1 controls included) is in any JSON varmo-cli
// prints, once it is read either.
std::string JsonLine(const QJsonObject& object);

// Text fit for a terminal, whether it came from the printer, the line, a
// script or the command line: its control bytes (an ESC that would start a
// terminal sequence, a CR that would overwrite the line) written as escaped
// text, <ESC>, <CR>, <$0A>, and so are DEL and the C1 controls U+0080 to
// U+009F (<$7F>, <$9B>); every other byte, Polish letters in UTF-8 included,
// as it is. keepNewlines: for a text of several lines, LF stays.
std::string TerminalText(const std::string& text, bool keepNewlines = false);

}  // namespace varmo::cli
