#pragma once
// What changed since the printer's last visit: the clock's drift a day (the
// corrections made between counted out), the receipts and sales since, a
// header or rates changed by someone else, fiscal memory zeroings, the error
// left then. The service check and its report show it beside today's values.
#include <QDateTime>
#include <optional>
#include <vector>

#include "book/BookRecords.h"
#include "protocol/Types.h"

namespace varmo::book {

class VisitBook;

struct SinceLastVisit {
    QDateTime then;
    double days = 0;
    std::optional<std::int64_t> offsetThen;
    std::optional<std::int64_t> offsetNow;
    int corrections = 0;             // clock settings in between
    std::optional<double> driftPerDay;  // seconds a day, + when it runs fast
    std::optional<std::int32_t> lastReceiptThen;
    std::optional<std::int32_t> receiptsSince;
    std::optional<Totals> salesSince;  // while the day's totals only grew
    std::optional<bool> headerChanged;
    std::optional<bool> ratesChanged;
    std::optional<std::int32_t> zeroingsSince;  // above 0 wants attention
    std::optional<std::int32_t> errorThen;

    // UTF-8 lines as the window and the report show them; red the ones
    // that want the technician's eye.
    Lines Describe() const;
    Lines Red() const;
};

// now against then, with the clock settings made since then.
SinceLastVisit CompareWithLast(const CheckValues& then, const CheckValues& now,
                               const std::vector<SettingRecord>& clockSettings);

// The same from the book: nothing when the printer had no check before this
// visit. BookError when the book cannot be read.
std::optional<SinceLastVisit> SinceLastVisitIn(VisitBook& book, const QString& uniqueNumber,
                                               qint64 thisVisit, const CheckValues& now);

}  // namespace varmo::book
