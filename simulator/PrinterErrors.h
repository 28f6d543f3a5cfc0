#pragma once
// The error numbers the virtual printer records; the console explains each one
// with its own text for that number.
#include <cstdint>

namespace varmo::printer_error {

constexpr std::int32_t kNone = 0;
constexpr std::int32_t kChecksum = 2;
constexpr std::int32_t kParameterCount = 3;
constexpr std::int32_t kParameter = 4;
constexpr std::int32_t kBeforeLastRecord = 7;
constexpr std::int32_t kTotalsNotZero = 8;
constexpr std::int32_t kClockCorrectedAgain = 10;
constexpr std::int32_t kRates = 11;
constexpr std::int32_t kHeader = 12;
constexpr std::int32_t kAlreadyFiscal = 13;
constexpr std::int32_t kNip = 14;
constexpr std::int32_t kName = 16;
constexpr std::int32_t kQuantity = 17;
constexpr std::int32_t kRate = 18;
constexpr std::int32_t kPrice = 19;
constexpr std::int32_t kGross = 20;
constexpr std::int32_t kLineOutsideTransaction = 21;
constexpr std::int32_t kNoSale = 23;
constexpr std::int32_t kTotal = 26;
constexpr std::int32_t kDailyCounterFull = 28;
constexpr std::int32_t kNotInTransaction = 29;
constexpr std::int32_t kPayment = 30;
constexpr std::int32_t kNoHeader = 40;
constexpr std::int32_t kRegisterText = 41;
constexpr std::int32_t kCashierText = 42;
constexpr std::int32_t kNotNow = 82;
constexpr std::int32_t kSaleTooLarge = 94;
constexpr std::int32_t kInTransaction = 95;

}  // namespace varmo::printer_error
