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

// Pieces of the JSON output: UTF-8 text lines as an array, and a status byte
// as {"byte": n, "flags": {"FSK": true, ...}} with its byte's own flags.
QJsonArray TextArray(const Lines& lines);
QJsonObject StatusJson(unsigned char status, bool fromEnq);

void PrintExchange(std::ostream& out, const ExchangeRecord& exchange, bool json);

// Text that came from a script or the command line, fit for a terminal: its
// control bytes (an ESC that would start a terminal sequence, a CR that would
// overwrite the line) written as escaped text, <ESC>, <CR>, <$0A>; every
// other byte, Polish letters in UTF-8 included, as it is.
std::string TerminalText(const std::string& text);

}  // namespace varmo::cli
