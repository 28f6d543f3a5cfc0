#pragma once
// The visit's own part of the service check's report: which printer, who
// came, the notes, what changed since the last visit and the next
// inspection. Empty parts are left out; a report without a book has none.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <string>

#include "protocol/Types.h"

namespace varmo {

struct VisitPart {
    std::string uniqueNumber;   // UTF-8
    std::string technician;
    std::string notes;
    Lines sinceLast;            // the lines of "Od ostatniej wizyty"
    Lines sinceLastRed;         // those of them that want attention
    bool firstVisit = false;    // the book knew no check of this printer
    std::optional<QDate> nextInspection;
    std::string bookProblem;    // why the visit is not in the book
};

std::string VisitPartText(const VisitPart& part);
QString VisitPartHtml(const VisitPart& part);

// "przeglad-TST00012345-2026-12-08-1412.pdf"; without the number when the
// printer is not known.
QString CheckReportNameFor(const std::string& uniqueNumber, const QDateTime& when,
                           const QString& extension = QStringLiteral("pdf"));

}  // namespace varmo
