#include "book/BookColumns.h"

namespace varmo::book {

namespace {

template <typename T, std::size_t N>
QString numbers(const std::array<T, N>& values)
{
    QStringList parts;
    for (const T value : values)
        parts << QString::number(value);
    return parts.join(QLatin1Char(','));
}

template <typename T, std::size_t N>
std::optional<std::array<T, N>> numbersFrom(const QVariant& column)
{
    if (column.isNull())
        return std::nullopt;
    const QStringList parts = column.toString().split(QLatin1Char(','));
    if (parts.size() != static_cast<qsizetype>(N))
        return std::nullopt;
    std::array<T, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        bool ok = false;
        values[i] = static_cast<T>(parts[static_cast<qsizetype>(i)].toLongLong(&ok));
        if (!ok)
            return std::nullopt;
    }
    return values;
}

}  // namespace

QString RatesColumn(const Rates& rates) { return numbers(rates); }
std::optional<Rates> RatesFrom(const QVariant& column) { return numbersFrom<std::int32_t, 7>(column); }
QString TotalsColumn(const Totals& totals) { return numbers(totals); }
std::optional<Totals> TotalsFrom(const QVariant& column) { return numbersFrom<Amount, 7>(column); }

QString HeaderColumn(const QStringList& header)
{
    return header.join(QLatin1Char('\n'));
}

std::optional<QStringList> HeaderFrom(const QVariant& column)
{
    if (column.isNull())
        return std::nullopt;
    const QString text = column.toString();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QString LooseText(const QString& text)
{
    static const QString polish = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    static const QString plain = QStringLiteral("acelnoszzacelnoszz");
    QString loose = text;
    for (QChar& c : loose) {
        const qsizetype at = polish.indexOf(c);
        if (at >= 0)
            c = plain[at];
    }
    return loose.toLower();
}

}  // namespace varmo::book
