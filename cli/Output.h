#pragma once
// Exchanges on standard output: as text for people (escaped frames, Polish
// descriptions, the time) or as one JSON object per line for programs.
#include <QJsonObject>
#include <ostream>

#include "exchange/ExchangeRecord.h"

namespace varmo::cli {

QJsonObject ExchangeJson(const ExchangeRecord& exchange);

void PrintExchange(std::ostream& out, const ExchangeRecord& exchange, bool json);

}  // namespace varmo::cli
