#pragma once
// The command line of varmo-sim: where the paper and the link go, the state
// the printer starts in, and the line faults to play.
#include <optional>
#include <string>
#include <vector>

#include "simulator/LineFaults.h"
#include "simulator/PrinterState.h"

namespace varmo {

struct SimOptions {
    std::string link;   // symlink to the terminal; empty for none
    std::string paper;  // file for the paper roll; empty for standard output
    bool fiscal = false;
    std::optional<std::string> header;  // Windows-1250, each line ended by CR
    std::optional<std::string> uniqueNumber;  // the fiscal memory's own number
    std::optional<RateTable> rates;
    PrinterCodePage codePage = PrinterCodePage::Mazovia;
    LineFaults faults;
    // The one speed the printer listens at; 0: whatever the terminal is set to.
    std::int64_t speed = 0;
    // The printer's clock this many seconds ahead of the host's (behind when
    // negative), and the number of its last receipt, at start.
    std::int64_t clockOffset = 0;
    std::int64_t lastReceipt = 0;
    bool noPaper = false;
    bool offline = false;
    bool mechanismError = false;
    bool verbose = false;
    bool help = false;
    bool version = false;
};

// The options after the program name; nothing, with the reason in error, when
// they are wrong.
std::optional<SimOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

// --rates text "23,8,5,0,ZW,-,-": numbers 0 to 101, ZW for exempt, - or ---
// for a rate not in use.
std::optional<RateTable> ParseRates(const std::string& text);

// --header text: UTF-8 lines separated by '|', each within the printer's limits.
std::optional<std::string> ParseHeader(const std::string& text);

// --raw-header text: lines in escaped text separated by '|', control bytes
// allowed (not CR, which ends a line, nor 0xFF), at most 48 bytes each; for
// a printer whose header holds what a terminal would take for a sequence.
std::optional<std::string> ParseRawHeader(const std::string& text);

std::string UsageText();

// The printer a newcomer meets: a test shop's header, usual rates, a clock at
// the host's time, error mode 0, and what the options change.
PrinterState StartState(const SimOptions& options, const CivilDate& today);

}  // namespace varmo
