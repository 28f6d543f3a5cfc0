// The printer's answers to the read commands: header, last error, cash
// information, clock and the status of a goods name.
#include "simulator/Execution.h"
#include "simulator/PrinterErrors.h"

namespace varmo {

namespace {

std::string twoDigits(std::int64_t value)
{
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

// Amounts in answers always carry exactly two decimals, the way the console
// reads them (the digits after the point are hundredths).
std::string answerAmount(Amount amount)
{
    const Amount cents = (amount < 0 ? 0 : amount + 50) / 100;
    return std::to_string(cents / 100) + "." + twoDigits(cents % 100);
}

}  // namespace

Outcome ReadHeader(PrinterContext& context, const Request& request)
{
    if (!request.params.empty() || !request.text.empty())
        return Outcome::Failed(printer_error::kParameterCount);
    return Outcome::Answer("1#U" + context.state.header + '\xFF');
}

Outcome ReadErrorCode(PrinterContext& context, const Request& request)
{
    if (!request.params.empty() || !request.text.empty())
        return Outcome::Failed(printer_error::kParameterCount);
    // Reports the error of the command before; this one then counts as correct.
    return Outcome::Answer("1#E" + std::to_string(context.state.lastError), false);
}

Outcome ReadCashInfo(PrinterContext& context, const Request& request)
{
    if (request.params.size() != 1 || !request.text.empty())
        return Outcome::Failed(printer_error::kParameterCount);
    const std::int64_t which = request.params[0];
    if (which != 22 && which != 23)
        return Outcome::Failed(printer_error::kParameter);
    const PrinterState& state = context.state;

    // The current variant counts the open receipt in; the other stands at the
    // last completed one.
    RateTotals totals = state.dailyTotals;
    if (which == 22)
        for (const SaleLine& line : state.transaction.lines)
            totals[*RateIndex(line.rate)] += line.gross;

    std::int32_t year = 0, month = 0, day = 0;
    if (const auto last = LastFiscalDate(state)) {
        year = last->year - 2000;
        month = last->month;
        day = last->day;
    }
    std::string body = "1#X";
    body += std::to_string(state.lastError) + ";";
    body += std::string(state.fiscal ? "1" : "0") + ";";
    body += std::string(state.transaction.open ? "1" : "0") + ";";
    body += std::string(state.lastTransactionCorrect ? "1" : "0") + ";";
    body += "1;";
    body += std::to_string(state.zeroings) + ";";
    body += twoDigits(year) + ";" + twoDigits(month) + ";" + twoDigits(day) + "/";
    for (std::int32_t rate : state.rates)
        body += std::to_string(rate) + "/";
    body += std::to_string(state.lastReceipt) + "/";
    for (Amount total : totals)
        body += answerAmount(total) + "/";
    body += answerAmount(state.cash) + "/";
    body += state.uniqueNumber;
    return Outcome::Answer(body);
}

Outcome ReadClock(PrinterContext& context, const Request& request)
{
    if (!request.params.empty() || !request.text.empty())
        return Outcome::Failed(printer_error::kParameterCount);
    const CivilTime now = context.clock.NowCivil();
    // The seconds close the minute field, so the check value that follows can
    // never run into the minute's digits.
    return Outcome::Answer("1#C" + twoDigits(now.date.year - 2000) + ";" + twoDigits(now.date.month)
                           + ";" + twoDigits(now.date.day) + ";" + twoDigits(now.hour) + ";"
                           + twoDigits(now.minute) + ";" + twoDigits(now.second));
}

std::int32_t ReadGoodsField(const std::string& text, GoodsField& field)
{
    FieldCursor fields(text);
    std::string slash;
    if (!fields.TakeUntil('\r', field.name) || !fields.TakeChar(field.letter)
        || !fields.TakeUntil('/', slash) || !fields.AtEnd())
        return printer_error::kParameterCount;
    if (!IsValidGoodsName(field.name))
        return printer_error::kName;
    if (!slash.empty() || !RateIndex(field.letter))
        return printer_error::kRate;
    return 0;
}

Outcome ReadGoodsStatus(PrinterContext& context, const Request& request)
{
    if (!request.params.empty())
        return Outcome::Failed(printer_error::kParameterCount);
    GoodsField field;
    if (const std::int32_t error = ReadGoodsField(request.text, field))
        return Outcome::Failed(error);
    const std::string& name = field.name;
    const char letter = field.letter;

    // Locked: selling the name under the asked rate would be refused.
    const auto found = context.state.goods.find(name);
    if (found == context.state.goods.end())
        return Outcome::Answer("1$G0;101/");
    const bool locked = found->second.rate != letter;
    return Outcome::Answer(std::string("1$G") + (locked ? "1" : "0") + ";" + found->second.rate
                           + "/");
}

}  // namespace varmo
