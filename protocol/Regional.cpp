#include "protocol/Regional.h"

#include <cstdlib>

namespace varmo {

namespace {

RegionalFormat& regional()
{
    static RegionalFormat format;
    return format;
}

// Polish money: grouping by non-breaking blanks, comma, two decimals, " zł".
std::string polishMoney(Amount amount)
{
    const bool negative = amount < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(amount)
                                            : static_cast<unsigned long long>(amount);
    // Round ten-thousandths to hundredths, half away from zero.
    const unsigned long long cents = (magnitude + 50) / 100;
    std::string whole = std::to_string(cents / 100);
    std::string grouped;
    const std::string nbsp = "\u00A0";
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += nbsp;
        grouped += whole[i];
    }
    const unsigned long long frac = cents % 100;
    std::string text = negative && cents != 0 ? "-" : "";
    text += grouped + "," + char('0' + frac / 10) + char('0' + frac % 10) + nbsp + "zł";
    return text;
}

}  // namespace

void SetRegionalFormat(RegionalFormat format) { regional() = std::move(format); }
const RegionalFormat& CurrentRegionalFormat() { return regional(); }

std::string PlainAmountText(Amount amount, const std::string& separator)
{
    const bool negative = amount < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(amount)
                                                  : static_cast<unsigned long long>(amount);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 10000);
    unsigned long long frac = magnitude % 10000;
    if (frac != 0) {
        std::string digits = std::to_string(frac);
        digits.insert(0, 4 - digits.size(), '0');
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        text += separator + digits;
    }
    return text;
}

std::string RegionalAmountText(Amount amount)
{
    return PlainAmountText(amount, regional().decimalSeparator);
}

std::string MoneyText(Amount amount)
{
    const auto& format = regional();
    return format.money ? format.money(amount) : polishMoney(amount);
}

}  // namespace varmo
