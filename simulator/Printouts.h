#pragma once
// Pieces that every printout shares: the heading with the shop's header, the
// fiscal or non-fiscal footer, and the table of sales per rate with its tax.
#include <string>

#include "simulator/Execution.h"

namespace varmo {

// The printer's Windows-1250 text as it appears on paper.
std::string PaperText(const std::string& cp1250);

// Header lines, the NIP of a fiscal printer, then date and time.
void PrintHeading(PrinterContext& context);

// "(PL)" and the unique number on a fiscal printer; "NIEFISKALNY" otherwise.
void PrintFooter(PrinterContext& context);

// Tax inside a gross amount at a rate code, rounded to the grosz.
Amount TaxOf(Amount gross, std::int32_t rateCode);

// Sales and tax per rate (only rates with sales), then the tax total and the
// grand total. Returns the grand total.
Amount PrintRateTable(Paper& paper, const RateTable& rates, const RateTotals& totals);

}  // namespace varmo
