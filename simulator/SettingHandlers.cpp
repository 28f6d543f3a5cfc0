// The setting commands: clock, header, rates, error mode, NIP and
// fiscalisation, inspection date, discount method. Each checks its fields and
// refuses bad ones with the printer's error number.
#include "simulator/Execution.h"
#include "simulator/PrinterErrors.h"
#include "simulator/Printouts.h"

namespace varmo {

namespace {

namespace err = printer_error;

constexpr std::size_t kHeaderLineLimit = 48;
constexpr std::size_t kHeaderTotalLimit = 390;
constexpr std::size_t kMessageLimit = 40;
constexpr LocalSeconds kSmallCorrection = 3600;


bool printableText(const std::string& text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c == 0xFF)
            return false;
    return true;
}

// Ten digits, dashes allowed between them, with the tax office's check digit.
bool validNip(const std::string& nip)
{
    static constexpr int weights[9] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
    if (nip.size() > 13 || nip.empty() || nip.front() == '-' || nip.back() == '-')
        return false;
    std::string digits;
    for (char c : nip) {
        if (c >= '0' && c <= '9')
            digits += c;
        else if (c != '-')
            return false;
    }
    if (digits.size() != 10)
        return false;
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += (digits[static_cast<std::size_t>(i)] - '0') * weights[i];
    return sum % 11 != 10 && sum % 11 == digits[9] - '0';
}

void printRates(Paper& paper, const RateTable& rates)
{
    for (std::size_t i = 0; i < kRateCount; ++i)
        paper.LeftRight(std::string("PTU ") + static_cast<char>('A' + i), PaperRate(rates[i]));
}

}  // namespace

Outcome SetClock(PrinterContext& context, const Request& request)
{
    const auto& p = request.params;
    if (p.size() != 6 || !request.text.empty())
        return Outcome::Failed(err::kParameterCount);
    PrinterState& state = context.state;
    if (state.transaction.open)
        return Outcome::Failed(err::kInTransaction);
    const auto date = DateOfFields(p[0], p[1], p[2]);
    if (!date || p[3] > 23 || p[4] > 59 || p[5] > 59)
        return Outcome::Failed(err::kParameter);
    const CivilTime wanted{*date, static_cast<std::int32_t>(p[3]), static_cast<std::int32_t>(p[4]),
                           static_cast<std::int32_t>(p[5])};
    if (const auto last = LastFiscalDate(state); last && wanted.date < *last)
        return Outcome::Failed(err::kBeforeLastRecord);

    const LocalSeconds target = ToLocalSeconds(wanted);
    const LocalSeconds shift = target - context.clock.Now();
    const bool small = shift >= -kSmallCorrection && shift <= kSmallCorrection;
    if (state.fiscal) {
        // A fiscal printer moves its clock far only on a closed day, and by a
        // little only once between two daily reports.
        if (!small && !DailyCountersZero(state))
            return Outcome::Failed(err::kTotalsNotZero);
        if (small && state.clockCorrectedToday)
            return Outcome::Failed(err::kClockCorrectedAgain);
        if (small)
            state.clockCorrectedToday = true;
    }
    const CivilTime before = context.clock.NowCivil();
    context.clock.Set(target);
    if (state.fiscal) {
        context.paper.Centre("ZMIANA CZASU");
        context.paper.LeftRight("z", DateTimeText(before));
        context.paper.LeftRight("na", DateTimeText(wanted));
        context.paper.Feed();
    }
    return Outcome::Done();
}

Outcome SetHeader(PrinterContext& context, const Request& request)
{
    if (request.params.size() != 1)
        return Outcome::Failed(err::kParameterCount);
    if (request.params[0] != 0)
        return Outcome::Failed(err::kParameter);
    PrinterState& state = context.state;
    if (state.transaction.open)
        return Outcome::Failed(err::kInTransaction);

    // The text ends at the byte 0xFF; lines are ended by CR.
    const std::size_t end = request.text.find('\xFF');
    if (end == std::string::npos || end + 1 != request.text.size())
        return Outcome::Failed(err::kHeader);
    const std::string header = request.text.substr(0, end);
    std::size_t total = 0;
    std::size_t start = 0;
    while (start < header.size()) {
        std::size_t stop = header.find('\r', start);
        if (stop == std::string::npos)
            stop = header.size();
        const std::string line = header.substr(start, stop - start);
        if (line.size() > kHeaderLineLimit || !printableText(line))
            return Outcome::Failed(err::kHeader);
        total += line.size() + 1;
        start = stop + 1;
    }
    if (total > kHeaderTotalLimit)
        return Outcome::Failed(err::kHeader);
    if (state.fiscal && header.find_first_not_of(" \r") == std::string::npos)
        return Outcome::Failed(err::kHeader);  // a fiscal receipt needs its shop
    state.header = header;
    return Outcome::Done();
}

Outcome SetRates(PrinterContext& context, const Request& request)
{
    if (request.params.size() != 1 || request.params[0] != 7)
        return Outcome::Failed(err::kParameterCount);
    PrinterState& state = context.state;
    if (state.transaction.open)
        return Outcome::Failed(err::kInTransaction);

    RateTable rates{};
    FieldCursor fields(request.text);
    for (std::size_t i = 0; i < kRateCount; ++i) {
        std::string piece;
        if (!fields.TakeUntil('/', piece))
            return Outcome::Failed(err::kRates);
        const auto value = ParseWhole(piece);
        if (!value || *value > kRateInactive)
            return Outcome::Failed(err::kRates);
        rates[i] = static_cast<std::int32_t>(*value);
    }
    if (!fields.AtEnd() || rates == state.rates)
        return Outcome::Failed(err::kRates);
    if (state.fiscal && !DailyCountersZero(state))
        return Outcome::Failed(err::kTotalsNotZero);

    state.rates = rates;
    if (state.fiscal) {
        PrintHeading(context);
        context.paper.Centre("ZMIANA STAWEK PTU");
        printRates(context.paper, rates);
        context.paper.Centre("potwierdzona na klawiaturze drukarki");
        PrintFooter(context);
    }
    return Outcome::Done();
}

Outcome SetErrorMode(PrinterContext& context, const Request& request)
{
    if (request.params.size() != 1 || !request.text.empty())
        return Outcome::Failed(err::kParameterCount);
    if (request.params[0] > 3)
        return Outcome::Failed(err::kParameter);
    context.state.errorMode = static_cast<std::int32_t>(request.params[0]);
    return Outcome::Done();
}

Outcome SetNip(PrinterContext& context, const Request& request)
{
    if (request.params.size() != 1)
        return Outcome::Failed(err::kParameterCount);
    const std::int64_t fiscalise = request.params[0];
    if (fiscalise > 1)
        return Outcome::Failed(err::kParameter);
    FieldCursor fields(request.text);
    std::string nip;
    if (!fields.TakeUntil('/', nip) || !fields.AtEnd())
        return Outcome::Failed(err::kParameterCount);

    PrinterState& state = context.state;
    if (state.fiscal)
        return Outcome::Failed(fiscalise ? err::kAlreadyFiscal : err::kNip);
    if (!validNip(nip))
        return Outcome::Failed(err::kParameter);
    if (fiscalise) {
        if (state.transaction.open)
            return Outcome::Failed(err::kInTransaction);
        if (state.header.find_first_not_of(" \r") == std::string::npos)
            return Outcome::Failed(err::kNoHeader);
    }
    state.nip = nip;
    if (!fiscalise)
        return Outcome::Done();

    // Irreversible: from here on the printer keeps fiscal memory and totals.
    state.fiscal = true;
    state.fiscalisedOn = context.clock.NowCivil().date;
    state.dailyTotals = {};
    state.receiptsToday = 0;
    state.cancelledToday = 0;
    state.clockCorrectedToday = false;
    PrintHeading(context);
    context.paper.Centre("FISKALIZACJA");
    context.paper.LeftRight("NIP", PaperText(nip));
    context.paper.LeftRight("Data", DateText(state.fiscalisedOn));
    printRates(context.paper, state.rates);
    context.paper.Centre("potwierdzona na klawiaturze drukarki");
    PrintFooter(context);
    return Outcome::Done();
}

Outcome SetInspectionDate(PrinterContext& context, const Request& request)
{
    const auto& p = request.params;
    if (p.size() != 4)
        return Outcome::Failed(err::kParameterCount);
    FieldCursor fields(request.text);
    std::string message;
    if (!fields.TakeUntil('\r', message) || !fields.AtEnd())
        return Outcome::Failed(err::kParameterCount);
    const auto date = DateOfFields(p[1], p[2], p[3]);
    if (p[0] != 0 || !date || message.size() > kMessageLimit || !printableText(message))
        return Outcome::Failed(err::kParameter);
    PrinterState& state = context.state;
    state.hasInspection = true;
    state.inspectionDate = *date;
    state.inspectionMessage = message;
    return Outcome::Done();
}

Outcome SetDiscountMethod(PrinterContext& context, const Request& request)
{
    if (request.params.size() != 1 || !request.text.empty())
        return Outcome::Failed(err::kParameterCount);
    if (request.params[0] > 1)
        return Outcome::Failed(err::kParameter);
    context.state.discountFlag = static_cast<std::int32_t>(request.params[0]);
    return Outcome::Done();
}

}  // namespace varmo
