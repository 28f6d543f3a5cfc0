#pragma once
// Everything the virtual printer remembers between commands. Texts are the
// Windows-1250 bytes the printer stores (header, goods names, NIP, message);
// amounts are ten-thousandths like everywhere in the program.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "protocol/Types.h"
#include "simulator/Calendar.h"

namespace varmo {

constexpr std::int32_t kRateExempt = 100;
constexpr std::int32_t kRateInactive = 101;
constexpr std::size_t kRateCount = 7;

using RateTable = std::array<std::int32_t, kRateCount>;
using RateTotals = std::array<Amount, kRateCount>;

enum class PrinterCodePage { Mazovia, Windows };

// One line of the receipt being printed.
struct SaleLine {
    std::string name;
    char rate = 'A';
    Amount quantity = 0;
    Amount price = 0;
    Amount gross = 0;
};

struct Transaction {
    bool open = false;
    std::int32_t announcedLines = 0;
    std::vector<SaleLine> lines;
};

// One daily report written into the fiscal memory; records are never changed.
struct FiscalRecord {
    std::int32_t number = 0;
    CivilDate date;
    RateTable rates{};
    RateTotals totals{};
    std::int32_t receipts = 0;
    std::int32_t cancelled = 0;
};

// A goods name in the printer's database is locked to the rate letter it was
// first sold under.
struct GoodsEntry {
    char rate = 'A';
};

// A goods-database check report between its start and its end.
struct BaseReport {
    bool running = false;
    bool blockedGoods = false;
    std::int32_t lines = 0;
    std::int32_t flagged = 0;
};

struct PrinterState {
    PrinterCodePage codePage = PrinterCodePage::Mazovia;

    // Setup.
    std::string header;  // lines, each ended by CR
    RateTable rates{23, 8, 5, 0, kRateExempt, kRateInactive, kRateInactive};
    std::int32_t errorMode = 0;
    std::int32_t discountFlag = 1;  // 1: method 1, 0: method 2
    std::string nip;
    bool fiscal = false;
    CivilDate fiscalisedOn;
    bool hasInspection = false;
    CivilDate inspectionDate;
    std::string inspectionMessage;
    std::string uniqueNumber = "TST00012345";

    // The day's counters.
    RateTotals dailyTotals{};
    Amount cash = 0;
    std::int32_t lastReceipt = 0;
    std::int32_t receiptsToday = 0;
    std::int32_t cancelledToday = 0;
    bool clockCorrectedToday = false;

    // Fiscal memory.
    std::vector<FiscalRecord> fiscalMemory;
    std::int32_t zeroings = 0;

    std::map<std::string, GoodsEntry> goods;

    Transaction transaction;
    bool lastTransactionCorrect = true;
    BaseReport baseReport;

    // Error handling: the number of the last command's error (0: none), and
    // whether the printer has stopped taking commands after it.
    std::int32_t lastError = 0;
    bool stopped = false;

    // The mechanism.
    bool online = true;
    bool paperOut = false;
    bool mechanismError = false;
};

// The date of the newest fiscal-memory entry: the last daily report, or the
// fiscalisation when no report was made yet; nothing on a new printer.
std::optional<CivilDate> LastFiscalDate(const PrinterState& state);

// No sales since the last daily report.
bool DailyCountersZero(const PrinterState& state);

// A goods name the printer accepts: 1 to 40 printable bytes.
bool IsValidGoodsName(const std::string& name);

// Index 0 to 6 of a rate letter A to G; nothing for any other character.
std::optional<std::size_t> RateIndex(char letter);

}  // namespace varmo
