#pragma once
// What a command handler of the virtual printer works on and what it gives
// back: an error number, and for the read commands the answer body.
#include <cstdint>
#include <optional>
#include <string>

#include "simulator/Paper.h"
#include "simulator/PrinterClock.h"
#include "simulator/PrinterState.h"
#include "simulator/Request.h"

namespace varmo {

struct Outcome {
    std::int32_t error = 0;
    std::optional<std::string> answer;  // body in Windows-1250, framed by the engine
    bool answerHasChecksum = true;

    static Outcome Done() { return {}; }
    static Outcome Failed(std::int32_t error) { return Outcome{error, std::nullopt, true}; }
    static Outcome Answer(std::string body, bool withChecksum = true)
    {
        return Outcome{0, std::move(body), withChecksum};
    }
};

struct PrinterContext {
    PrinterState& state;
    PrinterClock& clock;
    Paper& paper;
};

using CommandHandler = Outcome (*)(PrinterContext&, const Request&);

struct CommandEntry {
    CommandHandler handler = nullptr;
    bool prints = false;  // refused while the paper or the mechanism is out
};

// A goods name and its rate letter, as "name CR letter /" ends a goods status
// query and a database report line. The error number when the fields are
// missing (3), the name is unacceptable (16) or the letter is no rate (18).
struct GoodsField {
    std::string name;
    char letter = 0;
};
std::int32_t ReadGoodsField(const std::string& text, GoodsField& field);

// The handler of a two-character command code; nothing for an unknown code.
std::optional<CommandEntry> FindCommand(const std::string& code);

// The handlers, one group per file.
Outcome ReadHeader(PrinterContext&, const Request&);
Outcome ReadErrorCode(PrinterContext&, const Request&);
Outcome ReadCashInfo(PrinterContext&, const Request&);
Outcome ReadClock(PrinterContext&, const Request&);
Outcome ReadGoodsStatus(PrinterContext&, const Request&);

Outcome SetClock(PrinterContext&, const Request&);
Outcome SetHeader(PrinterContext&, const Request&);
Outcome SetRates(PrinterContext&, const Request&);
Outcome SetErrorMode(PrinterContext&, const Request&);
Outcome SetNip(PrinterContext&, const Request&);
Outcome SetInspectionDate(PrinterContext&, const Request&);
Outcome SetDiscountMethod(PrinterContext&, const Request&);

Outcome StartReceipt(PrinterContext&, const Request&);
Outcome ReceiptLine(PrinterContext&, const Request&);
Outcome EndReceipt(PrinterContext&, const Request&);

Outcome DailyReport(PrinterContext&, const Request&);
Outcome PeriodicReport(PrinterContext&, const Request&);
Outcome ConstantDescriptions(PrinterContext&, const Request&);
Outcome GoodsBaseReport(PrinterContext&, const Request&);

}  // namespace varmo
