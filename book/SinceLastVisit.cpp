#include "book/SinceLastVisit.h"

#include <QString>
#include <cmath>

#include "book/VisitBook.h"

namespace varmo::book {

namespace {

// Under an hour apart, a drift a day would be mostly the reading's own error.
constexpr double kShortestDriftDays = 1.0 / 24.0;

std::string amountText(Amount amount)
{
    return QString::number(static_cast<double>(amount) / kAmountOne, 'f', 2).toStdString();
}

std::string signedText(double value, int decimals)
{
    return (value > 0 ? "+" : "") +
           QString::number(value, 'f', decimals).replace(QLatin1Char('.'), QLatin1Char(',')).toStdString();
}

}  // namespace

SinceLastVisit CompareWithLast(const CheckValues& then, const CheckValues& now,
                               const std::vector<SettingRecord>& clockSettings)
{
    SinceLastVisit since;
    since.then = then.made;
    since.days = static_cast<double>(then.made.secsTo(now.made)) / 86400.0;
    since.offsetThen = then.clockOffset;
    since.offsetNow = now.clockOffset;
    std::int64_t corrected = 0;
    bool correctionsKnown = true;
    for (const SettingRecord& setting : clockSettings) {
        ++since.corrections;
        if (setting.offsetBefore && setting.offsetAfter)
            corrected += *setting.offsetAfter - *setting.offsetBefore;
        else
            correctionsKnown = false;
    }
    if (then.clockOffset && now.clockOffset && correctionsKnown &&
        since.days >= kShortestDriftDays)
        since.driftPerDay =
            static_cast<double>(*now.clockOffset - *then.clockOffset - corrected) / since.days;
    since.lastReceiptThen = then.lastReceipt;
    if (then.lastReceipt && now.lastReceipt && *now.lastReceipt >= *then.lastReceipt)
        since.receiptsSince = *now.lastReceipt - *then.lastReceipt;
    // The totals are the day's: a difference means something only when no
    // daily report set them to zero between, that is when none fell.
    if (then.totals && now.totals && then.made.date() == now.made.date()) {
        Totals sales{};
        bool grew = true;
        for (std::size_t i = 0; i < sales.size(); ++i) {
            sales[i] = (*now.totals)[i] - (*then.totals)[i];
            grew = grew && sales[i] >= 0;
        }
        if (grew)
            since.salesSince = sales;
    }
    if (then.header && now.header)
        since.headerChanged = *then.header != *now.header;
    if (then.rates && now.rates)
        since.ratesChanged = *then.rates != *now.rates;
    if (then.zeroings && now.zeroings)
        since.zeroingsSince = *now.zeroings - *then.zeroings;
    since.errorThen = then.errorNumber;
    return since;
}

Lines SinceLastVisit::Describe() const
{
    Lines lines;
    lines.push_back("Ostatnia wizyta: " +
                    then.toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString() + " (" +
                    std::to_string(static_cast<long long>(std::floor(days))) + " dni temu)");
    if (driftPerDay)
        lines.push_back("Dryf zegara: " + signedText(*driftPerDay, 1) + " s na dobę (różnica wtedy " +
                        std::to_string(*offsetThen) + " s, teraz " + std::to_string(*offsetNow) +
                        " s, korekty: " + std::to_string(corrections) + ")");
    else
        lines.push_back("Dryf zegara: nieznany (" +
                        std::string(days < kShortestDriftDays && offsetThen && offsetNow
                                        ? "za krótko od ostatniej wizyty"
                                        : "brak pomiaru zegara albo korekta bez pomiaru") +
                        ")");
    if (receiptsSince)
        lines.push_back("Paragony od ostatniej wizyty: " + std::to_string(*receiptsSince) +
                        " (wtedy ostatni nr " + std::to_string(*lastReceiptThen) + ")");
    else
        lines.push_back("Paragony od ostatniej wizyty: nieznane");
    if (salesSince) {
        std::string sales = "Sprzedaż od ostatniej wizyty:";
        for (std::size_t i = 0; i < salesSince->size(); ++i)
            sales += std::string(" ") + static_cast<char>('A' + i) + " " + amountText((*salesSince)[i]);
        lines.push_back(sales);
    } else {
        lines.push_back("Sprzedaż od ostatniej wizyty: nieznana (sumy dobowe zerowane raportem)");
    }
    if (headerChanged)
        lines.push_back(*headerChanged ? "Nagłówek: zmieniony" : "Nagłówek: bez zmian");
    if (ratesChanged)
        lines.push_back(*ratesChanged ? "Stawki: zmienione" : "Stawki: bez zmian");
    if (zeroingsSince)
        lines.push_back(*zeroingsSince > 0
                            ? "Zerowania pamięci fiskalnej: przybyło " + std::to_string(*zeroingsSince)
                            : "Zerowania pamięci fiskalnej: bez zmian");
    if (errorThen)
        lines.push_back("Błąd przy ostatniej wizycie: " + std::to_string(*errorThen));
    return lines;
}

Lines SinceLastVisit::Red() const
{
    Lines red;
    if (zeroingsSince && *zeroingsSince > 0)
        red.push_back("Zerowania pamięci fiskalnej: przybyło " + std::to_string(*zeroingsSince));
    return red;
}

std::optional<SinceLastVisit> SinceLastVisitIn(VisitBook& book, const QString& uniqueNumber,
                                               qint64 thisVisit, const CheckValues& now)
{
    const std::optional<CheckValues> then = book.LastCheckBefore(uniqueNumber, thisVisit);
    if (!then)
        return std::nullopt;
    return CompareWithLast(*then, now, book.ClockSettingsSince(uniqueNumber, then->made));
}

}  // namespace varmo::book
