#pragma once
// When a visit begins and ends: it begins at the first contact with a
// printer, and ends when the port closes, another printer appears, or after
// four hours without a word from the printer. A cable pulled and plugged back
// to the same printer is the same visit.
#include <QDateTime>
#include <QString>
#include <optional>

#include "book/BookRecords.h"

namespace varmo::book {

class VisitBook;

inline constexpr qint64 kVisitSilenceSeconds = 4 * 60 * 60;

class VisitTracker {
public:
    // The printer answered with its unique number: the visit it belongs to,
    // begun here when there is none.
    qint64 Contact(VisitBook& book, const PrinterSeen& seen, const VisitStart& start);
    // A word from the printer of the current visit.
    void Heard(VisitBook& book, const QDateTime& when);
    // The port closed (not a re-plug): the visit ends.
    void Closed(VisitBook& book, const QDateTime& when);

    std::optional<qint64> Visit() const { return visit_; }
    std::optional<qint64> PrinterId() const { return printer_; }
    const QString& UniqueNumber() const { return unique_; }

private:
    std::optional<qint64> visit_;
    std::optional<qint64> printer_;
    QString unique_;
    QDateTime lastContact_;
};

}  // namespace varmo::book
