#pragma once
// Dates and times of the printer's own clock. The printer keeps civil local
// time without zones, so a moment is counted in "local seconds": seconds since
// 1970-01-01 00:00 of the calendar on the printer's display.
#include <cstdint>
#include <optional>
#include <string>

namespace varmo {

struct CivilDate {
    std::int32_t year = 2000;  // four digits
    std::int32_t month = 1;
    std::int32_t day = 1;

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
    friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

struct CivilTime {
    CivilDate date;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
};

using LocalSeconds = std::int64_t;

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month);

// A real day of the years the printer can show (2000 to 2099).
bool IsValidDate(const CivilDate& date);
bool IsValidTime(const CivilTime& time);

// A date from command fields: a two-digit year (2000 to 2099), a month and a
// day; nothing unless it is a real day.
std::optional<CivilDate> DateOfFields(std::int64_t year, std::int64_t month, std::int64_t day);

std::int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(std::int64_t days);

LocalSeconds ToLocalSeconds(const CivilTime& time);
CivilTime FromLocalSeconds(LocalSeconds seconds);

// 2024-05-07 and 2024-05-07 09:03, as the paper shows them.
std::string DateText(const CivilDate& date);
std::string DateTimeText(const CivilTime& time);

}  // namespace varmo
