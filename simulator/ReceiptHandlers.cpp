// An off-line receipt: start, one line per item, then the total or the
// cancellation. Lines are checked as the printer checks them and printed at
// once; the day's totals take the receipt only when it is completed.
#include "simulator/Execution.h"
#include "simulator/PrinterErrors.h"
#include "simulator/Printouts.h"

namespace varmo {

namespace {

namespace err = printer_error;

constexpr Amount kLargestQuantity = 99'999 * kAmountOne + 9'999;
constexpr Amount kLargestSale = 9'999'999 * kAmountOne + 9'900;  // 9999999.99

Amount receiptTotal(const Transaction& transaction)
{
    Amount total = 0;
    for (const SaleLine& line : transaction.lines)
        total += line.gross;
    return total;
}

// Quantity times a price in whole grosze, rounded half up to the grosz.
Amount lineValue(Amount quantity, Amount price)
{
    const Amount priceCents = price / 100;
    const Amount cents = (quantity * priceCents + kAmountOne / 2) / kAmountOne;
    return cents * 100;
}

// The name may not go under another rate than the one it is locked to, nor
// under two rates within one receipt.
bool nameLockedElsewhere(const PrinterState& state, const std::string& name, char rate)
{
    if (const auto found = state.goods.find(name); found != state.goods.end())
        if (found->second.rate != rate)
            return true;
    for (const SaleLine& line : state.transaction.lines)
        if (line.name == name && line.rate != rate)
            return true;
    return false;
}

Outcome cancelReceipt(PrinterContext& context)
{
    PrinterState& state = context.state;
    if (!state.transaction.open)
        return Outcome::Failed(err::kNotInTransaction);
    context.paper.Rule();
    context.paper.Centre("PARAGON ANULOWANY");
    PrintFooter(context);
    state.transaction = Transaction{};
    ++state.cancelledToday;
    state.lastTransactionCorrect = false;
    return Outcome::Done();
}

Outcome confirmReceipt(PrinterContext& context, const Request& request)
{
    PrinterState& state = context.state;
    if (!state.transaction.open)
        return Outcome::Failed(err::kNotInTransaction);
    if (state.transaction.lines.empty())
        return Outcome::Failed(err::kNoSale);

    FieldCursor fields(request.text);
    std::string registerAndCashier, paymentText, totalText;
    if (!fields.TakeUntil('\r', registerAndCashier) || !fields.TakeUntil('/', paymentText)
        || !fields.TakeUntil('/', totalText) || !fields.AtEnd())
        return Outcome::Failed(err::kParameterCount);
    // The register number takes two characters, the cashier the rest.
    const std::string cashRegister = registerAndCashier.substr(0, 2);
    const std::string cashier = registerAndCashier.size() > 2 ? registerAndCashier.substr(2) : "";
    for (unsigned char c : cashRegister)
        if (c < 0x20 || c == 0xFF)
            return Outcome::Failed(err::kRegisterText);
    for (unsigned char c : cashier)
        if (c < 0x20 || c == 0xFF)
            return Outcome::Failed(err::kCashierText);
    if (cashier.size() > 32)
        return Outcome::Failed(err::kCashierText);

    const auto payment = ParseDecimal(paymentText, 2);
    if (!payment)
        return Outcome::Failed(err::kPayment);
    const auto total = ParseDecimal(totalText, 2);
    const Amount expected = receiptTotal(state.transaction);
    if (!total || *total != expected)
        return Outcome::Failed(err::kTotal);
    if (*payment != 0 && *payment < *total)
        return Outcome::Failed(err::kPayment);

    RateTotals perRate{};
    for (const SaleLine& line : state.transaction.lines)
        perRate[*RateIndex(line.rate)] += line.gross;
    if (state.fiscal) {
        for (std::size_t i = 0; i < kRateCount; ++i)
            if (state.dailyTotals[i] + perRate[i] > kLargestSale)
                return Outcome::Failed(err::kDailyCounterFull);
        // Only a fiscal printer keeps what it sold.
        for (std::size_t i = 0; i < kRateCount; ++i)
            state.dailyTotals[i] += perRate[i];
        state.cash += *total;
        for (const SaleLine& line : state.transaction.lines)
            state.goods.emplace(line.name, GoodsEntry{line.rate});
    }
    ++state.lastReceipt;
    ++state.receiptsToday;

    context.paper.Rule();
    PrintRateTable(context.paper, state.rates, perRate);
    if (*payment != 0) {
        context.paper.LeftRight("GOTÓWKA", PaperMoney(*payment));
        context.paper.LeftRight("RESZTA", PaperMoney(*payment - *total));
    }
    context.paper.Rule();
    context.paper.LeftRight("Nr " + std::to_string(state.lastReceipt),
                            "Kasa " + PaperText(cashRegister) + " Kasjer " + PaperText(cashier));
    PrintFooter(context);

    state.transaction = Transaction{};
    state.lastTransactionCorrect = true;
    return Outcome::Done();
}

}  // namespace

Outcome StartReceipt(PrinterContext& context, const Request& request)
{
    if (request.params.size() != 1 || !request.text.empty())
        return Outcome::Failed(err::kParameterCount);
    PrinterState& state = context.state;
    if (state.transaction.open)
        return Outcome::Failed(err::kInTransaction);
    if (state.baseReport.running)
        return Outcome::Failed(err::kNotNow);
    state.transaction = Transaction{};
    state.transaction.open = true;
    state.transaction.announcedLines = static_cast<std::int32_t>(request.params[0]);
    PrintHeading(context);
    context.paper.Centre(state.fiscal ? "PARAGON FISKALNY" : "NIEFISKALNY");
    context.paper.Rule();
    return Outcome::Done();
}

Outcome ReceiptLine(PrinterContext& context, const Request& request)
{
    if (request.params.size() != 1)
        return Outcome::Failed(err::kParameterCount);
    PrinterState& state = context.state;
    if (!state.transaction.open)
        return Outcome::Failed(err::kLineOutsideTransaction);

    FieldCursor fields(request.text);
    std::string name, quantityText, slash, priceText, grossText;
    char letter = 0;
    if (!fields.TakeUntil('\r', name) || !fields.TakeUntil('\r', quantityText)
        || !fields.TakeChar(letter) || !fields.TakeUntil('/', slash)
        || !fields.TakeUntil('/', priceText) || !fields.TakeUntil('/', grossText) || !fields.AtEnd())
        return Outcome::Failed(err::kParameterCount);

    if (!IsValidGoodsName(name))
        return Outcome::Failed(err::kName);
    const auto quantity = ParseDecimal(quantityText, 4);
    if (!quantity || *quantity <= 0 || *quantity > kLargestQuantity)
        return Outcome::Failed(err::kQuantity);
    const auto rate = RateIndex(letter);
    if (!slash.empty() || !rate || state.rates[*rate] == kRateInactive)
        return Outcome::Failed(err::kRate);
    if (nameLockedElsewhere(state, name, letter))
        return Outcome::Failed(err::kRate);
    const auto price = ParseDecimal(priceText, 2);
    if (!price || *price <= 0 || *price > kLargestSale)
        return Outcome::Failed(err::kPrice);
    const auto gross = ParseDecimal(grossText, 2);
    if (!gross || *gross != lineValue(*quantity, *price))
        return Outcome::Failed(err::kGross);
    if (receiptTotal(state.transaction) + *gross > kLargestSale)
        return Outcome::Failed(err::kSaleTooLarge);

    state.transaction.lines.push_back(SaleLine{name, letter, *quantity, *price, *gross});
    context.paper.Line(PaperText(name));
    context.paper.LeftRight("  " + PaperQuantity(*quantity) + " x " + PaperMoney(*price),
                            PaperMoney(*gross) + " " + letter);
    return Outcome::Done();
}

Outcome EndReceipt(PrinterContext& context, const Request& request)
{
    if (request.params.empty())
        return Outcome::Failed(err::kParameterCount);
    switch (request.params[0]) {
    case 0:
        if (request.params.size() != 1 || !request.text.empty())
            return Outcome::Failed(err::kParameterCount);
        return cancelReceipt(context);
    case 1:
        if (request.params.size() > 2)
            return Outcome::Failed(err::kParameterCount);
        return confirmReceipt(context, request);
    default:
        return Outcome::Failed(err::kParameter);
    }
}

}  // namespace varmo
