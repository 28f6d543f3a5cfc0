#include <array>
#include <utility>

#include "simulator/Execution.h"

namespace varmo {

std::optional<CommandEntry> FindCommand(const std::string& code)
{
    static const std::array<std::pair<const char*, CommandEntry>, 19> table{{
        {"#u", {ReadHeader, false}},
        {"#n", {ReadErrorCode, false}},
        {"#s", {ReadCashInfo, false}},
        {"#c", {ReadClock, false}},
        {"$g", {ReadGoodsStatus, false}},
        {"$c", {SetClock, false}},
        {"$f", {SetHeader, false}},
        {"$p", {SetRates, true}},
        {"#e", {SetErrorMode, false}},
        {"$N", {SetNip, true}},
        {"$o", {SetInspectionDate, false}},
        {"$r", {SetDiscountMethod, false}},
        {"$h", {StartReceipt, true}},
        {"$l", {ReceiptLine, true}},
        {"$e", {EndReceipt, true}},
        {"#r", {DailyReport, true}},
        {"#o", {PeriodicReport, true}},
        {"#j", {ConstantDescriptions, true}},
        {"#b", {GoodsBaseReport, true}},
    }};
    for (const auto& [name, entry] : table)
        if (code == name)
            return entry;
    return std::nullopt;
}

}  // namespace varmo
