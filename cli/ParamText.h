#pragma once
// The parameters of the commands as they are typed on the command line or in
// a script: numbers, dates, times, amounts, rate letters and codes, escaped
// sequences, and texts that go to the printer in Windows-1250. Each reader
// fails with a usage error that names the parameter and what it got.
#include <cstdint>
#include <string>

#include "protocol/Types.h"

namespace varmo::cli {

// A whole number as the console reads typed numbers.
std::int32_t IntegerParam(const std::string& text, const char* what);

struct DateParam {
    std::int32_t year = 0;  // two digits: years after 2000
    std::int32_t month = 0;
    std::int32_t day = 0;
};
// YYYY-MM-DD with a year from 2000; the printer's own bounds decide the rest.
DateParam DateArg(const std::string& text, const char* what);

struct TimeParam {
    std::int32_t hour = 0;
    std::int32_t minute = 0;
};
// HH:MM.
TimeParam TimeArg(const std::string& text, const char* what);

// 12, 12.5, 0.01, -3.25 (at most four decimals; a comma counts as the point).
Amount AmountArg(const std::string& text, const char* what);

// One rate letter A to G (a to g is taken in upper case).
char RateLetterArg(const std::string& text);

// 0 to 99 percent, ZW exempt, - or --- not in use.
std::int32_t RateCodeArg(const std::string& text);

// UTF-8 text as Windows-1250 bytes; a character the printer cannot carry is
// a usage error rather than a silent '?'.
std::string PrinterText(const std::string& text, const char* what);

// Escaped text (<ESC>, <CR>, <FF>, <<, <$hh>) as bytes.
std::string EscapedArg(const std::string& text);

}  // namespace varmo::cli
