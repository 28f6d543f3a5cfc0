#include "simulator/Options.h"

#include "protocol/Cp1250.h"
#include "protocol/Escaped.h"

namespace varmo {

namespace {

// A fictional shop; any resemblance to a real one is not intended. Its Polish
// letter comes back in the printer's code page, which the console reads.
constexpr const char* kDefaultHeader = "SKLEP TESTOWY \"POD WAGA\"|ul. Testowa 7, 00-950 Przykładowo";
constexpr const char* kDefaultNip = "111-222-33-32";

// A minus sign only where the range goes below 0 (a clock behind the host's).
std::optional<std::int64_t> number(const std::string& text, std::int64_t low, std::int64_t high)
{
    const bool minus = low < 0 && !text.empty() && text[0] == '-';
    const std::string digits = minus ? text.substr(1) : text;
    if (digits.empty() || digits.size() > 9)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (minus)
        value = -value;
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<RateTable> ParseRates(const std::string& text)
{
    RateTable rates{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < kRateCount; ++i) {
        const std::size_t comma = text.find(',', start);
        if ((comma == std::string::npos) != (i + 1 == kRateCount))
            return std::nullopt;
        const std::string piece = text.substr(start, comma - start);
        if (piece == "ZW" || piece == "zw")
            rates[i] = kRateExempt;
        else if (piece == "-" || piece == "---")
            rates[i] = kRateInactive;
        else if (const auto value = number(piece, 0, kRateInactive))
            rates[i] = static_cast<std::int32_t>(*value);
        else
            return std::nullopt;
        start = comma + 1;
    }
    return rates;
}

std::optional<std::string> ParseHeader(const std::string& text)
{
    const auto bytes = TryUtf8ToCp1250(text);
    if (!bytes)
        return std::nullopt;
    std::string header;
    if (bytes->empty())
        return header;
    std::size_t total = 0;
    std::size_t start = 0;
    while (start <= bytes->size()) {
        std::size_t bar = bytes->find('|', start);
        if (bar == std::string::npos)
            bar = bytes->size();
        const std::string line = bytes->substr(start, bar - start);
        for (unsigned char c : line)
            if (c < 0x20 || c == 0xFF)
                return std::nullopt;
        if (line.size() > 48)
            return std::nullopt;
        total += line.size() + 1;
        header += line + '\r';
        start = bar + 1;
    }
    if (total > 390)
        return std::nullopt;
    return header;
}

std::optional<std::string> ParseRawHeader(const std::string& text)
{
    std::string header;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t bar = text.find('|', start);
        if (bar == std::string::npos)
            bar = text.size();
        const auto line = TryDecodeEscaped(Lines{text.substr(start, bar - start)});
        // CR ends a line and 0xFF the header; anything else goes.
        if (!line || line->size() > 48 || line->find_first_of("\r\xFF") != std::string::npos)
            return std::nullopt;
        header += *line + '\r';
        start = bar + 1;
    }
    return header;
}

std::optional<SimOptions> ParseOptions(const std::vector<std::string>& args, std::string& error)
{
    SimOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        auto value = [&](std::string& out) {
            if (inlineValue) {
                out = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto flag = [&](bool& target) {
            if (inlineValue) {
                error = name + " takes no value";
                return false;
            }
            target = true;
            return true;
        };
        auto bounded = [&](std::int64_t& target, std::int64_t low, std::int64_t high) {
            std::string text;
            if (!value(text))
                return false;
            const auto parsed = number(text, low, high);
            if (!parsed) {
                error = name + " wants a whole number from " + std::to_string(low) + " to "
                        + std::to_string(high) + ", not '" + text + "'";
                return false;
            }
            target = *parsed;
            return true;
        };

        std::string text;
        std::int64_t whole = 0;
        bool ok = true;
        if (name == "-h" || name == "--help")
            ok = flag(options.help);
        else if (name == "--version")
            ok = flag(options.version);
        else if (name == "--link")
            ok = value(options.link);
        else if (name == "--paper")
            ok = value(options.paper);
        else if (name == "--fiscal")
            ok = flag(options.fiscal);
        else if (name == "--non-fiscal") {
            bool nonFiscal = false;
            ok = flag(nonFiscal);
            options.fiscal = false;
        } else if (name == "--header") {
            ok = value(text);
            if (ok && !(options.header = ParseHeader(text))) {
                error = "--header: lines of at most 48 characters, 390 in all, separated by '|',"
                        " in letters Windows-1250 can carry";
                ok = false;
            }
        } else if (name == "--unique") {
            ok = value(text);
            if (ok && (text.empty() || text.size() > 11 ||
                       text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789") !=
                           std::string::npos)) {
                error = "--unique: 1 to 11 capital letters and digits";
                ok = false;
            }
            if (ok)
                options.uniqueNumber = text;
        } else if (name == "--raw-header") {
            ok = value(text);
            if (ok && !(options.header = ParseRawHeader(text))) {
                error = "--raw-header: lines in escaped text (<ESC>, <$07>) separated by '|', "
                        "at most 48 bytes each, without CR or <FF>";
                ok = false;
            }
        } else if (name == "--rates") {
            ok = value(text);
            if (ok && !(options.rates = ParseRates(text))) {
                error = "--rates wants seven values A,B,C,D,E,F,G: 0 to 99, ZW, or - for not in use";
                ok = false;
            }
        } else if (name == "--codepage") {
            ok = value(text);
            if (ok && text == "maz")
                options.codePage = PrinterCodePage::Mazovia;
            else if (ok && text == "win")
                options.codePage = PrinterCodePage::Windows;
            else if (ok) {
                error = "--codepage is maz or win";
                ok = false;
            }
        } else if (name == "--silent")
            ok = flag(options.faults.silent);
        else if (name == "--delay")
            ok = bounded(options.faults.delayMs, 0, 600'000);
        else if (name == "--chunk") {
            ok = bounded(whole, 1, 1'000'000);
            options.faults.chunk = static_cast<std::size_t>(whole);
        } else if (name == "--gap")
            ok = bounded(options.faults.gapMs, 0, 600'000);
        else if (name == "--noise")
            ok = flag(options.faults.noise);
        else if (name == "--twice")
            ok = flag(options.faults.twice);
        else if (name == "--bad-checksum")
            ok = flag(options.faults.badChecksum);
        else if (name == "--baud")
            ok = bounded(options.faults.baud, 50, 4'000'000);
        else if (name == "--speed")
            ok = bounded(options.speed, 50, 4'000'000);
        else if (name == "--clock-offset")
            ok = bounded(options.clockOffset, -100'000'000, 100'000'000);
        else if (name == "--last-receipt")
            ok = bounded(options.lastReceipt, 0, 99'999'999);
        else if (name == "--no-paper")
            ok = flag(options.noPaper);
        else if (name == "--offline")
            ok = flag(options.offline);
        else if (name == "--mechanism-error")
            ok = flag(options.mechanismError);
        else if (name == "-v" || name == "--verbose")
            ok = flag(options.verbose);
        else {
            error = "unknown option '" + args[i] + "' (see --help)";
            ok = false;
        }
        if (!ok)
            return std::nullopt;
    }
    return options;
}

PrinterState StartState(const SimOptions& options, const CivilDate& today)
{
    PrinterState state;
    state.codePage = options.codePage;
    state.header = options.header ? *options.header : *ParseHeader(kDefaultHeader);
    if (options.rates)
        state.rates = *options.rates;
    if (options.uniqueNumber)
        state.uniqueNumber = *options.uniqueNumber;
    if (options.fiscal) {
        state.fiscal = true;
        state.nip = kDefaultNip;
        state.fiscalisedOn = today;
    }
    state.lastReceipt = static_cast<std::int32_t>(options.lastReceipt);
    state.paperOut = options.noPaper;
    state.online = !options.offline;
    state.mechanismError = options.mechanismError;
    return state;
}

std::string UsageText()
{
    return R"(Usage: varmo-sim [options]

A virtual fiscal printer on a pseudo-terminal. The first line of standard
output is the terminal's device path; point the console at it with
VARMO_COM1=<path>. Stop it with Ctrl-C (SIGINT) or SIGTERM.

Where things go:
  --link PATH         also make PATH a symbolic link to the terminal (a stale
                      link there is replaced; the link is removed on exit)
  --paper FILE        print the paper roll into FILE (UTF-8, started afresh);
                      without it the paper goes to standard output after the
                      device line
  -v, --verbose       log every frame received, and its error, on stderr

The printer at start (default: non-fiscal, a test shop's header, rates
23,8,5,0,ZW,-,-, clock at the host's local time, error mode 0):
  --fiscal            start fiscalised (NIP 111-222-33-32, fiscalised today)
  --non-fiscal        start not fiscalised (the default)
  --header TEXT       header lines separated by '|', at most 48 characters
                      each and 390 in all, e.g. "SHOP|Street 1"
  --unique NUMBER     the fiscal memory's unique number (default TST00012345)
  --rates A,B,C,D,E,F,G
                      the seven rates: 0 to 99 percent, ZW exempt, - not in use
  --codepage maz|win  the printer's code page for Polish letters (default maz)
  --clock-offset S    the clock S seconds ahead of the host's (behind when
                      negative): a printer whose clock drifted
  --last-receipt N    the number of the last receipt printed (default 0)

Faults of the line and of the printer:
  --silent            never answer, not even ENQ and DLE
  --delay MS          send every answer MS milliseconds late
  --chunk N           send answers in pieces of N bytes ...
  --gap MS            ... with MS milliseconds between the pieces
  --noise             put a few stray bytes on the line before each frame
  --twice             send every framed answer twice, the copy right after it
  --bad-checksum      spoil the check value of every answer that has one
  --baud N            pace answers as a line at N baud would (10 bits a byte)
  --speed N           listen at N baud only: while the terminal is set to
                      another speed, what comes in is noise to the printer
                      and what it sends comes out garbled
  --no-paper          out of paper: DLE says so, printing commands fail (82)
  --raw-header TEXT   a header no printer takes from a command: lines in
                      escaped text, control bytes kept ("<ESC>[2J|<$07>"),
                      separated by '|'; what a terminal would act on
  --offline           off-line: DLE says so, frames are ignored
  --mechanism-error   DLE reports a mechanism error, printing commands fail
  --version           print the version and stop
  -h, --help          this text
)";
}

}  // namespace varmo
