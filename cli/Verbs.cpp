#include "cli/Verbs.h"

#include <QDateTime>
#include <array>

#include "cli/Failure.h"
#include "cli/ParamText.h"
#include "commands/ReadCommands.h"
#include "commands/ReportCommands.h"
#include "commands/SettingCommands.h"
#include "commands/TransactionCommands.h"
#include "commands/UserCommand.h"
#include "exchange/MinuteTurn.h"
#include "exchange/Question.h"
#include "protocol/Exception.h"
#include "protocol/Frame.h"

namespace varmo::cli {

namespace {

using Args = std::vector<std::string>;

template <typename Command, typename... Params>
Step frame(Params&&... params)
{
    return Step{std::make_unique<Command>(std::forward<Params>(params)...)};
}

Step control(char byte)
{
    Step step;
    step.control = byte;
    return step;
}

std::string joinedHeader(const Args& lines)
{
    std::string header;
    for (const std::string& line : lines)
        header += PrinterText(line, "header line") + kCR;
    return header;
}

std::array<std::int32_t, 7> rateCodes(const Args& args)
{
    Args codes = args;
    if (args.size() == 1) {
        // "23,8,5,0,ZW,-,-" in one word, as varmo-sim takes it.
        codes.clear();
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = args[0].find(',', start);
            codes.push_back(args[0].substr(start, comma - start));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    if (codes.size() != 7)
        throw UsageError("set-rates: potrzeba siedmiu stawek od A do G, podano " +
                         std::to_string(codes.size()));
    std::array<std::int32_t, 7> rates{};
    for (std::size_t i = 0; i < rates.size(); ++i)
        rates[i] = RateCodeArg(codes[i]);
    return rates;
}

Step setClock(const Args& args)
{
    if (args.size() == 1 && args[0] == "now") {
        // The clock takes no seconds: it goes out at the next turn of the
        // minute, set to that minute.
        const QDateTime turn = NextMinuteTurn(QDateTime::currentDateTime());
        const QDate date = turn.date();
        Step step = frame<TCmdSetClock>(date.year() - 2000, date.month(), date.day(),
                                        turn.time().hour(), turn.time().minute());
        step.sendAt = turn;
        step.fromComputerClock = true;
        return step;
    }
    if (args.size() != 2)
        throw UsageError("set-clock: podaj DATE TIME albo now");
    const DateParam date = DateArg(args[0], "date");
    const TimeParam time = TimeArg(args[1], "time");
    return frame<TCmdSetClock>(date.year, date.month, date.day, time.hour, time.minute);
}

Step setDiscount(const Args& args)
{
    const std::int32_t method = IntegerParam(args[0], "method");
    if (method != 1 && method != 2)
        throw UsageError("set-discount: metoda to 1 albo 2");
    return frame<TCmdSetDiscountMode>(method == 1 ? 1 : 0);
}

Step reportNumbers(const Args& args)
{
    const std::string& kind = args[2];
    if (kind != "fiscal" && kind != "summary")
        throw UsageError("report-numbers: rodzaj to fiscal albo summary, nie \"" + kind + "\"");
    return frame<TCmdRepPeriodNo>(IntegerParam(args[0], "first"), IntegerParam(args[1], "last"),
                                  kind == "fiscal");
}

Step reportPeriod(const Args& args)
{
    const DateParam from = DateArg(args[0], "from");
    const DateParam to = DateArg(args[1], "to");
    return frame<TCmdRepPeriodDay>(from.year, from.month, from.day, to.year, to.month, to.day,
                                   IntegerParam(args[2], "type"));
}

Step goodsCheckStart(const Args& args)
{
    if (args[0] != "locked" && args[0] != "rates")
        throw UsageError("goods-check-start: raport to locked albo rates, nie \"" + args[0] +
                         "\"");
    return frame<TCmdBaseStart>(args[0] == "locked");
}

Step send(const Args& args)
{
    if (args[0] == "--raw") {
        if (args.size() != 2)
            throw UsageError("send --raw: podaj jedną sekwencję");
        return Step{TCmdUser::FromSequence(EscapedArg(args[1]))};
    }
    if (args.size() != 1)
        throw UsageError("send: podaj jedną treść (w cudzysłowie, gdy ma spacje)");
    return Step{TCmdUser::FromBody(EscapedArg(args[0]))};
}

const char* const kRead = "Read commands (each expects an answer):";
const char* const kStatus = "Control bytes:";
const char* const kSet = "Setting commands:";
const char* const kReport = "Report commands:";
const char* const kReceipt = "Off-line receipt and goods-database check:";
const char* const kAny = "Any sequence:";

}  // namespace

const std::vector<Verb>& Verbs()
{
    static const std::vector<Verb> verbs = {
        {"header", "", "read the receipt header", kRead, 0, 0,
         [](const Args&) { return frame<TCmdReadHeader>(); }},
        {"error", "", "read the number of the last error and its text", kRead, 0, 0,
         [](const Args&) { return frame<TCmdReadErrCode>(); }},
        {"cash", "", "read the cash information", kRead, 0, 0,
         [](const Args&) { return frame<TCmdReadCashInfo>(false); }},
        {"cash-current", "", "read the cash information with the current transaction", kRead,
         0, 0, [](const Args&) { return frame<TCmdReadCashInfo>(true); }},
        {"goods", "NAME RATE", "whether NAME is locked to a rate, and to which",
         kRead, 2, 2,
         [](const Args& a) {
             return frame<TCmdReadGoodsStatus>(PrinterText(a[0], "name"), RateLetterArg(a[1]));
         }},
        {"clock", "", "read the printer's clock", kRead, 0, 0,
         [](const Args&) { return frame<TCmdReadClock>(); }},

        {"enq", "", "logical status (FSK, CMD, PAR, TRF) in words",
         kStatus, 0, 0, [](const Args&) { return control(kENQ); }},
        {"dle", "", "mechanical status (ONL, PE, ERR) in words", kStatus, 0, 0,
         [](const Args&) { return control(kDLE); }},
        {"can", "", "break off the command in progress (no answer)", kStatus, 0, 0,
         [](const Args&) { return control(kCAN); }},

        {"set-clock", "DATE TIME | now", "set the clock (now: this computer's, at the next full minute)", kSet, 1, 2,
         setClock},
        {"set-header", "[LINE...]", "set the header, one parameter per line", kSet, 0, 64,
         [](const Args& a) { return frame<TCmdSetHeader>(joinedHeader(a)); }},
        {"set-rates", "A B C D E F G",
         "set the tax rates A to G: 0-99, ZW exempt, - not in use", kSet, 1, 7,
         [](const Args& a) { return frame<TCmdSetRates>(rateCodes(a)); }},
        {"set-error-mode", "MODE", "set how the printer handles errors (0 to 3)", kSet, 1, 1,
         [](const Args& a) { return frame<TCmdSetErrMode>(IntegerParam(a[0], "mode")); }},
        {"set-discount", "1|2", "set the discount method", kSet, 1, 1, setDiscount},
        {"set-nip", "NIP", "set the tax identification number", kSet, 1, 1,
         [](const Args& a) { return frame<TCmdSetNIP>(false, PrinterText(a[0], "NIP")); }},
        {"fiscalise", "NIP", "set the NIP and fiscalise the printer: IRREVERSIBLE", kSet, 1, 1,
         [](const Args& a) { return frame<TCmdSetNIP>(true, PrinterText(a[0], "NIP")); }},
        {"set-inspection", "DATE MESSAGE",
         "set the next inspection date and its message or phone", kSet, 2, 2,
         [](const Args& a) {
             const DateParam date = DateArg(a[0], "date");
             return frame<TCmdSetInspectionDate>(date.year, date.month, date.day,
                                                 PrinterText(a[1], "message"));
         }},

        {"report-day", "[DATE]", "daily report: closes the day (with DATE: that day's)",
         kReport, 0, 1,
         [](const Args& a) {
             if (a.empty())
                 return frame<TCmdRepDay>();
             const DateParam date = DateArg(a[0], "date");
             return frame<TCmdRepDay>(date.year, date.month, date.day);
         }},
        {"report-period", "FROM TO TYPE",
         "periodic report by dates (TYPE: see Parameters)",
         kReport, 3, 3, reportPeriod},
        {"report-numbers", "FIRST LAST fiscal|summary", "periodic report by report numbers",
         kReport, 3, 3, reportNumbers},
        {"report-constants", "", "print the constant descriptions (a long printout)", kReport,
         0, 0, [](const Args&) { return frame<TCmdConstDesc>(); }},

        {"receipt-start", "LINES", "open an off-line receipt of LINES lines", kReceipt, 1, 1,
         [](const Args& a) { return frame<TCmdTransStart>(IntegerParam(a[0], "lines")); }},
        {"receipt-line", "NO NAME QUANTITY RATE PRICE GROSS", "one line of the receipt",
         kReceipt, 6, 6,
         [](const Args& a) {
             return frame<TCmdTransLine>(IntegerParam(a[0], "line number"),
                                         PrinterText(a[1], "name"),
                                         AmountArg(a[2], "quantity"), RateLetterArg(a[3]),
                                         AmountArg(a[4], "price"), AmountArg(a[5], "gross"));
         }},
        {"receipt-end", "REGISTER CASHIER TOTAL", "close the receipt with its total", kReceipt,
         3, 3,
         [](const Args& a) {
             return frame<TCmdTransConfirm>(PrinterText(a[0], "register"),
                                            PrinterText(a[1], "cashier"),
                                            AmountArg(a[2], "total"));
         }},
        {"receipt-cancel", "", "cancel the open receipt", kReceipt, 0, 0,
         [](const Args&) { return frame<TCmdTransCancel>(); }},
        {"goods-check-start", "locked|rates",
         "start the goods check: locked goods, or goods by rate", kReceipt, 1, 1,
         goodsCheckStart},
        {"goods-check-line", "NAME RATE", "one goods item of the check", kReceipt, 2, 2,
         [](const Args& a) {
             return frame<TCmdBaseLine>(PrinterText(a[0], "name"), RateLetterArg(a[1]));
         }},
        {"goods-check-end", "", "end the goods-database check", kReceipt, 0, 0,
         [](const Args&) { return frame<TCmdBaseConfirm>(); }},

        {"send", "[--raw] SEQUENCE",
         "frame an escaped body; --raw: the bytes as given", kAny, 1, 2,
         send},
    };
    return verbs;
}

const Verb* FindVerb(const std::string& name)
{
    for (const Verb& verb : Verbs())
        if (name == verb.name)
            return &verb;
    return nullptr;
}

Step BuildStep(const std::vector<std::string>& words)
{
    if (words.empty())
        throw UsageError("nie podano polecenia (lista: varmo-cli --help)");
    const Verb* verb = FindVerb(words[0]);
    if (verb == nullptr)
        throw UsageError("nieznane polecenie \"" + words[0] + "\" (lista: varmo-cli --help)");
    const Args args(words.begin() + 1, words.end());
    if (args.size() < verb->minArgs || args.size() > verb->maxArgs) {
        std::string usage = std::string(verb->name) + ": użycie: " + verb->name;
        if (*verb->params != '\0')
            usage += std::string(" ") + verb->params;
        throw UsageError(usage);
    }
    Step step = verb->build(args);
    if (step.command) {
        try {
            Lines description;
            step.command->GetRawFrame();
            step.command->DescribeCommand(description);
            // A frame the printer would refuse: found before anything is sent.
            RefuseTooLong(step.command->GetFrame());
        } catch (const Exception& error) {
            throw UsageError(std::string(verb->name) + ": " + error.what());
        }
    }
    return step;
}

}  // namespace varmo::cli
