#pragma once
// A service check as the book keeps it, and what it tells of the printer.
#include <optional>

#include "book/BookRecords.h"
#include "exchange/ServiceCheck.h"

namespace varmo::book {

CheckRecord CheckRecordOf(const CheckResult& result);

// The printer the check read: known only when its cash information came.
std::optional<PrinterSeen> PrinterSeenIn(const CheckResult& result);

// The printer a cash information names.
PrinterSeen PrinterSeenOf(const CashInfo& cash);

}  // namespace varmo::book
