#include "simulator/Printouts.h"

#include "protocol/Cp1250.h"

namespace varmo {

std::string PaperText(const std::string& cp1250) { return Cp1250ToUtf8(cp1250); }

void PrintHeading(PrinterContext& context)
{
    const PrinterState& state = context.state;
    std::size_t start = 0;
    while (start < state.header.size()) {
        std::size_t end = state.header.find('\r', start);
        if (end == std::string::npos)
            end = state.header.size();
        context.paper.Line(PaperText(state.header.substr(start, end - start)));
        start = end + 1;
    }
    if (state.fiscal)
        context.paper.Centre("NIP " + PaperText(state.nip));
    const CivilTime now = context.clock.NowCivil();
    context.paper.Line(DateTimeText(now));
    if (state.hasInspection && !(now.date < state.inspectionDate))
        context.paper.Centre(PaperText(state.inspectionMessage));
}

void PrintFooter(PrinterContext& context)
{
    if (context.state.fiscal)
        context.paper.Centre("(PL) " + PaperText(context.state.uniqueNumber));
    else
        context.paper.Centre("NIEFISKALNY");
    context.paper.Feed();
}

Amount TaxOf(Amount gross, std::int32_t rateCode)
{
    if (rateCode <= 0 || rateCode >= 100)
        return 0;
    // gross * r / (100 + r), to the grosz, half up.
    const Amount cents = (gross + 50) / 100;
    const Amount taxCents = (cents * rateCode * 2 + (100 + rateCode)) / (2 * (100 + rateCode));
    return taxCents * 100;
}

Amount PrintRateTable(Paper& paper, const RateTable& rates, const RateTotals& totals)
{
    Amount grand = 0;
    Amount taxTotal = 0;
    for (std::size_t i = 0; i < kRateCount; ++i) {
        if (totals[i] == 0)
            continue;
        const std::string letter(1, static_cast<char>('A' + i));
        const Amount tax = TaxOf(totals[i], rates[i]);
        paper.LeftRight("SPRZEDAŻ OPODATK. " + letter, PaperMoney(totals[i]));
        paper.LeftRight("PTU " + letter + " " + PaperRate(rates[i]), PaperMoney(tax));
        grand += totals[i];
        taxTotal += tax;
    }
    paper.LeftRight("SUMA PTU", PaperMoney(taxTotal));
    paper.LeftRight("SUMA PLN", PaperMoney(grand));
    return grand;
}

}  // namespace varmo
