// The goods-database check report: the console sends its list of goods with
// the rate letters it means to sell them under, and the printer prints how
// each one stands in its own database.
#include "simulator/Execution.h"
#include "simulator/PrinterErrors.h"
#include "simulator/Printouts.h"

namespace varmo {

namespace {

namespace err = printer_error;

Outcome startReport(PrinterContext& context, bool blocked)
{
    PrinterState& state = context.state;
    if (state.transaction.open)
        return Outcome::Failed(err::kInTransaction);
    if (state.baseReport.running)
        return Outcome::Failed(err::kNotNow);
    state.baseReport = BaseReport{true, blocked, 0, 0};
    PrintHeading(context);
    context.paper.Centre("KONTROLA BAZY TOWARÓW");
    context.paper.Centre(blocked ? "towary zablokowane" : "przyporządkowanie do stawek");
    context.paper.Rule();
    return Outcome::Done();
}

Outcome reportLine(PrinterContext& context, const Request& request)
{
    PrinterState& state = context.state;
    if (!state.baseReport.running)
        return Outcome::Failed(err::kNotNow);
    GoodsField field;
    if (const std::int32_t error = ReadGoodsField(request.text, field))
        return Outcome::Failed(error);
    const std::string& name = field.name;
    const char letter = field.letter;

    ++state.baseReport.lines;
    const auto found = state.goods.find(name);
    const std::string shown = PaperText(name);
    if (state.baseReport.blockedGoods) {
        // Only the names that this rate would be refused for.
        if (found != state.goods.end() && found->second.rate != letter) {
            ++state.baseReport.flagged;
            context.paper.LeftRight(shown, std::string("ZABLOKOWANY ") + found->second.rate);
        }
    } else if (found == state.goods.end()) {
        context.paper.LeftRight(shown, std::string(1, letter) + " nowy");
    } else if (found->second.rate == letter) {
        context.paper.LeftRight(shown, std::string(1, letter) + " OK");
    } else {
        ++state.baseReport.flagged;
        context.paper.LeftRight(shown, std::string(1, letter) + " -> " + found->second.rate);
    }
    return Outcome::Done();
}

Outcome endReport(PrinterContext& context)
{
    PrinterState& state = context.state;
    if (!state.baseReport.running)
        return Outcome::Failed(err::kNotNow);
    context.paper.Rule();
    context.paper.LeftRight("Sprawdzone pozycje", std::to_string(state.baseReport.lines));
    context.paper.LeftRight(state.baseReport.blockedGoods ? "Zablokowane" : "Niezgodne",
                            std::to_string(state.baseReport.flagged));
    context.paper.Centre("NIEFISKALNY");
    context.paper.Feed();
    state.baseReport = BaseReport{};
    return Outcome::Done();
}

}  // namespace

Outcome GoodsBaseReport(PrinterContext& context, const Request& request)
{
    if (request.params.size() != 1)
        return Outcome::Failed(err::kParameterCount);
    switch (request.params[0]) {
    case 0:
    case 4:
        if (!request.text.empty())
            return Outcome::Failed(err::kParameterCount);
        return startReport(context, request.params[0] == 4);
    case 1:
        return reportLine(context, request);
    case 2:
        return endReport(context);
    default:
        return Outcome::Failed(err::kParameter);
    }
}

}  // namespace varmo
