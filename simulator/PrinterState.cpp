#include "simulator/PrinterState.h"

namespace varmo {

std::optional<CivilDate> LastFiscalDate(const PrinterState& state)
{
    if (!state.fiscalMemory.empty())
        return state.fiscalMemory.back().date;
    if (state.fiscal)
        return state.fiscalisedOn;
    return std::nullopt;
}

bool DailyCountersZero(const PrinterState& state)
{
    for (Amount total : state.dailyTotals)
        if (total != 0)
            return false;
    return state.receiptsToday == 0;
}

bool IsValidGoodsName(const std::string& name)
{
    if (name.empty() || name.size() > 40)
        return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0xFF)
            return false;
    return true;
}

std::optional<std::size_t> RateIndex(char letter)
{
    if (letter >= 'A' && letter <= 'G')
        return static_cast<std::size_t>(letter - 'A');
    return std::nullopt;
}

}  // namespace varmo
