// Reports: the daily report that closes the day into the fiscal memory, the
// reprints of that memory by dates and by report numbers, and the long
// printout of the printer's constant settings and texts.
#include "protocol/ErrorTexts.h"
#include "simulator/Execution.h"
#include "simulator/PrinterErrors.h"
#include "simulator/Printouts.h"

namespace varmo {

namespace {

namespace err = printer_error;


// Reports cannot interrupt a receipt or a goods-database report.
std::int32_t busyError(const PrinterState& state)
{
    if (state.transaction.open)
        return err::kInTransaction;
    if (state.baseReport.running)
        return err::kNotNow;
    return err::kNone;
}

void printRecord(Paper& paper, const FiscalRecord& record)
{
    paper.LeftRight("Raport dobowy nr " + std::to_string(record.number), DateText(record.date));
    PrintRateTable(paper, record.rates, record.totals);
    paper.LeftRight("Liczba paragonów", std::to_string(record.receipts));
    paper.Rule();
}

// The records chosen, with each one printed or only summed.
void printRecords(PrinterContext& context, const std::string& title, bool fiscalReport,
                  const std::vector<const FiscalRecord*>& records, bool detailed)
{
    PrintHeading(context);
    context.paper.Centre(title);
    if (fiscalReport && !context.state.fiscal)
        context.paper.Centre("DRUKARKA NIEFISKALNA");
    context.paper.Rule();
    RateTotals sum{};
    std::int32_t receipts = 0;
    for (const FiscalRecord* record : records) {
        if (detailed)
            printRecord(context.paper, *record);
        for (std::size_t i = 0; i < kRateCount; ++i)
            sum[i] += record->totals[i];
        receipts += record->receipts;
    }
    if (records.empty()) {
        context.paper.Centre("BRAK ZAPISÓW W PAMIĘCI FISKALNEJ");
    } else {
        context.paper.LeftRight("Raporty dobowe", std::to_string(records.front()->number) + " - "
                                                      + std::to_string(records.back()->number));
        context.paper.LeftRight("Od", DateText(records.front()->date));
        context.paper.LeftRight("Do", DateText(records.back()->date));
        PrintRateTable(context.paper, context.state.rates, sum);
        context.paper.LeftRight("Liczba paragonów", std::to_string(receipts));
    }
    if (fiscalReport)
        PrintFooter(context);
    else {
        context.paper.Centre("NIEFISKALNY");
        context.paper.Feed();
    }
}

Outcome closeDay(PrinterContext& context)
{
    PrinterState& state = context.state;
    const CivilDate today = context.clock.NowCivil().date;
    if (const auto last = LastFiscalDate(state); last && today < *last)
        return Outcome::Failed(err::kBeforeLastRecord);

    PrintHeading(context);
    context.paper.Centre(state.fiscal ? "RAPORT DOBOWY FISKALNY" : "RAPORT DOBOWY");
    if (state.fiscal) {
        FiscalRecord record;
        record.number = static_cast<std::int32_t>(state.fiscalMemory.size()) + 1;
        record.date = today;
        record.rates = state.rates;
        record.totals = state.dailyTotals;
        record.receipts = state.receiptsToday;
        record.cancelled = state.cancelledToday;
        state.fiscalMemory.push_back(record);
        context.paper.LeftRight("Nr raportu", std::to_string(record.number));
    }
    context.paper.Rule();
    PrintRateTable(context.paper, state.rates, state.dailyTotals);
    context.paper.LeftRight("Liczba paragonów", std::to_string(state.receiptsToday));
    context.paper.LeftRight("Paragony anulowane", std::to_string(state.cancelledToday));
    context.paper.LeftRight("Gotówka w kasie", PaperMoney(state.cash));
    if (state.fiscal)
        context.paper.Centre("ZAPISANO W PAMIĘCI FISKALNEJ");
    PrintFooter(context);

    state.dailyTotals = {};
    state.receiptsToday = 0;
    state.cancelledToday = 0;
    state.clockCorrectedToday = false;
    return Outcome::Done();
}

struct PeriodType {
    std::int64_t code;
    const char* title;
    bool fiscal;
};

constexpr PeriodType kPeriodTypes[] = {
    {0, "RAPORT FISKALNY OKRESOWY", true},
    {1, "SKRÓCONY RAPORT OKRESOWY", false},
    {6, "RAPORT FISKALNY MIESIĘCZNY", true},
    {7, "SKRÓCONY RAPORT MIESIĘCZNY", false},
    {96, "RAPORT FISKALNY ROZLICZENIOWY", true},
    {97, "SKRÓCONY RAPORT ROZLICZENIOWY", false},
};

Outcome reportByDates(PrinterContext& context, const Request& request)
{
    const auto& p = request.params;
    const auto first = DateOfFields(p[0], p[1], p[2]);
    const auto last = DateOfFields(p[3], p[4], p[5]);
    const PeriodType* type = nullptr;
    for (const PeriodType& candidate : kPeriodTypes)
        if (candidate.code == p[6])
            type = &candidate;
    if (!first || !last || *last < *first || !type)
        return Outcome::Failed(err::kParameter);
    std::vector<const FiscalRecord*> records;
    for (const FiscalRecord& record : context.state.fiscalMemory)
        if (!(record.date < *first) && !(*last < record.date))
            records.push_back(&record);
    printRecords(context, type->title, type->fiscal, records, type->fiscal);
    return Outcome::Done();
}

Outcome reportByNumbers(PrinterContext& context, const Request& request)
{
    const std::int64_t selector = request.params[0];
    if (selector != 16 && selector != 17)
        return Outcome::Failed(err::kParameter);
    FieldCursor fields(request.text);
    std::string firstText, lastText;
    if (!fields.TakeUntil('/', firstText) || !fields.TakeUntil('/', lastText) || !fields.AtEnd())
        return Outcome::Failed(err::kParameterCount);
    const auto first = ParseWhole(firstText);
    const auto last = ParseWhole(lastText);
    if (!first || !last || *last < *first)
        return Outcome::Failed(err::kParameter);
    std::vector<const FiscalRecord*> records;
    for (const FiscalRecord& record : context.state.fiscalMemory)
        if (record.number >= *first && record.number <= *last)
            records.push_back(&record);
    const bool fiscal = selector == 16;
    printRecords(context, fiscal ? "RAPORT FISKALNY OKRESOWY" : "PODSUMOWANIE NIEFISKALNE", fiscal,
                 records, fiscal);
    return Outcome::Done();
}

}  // namespace

Outcome DailyReport(PrinterContext& context, const Request& request)
{
    const auto& p = request.params;
    if ((p.size() != 0 && p.size() != 4) || !request.text.empty())
        return Outcome::Failed(err::kParameterCount);
    if (const std::int32_t busy = busyError(context.state))
        return Outcome::Failed(busy);
    if (p.empty())
        return closeDay(context);

    const auto date = DateOfFields(p[1], p[2], p[3]);
    if (p[0] != 1 || !date)
        return Outcome::Failed(err::kParameter);
    // A report for today closes the day; one for another day reprints what
    // the fiscal memory holds for it.
    if (*date == context.clock.NowCivil().date)
        return closeDay(context);
    std::vector<const FiscalRecord*> records;
    for (const FiscalRecord& record : context.state.fiscalMemory)
        if (record.date == *date)
            records.push_back(&record);
    printRecords(context, "RAPORT DOBOWY ZA " + DateText(*date), false, records, true);
    return Outcome::Done();
}

Outcome PeriodicReport(PrinterContext& context, const Request& request)
{
    if (const std::int32_t busy = busyError(context.state))
        return Outcome::Failed(busy);
    if (request.params.size() == 7 && request.text.empty())
        return reportByDates(context, request);
    if (request.params.size() == 1)
        return reportByNumbers(context, request);
    return Outcome::Failed(err::kParameterCount);
}

Outcome ConstantDescriptions(PrinterContext& context, const Request& request)
{
    if (!request.params.empty() || !request.text.empty())
        return Outcome::Failed(err::kParameterCount);
    if (const std::int32_t busy = busyError(context.state))
        return Outcome::Failed(busy);
    const PrinterState& state = context.state;
    Paper& paper = context.paper;
    PrintHeading(context);
    paper.Centre("OPISY STAŁE");
    paper.Rule();
    paper.LeftRight("Tryb", state.fiscal ? "fiskalny" : "niefiskalny");
    paper.LeftRight("NIP", state.nip.empty() ? "-" : PaperText(state.nip));
    paper.LeftRight("Numer unikatowy", PaperText(state.uniqueNumber));
    for (std::size_t i = 0; i < kRateCount; ++i)
        paper.LeftRight(std::string("Stawka PTU ") + static_cast<char>('A' + i),
                        PaperRate(state.rates[i]));
    paper.LeftRight("Tryb obsługi błędów", std::to_string(state.errorMode));
    paper.LeftRight("Metoda rabatu", state.discountFlag ? "1" : "2");
    paper.LeftRight("Przegląd", state.hasInspection ? DateText(state.inspectionDate) : "-");
    if (state.hasInspection)
        paper.LeftRight("Komunikat", PaperText(state.inspectionMessage));
    paper.LeftRight("Zapisy w pamięci fiskalnej", std::to_string(state.fiscalMemory.size()));
    paper.LeftRight("Zerowania pamięci", std::to_string(state.zeroings));
    paper.Rule();
    paper.Centre("KOMUNIKATY BŁĘDÓW");
    for (std::int32_t number = 0; number < 128; ++number) {
        const std::string text = ErrorText(number);
        if (!text.empty())
            paper.Line(std::to_string(number) + " " + text);
    }
    PrintFooter(context);
    return Outcome::Done();
}

}  // namespace varmo
