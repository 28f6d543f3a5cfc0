#include "simulator/Calendar.h"

namespace varmo {

namespace {

std::string twoDigit(std::int32_t value)
{
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

}  // namespace

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month)
{
    static constexpr std::int32_t days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

bool IsValidDate(const CivilDate& date)
{
    return date.year >= 2000 && date.year <= 2099 && date.month >= 1 && date.month <= 12
           && date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

bool IsValidTime(const CivilTime& time)
{
    return IsValidDate(time.date) && time.hour >= 0 && time.hour <= 23 && time.minute >= 0
           && time.minute <= 59 && time.second >= 0 && time.second <= 59;
}

std::optional<CivilDate> DateOfFields(std::int64_t year, std::int64_t month, std::int64_t day)
{
    if (year < 0 || year > 99 || month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    const CivilDate date{static_cast<std::int32_t>(2000 + year), static_cast<std::int32_t>(month),
                         static_cast<std::int32_t>(day)};
    if (!IsValidDate(date))
        return std::nullopt;
    return date;
}

// The proleptic Gregorian day count with 1970-01-01 as day 0.
std::int64_t DaysFromCivil(const CivilDate& date)
{
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t m = date.month;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = floorDiv(days, 146097);
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return CivilDate{static_cast<std::int32_t>(year), static_cast<std::int32_t>(month),
                     static_cast<std::int32_t>(day)};
}

LocalSeconds ToLocalSeconds(const CivilTime& time)
{
    return DaysFromCivil(time.date) * 86400 + time.hour * 3600 + time.minute * 60 + time.second;
}

CivilTime FromLocalSeconds(LocalSeconds seconds)
{
    const std::int64_t days = floorDiv(seconds, 86400);
    const std::int64_t rest = seconds - days * 86400;
    CivilTime time;
    time.date = CivilFromDays(days);
    time.hour = static_cast<std::int32_t>(rest / 3600);
    time.minute = static_cast<std::int32_t>(rest % 3600 / 60);
    time.second = static_cast<std::int32_t>(rest % 60);
    return time;
}

std::string DateText(const CivilDate& date)
{
    return std::to_string(date.year) + "-" + twoDigit(date.month) + "-" + twoDigit(date.day);
}

std::string DateTimeText(const CivilTime& time)
{
    return DateText(time.date) + " " + twoDigit(time.hour) + ":" + twoDigit(time.minute);
}

}  // namespace varmo
