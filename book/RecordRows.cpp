#include "book/RecordRows.h"

#include "book/BookColumns.h"
#include "book/BookTime.h"

#include <stdexcept>
#include <string>

namespace varmo::book {

namespace {

// A row of a table filled by its columns' names; a name the table does not
// have is a fault of this file, caught by the book's tests.
class Filling {
public:
    explicit Filling(const Table& table) : table_(table), row_(table.Travelling().size()) {}
    Filling& Set(const char* column, const QVariant& value)
    {
        const int at = table_.IndexOf(column);
        if (at < 0)
            throw std::logic_error(std::string(table_.name) + " has no column " + column);
        row_[at] = value;
        return *this;
    }
    Row Done() const { return row_; }

private:
    const Table& table_;
    Row row_;
};

// Text columns are never NULL: an empty name is an empty text.
QString text(const QString& value)
{
    return value.isNull() ? QStringLiteral("") : value;
}

template <typename T>
std::optional<T> numberIn(const Row& row, const Table& table, const char* column)
{
    const QVariant value = ValueIn(row, table, column);
    if (value.isNull())
        return std::nullopt;
    return static_cast<T>(value.toLongLong());
}

}  // namespace

Row CheckRow(const CheckRecord& check)
{
    const CheckValues& v = check.values;
    return Filling(ChecksTable())
        .Set("made", BookTime(v.made))
        .Set("clock_offset", v.clockOffset ? QVariant(static_cast<qint64>(*v.clockOffset)) : QVariant())
        .Set("error_number", OrNull(v.errorNumber))
        .Set("zeroings", OrNull(v.zeroings))
        .Set("last_receipt", OrNull(v.lastReceipt))
        .Set("totals", v.totals ? QVariant(TotalsColumn(*v.totals)) : QVariant())
        .Set("header", v.header ? QVariant(HeaderColumn(*v.header)) : QVariant())
        .Set("rates", v.rates ? QVariant(RatesColumn(*v.rates)) : QVariant())
        .Set("fiscal", v.fiscal ? QVariant(*v.fiscal ? 1 : 0) : QVariant())
        .Set("attention", text(check.attention.join(QLatin1Char('\n'))))
        .Set("steps", check.stepsJson.isEmpty() ? QStringLiteral("[]") : check.stepsJson)
        .Done();
}

CheckRecord CheckFrom(const Row& row)
{
    const Table& t = ChecksTable();
    CheckRecord check;
    CheckValues& v = check.values;
    v.made = FromBookTime(ValueIn(row, t, "made").toString());
    v.clockOffset = numberIn<std::int64_t>(row, t, "clock_offset");
    v.errorNumber = numberIn<std::int32_t>(row, t, "error_number");
    v.zeroings = numberIn<std::int32_t>(row, t, "zeroings");
    v.lastReceipt = numberIn<std::int32_t>(row, t, "last_receipt");
    v.totals = TotalsFrom(ValueIn(row, t, "totals"));
    v.header = HeaderFrom(ValueIn(row, t, "header"));
    v.rates = RatesFrom(ValueIn(row, t, "rates"));
    if (const std::optional<int> fiscal = numberIn<int>(row, t, "fiscal"))
        v.fiscal = *fiscal != 0;
    const QString attention = ValueIn(row, t, "attention").toString();
    check.attention = attention.isEmpty() ? QStringList() : attention.split(QLatin1Char('\n'));
    check.stepsJson = ValueIn(row, t, "steps").toString();
    return check;
}

Row SettingRow(const SettingRecord& setting)
{
    return Filling(SettingsTable())
        .Set("made", BookTime(setting.made))
        .Set("what", text(setting.what))
        .Set("detail", text(setting.detail))
        .Set("offset_before",
             setting.offsetBefore ? QVariant(static_cast<qint64>(*setting.offsetBefore)) : QVariant())
        .Set("offset_after",
             setting.offsetAfter ? QVariant(static_cast<qint64>(*setting.offsetAfter)) : QVariant())
        .Done();
}

SettingRecord SettingFrom(const Row& row)
{
    const Table& t = SettingsTable();
    SettingRecord setting;
    setting.made = FromBookTime(ValueIn(row, t, "made").toString());
    setting.what = ValueIn(row, t, "what").toString();
    setting.detail = ValueIn(row, t, "detail").toString();
    setting.offsetBefore = numberIn<std::int64_t>(row, t, "offset_before");
    setting.offsetAfter = numberIn<std::int64_t>(row, t, "offset_after");
    return setting;
}

}  // namespace varmo::book
