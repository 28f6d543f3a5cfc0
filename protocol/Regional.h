#pragma once
// The operator's regional formats, as the core needs them: the decimal
// separator shown in plain amounts and the money format (two decimals, with
// the currency symbol and grouping). The console fills this from the system
// locale at start; tests set it explicitly. The printer itself always gets '.'.
#include <functional>
#include <string>

#include "protocol/Types.h"

namespace varmo {

struct RegionalFormat {
    std::string decimalSeparator = ",";
    // UTF-8 money text of an amount with two decimals; empty means the Polish
    // default ("1 234,56 zł" with non-breaking blanks).
    std::function<std::string(Amount)> money;
};

void SetRegionalFormat(RegionalFormat format);
const RegionalFormat& CurrentRegionalFormat();

// Shortest plain decimal form (no grouping, no trailing zeros, at most four
// fraction digits) with the given separator.
std::string PlainAmountText(Amount amount, const std::string& separator);

// Plain form with the regional separator: what descriptions show.
std::string RegionalAmountText(Amount amount);

// Money in the regional format with two decimals.
std::string MoneyText(Amount amount);

}  // namespace varmo
