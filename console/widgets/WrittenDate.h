#pragma once
// A date and time typed as people write them: "2026-12-09 08:30",
// "2026-12-09", "09.12.2026", "26-12-09" or the digits alone ("20261209",
// "202612090830"). A separator closes the part being typed (a single digit
// then gets its leading zero), a separator typed where the part is still
// empty is stepped over, and a full part moves on to the next by itself.
#include <QChar>
#include <QString>
#include <array>

namespace varmo {

enum class DatePart { Year, Month, Day, Hour, Minute };
inline constexpr std::size_t kDateParts = 5;

// The two characters of each part of 20YY-MM-DD HH:MM that what was typed
// so far gives, in the order above: empty where nothing was typed for the
// part, a digit and a blank where one digit of it stands so far. The year
// is its last two digits: a year typed whole begins with 20. from: the part
// the typing began in; typing begun in the time (Hour or Minute) is a time,
// unless it shows itself a date ("-", "." or "/", or eight digits from 20).
std::array<QString, kDateParts> ReadWrittenDate(const QString& typed,
                                                DatePart from = DatePart::Year);

// A digit, or a character that separates the parts of a written date.
bool IsWrittenDateChar(QChar c);
bool IsDateSeparator(QChar c);

// The date the three parts name, when they are all typed and it exists.
bool IsRealDate(int yearAfter2000, int month, int day);

}  // namespace varmo
