#include "book/VisitTracker.h"

#include "book/VisitBook.h"

namespace varmo::book {

qint64 VisitTracker::Contact(VisitBook& book, const PrinterSeen& seen, const VisitStart& start)
{
    const bool samePrinter = visit_ && unique_ == seen.uniqueNumber;
    const bool silentTooLong =
        visit_ && lastContact_.isValid() && lastContact_.secsTo(start.when) > kVisitSilenceSeconds;
    if (visit_ && (!samePrinter || silentTooLong))
        Closed(book, silentTooLong ? lastContact_ : start.when);
    book.Together(QStringLiteral("nie zapisano wizyty"), [&] {
        printer_ = book.NotePrinter(seen, start.when);
        if (!visit_)
            visit_ = book.BeginVisit(*printer_, start);
        else
            book.Touch(*visit_, start.when);
    });
    unique_ = seen.uniqueNumber;
    lastContact_ = start.when;
    return *visit_;
}

void VisitTracker::Heard(VisitBook& book, const QDateTime& when)
{
    if (!visit_)
        return;
    if (lastContact_.isValid() && lastContact_.secsTo(when) > kVisitSilenceSeconds) {
        Closed(book, lastContact_);
        return;
    }
    lastContact_ = when;
}

void VisitTracker::Closed(VisitBook& book, const QDateTime& when)
{
    const std::optional<qint64> visit = visit_;
    visit_.reset();
    printer_.reset();
    unique_.clear();
    if (visit)
        book.EndVisit(*visit, when);
}

}  // namespace varmo::book
