#pragma once
// How the book writes lists into its text columns and reads them back: rates
// and totals as numbers separated by commas, a header as its lines separated
// by LF; and the text a search compares, without Polish letters.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

#include "book/BookRecords.h"

namespace varmo::book {

QString RatesColumn(const Rates& rates);
std::optional<Rates> RatesFrom(const QVariant& column);
QString TotalsColumn(const Totals& totals);
std::optional<Totals> TotalsFrom(const QVariant& column);
QString HeaderColumn(const QStringList& header);
std::optional<QStringList> HeaderFrom(const QVariant& column);

// Lower case, Polish letters as their plain Latin ones: "Łódź" is "lodz".
QString LooseText(const QString& text);

// A null column for an empty optional.
template <typename T>
QVariant OrNull(const std::optional<T>& value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

}  // namespace varmo::book
