#include "console/dialogs/ConsoleBook.h"

#include <QDateTime>

#include "book/BackgroundSync.h"
#include "book/BookPath.h"
#include "book/CheckRecordOf.h"
#include "book/BookTrouble.h"
#include "book/VisitBook.h"
#include "console/base/AppTitle.h"
#include "console/base/HandlerGuard.h"
#include "console/base/Prompts.h"
#include "book/StoredBook.h"

namespace varmo {

ConsoleBook::ConsoleBook(QString path) : path_(std::move(path))
{
#ifdef Q_OS_WIN
    // The book opens while the port is open; under Wine the SQLite driver
    // loaded at that moment brought the program down, loaded now it does not.
    book::LoadBookDriver();
#endif
}

ConsoleBook::~ConsoleBook()
{
    sync_.reset();
    if (book_ && tracker_.Visit()) {
        try {
            tracker_.Closed(*book_, QDateTime::currentDateTime());
        } catch (const std::exception&) {
            // The window is going: the visit stays open, and the next
            // contact with the printer after four hours starts a new one.
        }
    }
}

void ConsoleBook::ServerChanged()
{
    QString why;
    const std::optional<book::ServerAddress> address = book::StoredServerAddress(&why);
    if (!why.isEmpty())
        CurrentPrompts().message(QStringLiteral("Księga wizyt: ") + why, QStringLiteral("Księga wizyt"));
    if (!address) {
        sync_.reset();
        changed();
        return;
    }
    serverTold_.clear();
    if (!sync_) {
        sync_ = std::make_unique<book::BackgroundSync>(path_.isEmpty() ? book::DefaultBookPath() : path_);
        QObject::connect(sync_.get(), &book::BackgroundSync::changed, sync_.get(), [this] {
            Guarded([&] {
                const book::SyncState state = sync_->State();
                if (listener_)
                    listener_(state);
                // Once each: a wrong password is not a box every few minutes.
                if (state.trouble && book::SettingsTrouble(*state.trouble) && state.reason != serverTold_) {
                    serverTold_ = state.reason;
                    CurrentPrompts().message(QStringLiteral("Księga wizyt na serwerze: %1. Wizyty zostają "
                                                            "na tym komputerze.")
                                                 .arg(state.reason),
                                             QStringLiteral("Księga wizyt"));
                }
            });
        });
    }
    sync_->SetServer(address);
    sync_->Nudge();
}

void ConsoleBook::OnSyncChange(std::function<void(const book::SyncState&)> listener)
{
    listener_ = std::move(listener);
}

void ConsoleBook::SyncNow()
{
    if (sync_)
        sync_->Nudge();
}

void ConsoleBook::tell(const std::exception& error)
{
    problem_ = QString::fromUtf8(error.what());
    // Each trouble once: a book that stays read-only or held by another
    // program is not a box a write, whatever the write was.
    const auto* bookError = dynamic_cast<const book::BookError*>(&error);
    const QString reason = bookError ? QStringLiteral("księga:%1").arg(static_cast<int>(bookError->Kind()))
                                     : problem_;
    if (reason == told_)
        return;
    told_ = reason;
    CurrentPrompts().message(problem_, QStringLiteral("Księga wizyt"));
}

book::VisitBook* ConsoleBook::Book()
{
    if (book_)
        return book_.get();
    // Not opened before, or not openable then (a lock held at start): tried
    // again now, and its trouble told again only when it is another.
    try {
        // One wait for another writer, on the window's thread; what it does
        // not take waits here for the next write.
        book_ = std::make_unique<book::VisitBook>(path_.isEmpty() ? book::DefaultBookPath() : path_, 1);
        problem_.clear();
        if (!book_->AsideNotice().isEmpty())
            CurrentPrompts().message(book_->AsideNotice(), QStringLiteral("Księga wizyt"));
        // A visit a console left open when it died ends where it was last heard.
        book_->EndAbandonedVisits();
    } catch (const std::exception& error) {
        tell(error);
    }
    return book_.get();
}

bool ConsoleBook::visitReady()
{
    if (!Book() || unique_.isEmpty())
        return false;
    if (tracker_.Visit() && tracker_.UniqueNumber() == unique_)
        return true;
    try {
        book::PrinterSeen seen;
        seen.uniqueNumber = unique_;
        seen.fiscal = fiscal_;
        if (pending_)
            seen = book::PrinterSeenOf(*pending_);
        book::VisitStart start{QDateTime::currentDateTime(), book::StoredTechnician(), port_,
                               QStringLiteral("Varmo")};
        start.held = true;
        tracker_.Contact(*book_, seen, start);
        pending_.reset();
        return true;
    } catch (const std::exception& error) {
        tell(error);
        return false;
    }
}

void ConsoleBook::PrinterMet(const CashInfo& cash, const QString& port)
{
    const book::PrinterSeen seen = book::PrinterSeenOf(cash);
    unique_ = seen.uniqueNumber;
    fiscal_ = cash.fiscal;
    port_ = port;
    pending_ = cash;
    // The first contact with a printer is the book's first need: the visit
    // begins here (never at start-up).
    if (book_ && tracker_.Visit() && tracker_.UniqueNumber() == unique_) {
        try {
            tracker_.Heard(*book_, QDateTime::currentDateTime());
        } catch (const std::exception& error) {
            tell(error);
        }
    }
    visitReady();
    if (!unsaved_.empty() && flush())
        changed();
}

void ConsoleBook::PortClosed()
{
    if (!unsaved_.empty() && flush())
        changed();
    if (book_ && tracker_.Visit()) {
        try {
            tracker_.Closed(*book_, QDateTime::currentDateTime());
            SyncNow();
        } catch (const std::exception& error) {
            tell(error);
        }
    }
    unique_.clear();
    pending_.reset();
}

// The write goes into the visit under way when it is its printer's; one
// that waited past its visit gets a visit of its own, begun and ended now.
void ConsoleBook::writeNow(const Write& write)
{
    if (!book_)
        throw book::BookError(book::Trouble::CannotOpen, problem_.toStdString());
    if (write.uniqueNumber == unique_ && visitReady()) {
        write.body(*book_, *tracker_.Visit(), *tracker_.PrinterId());
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    book_->Together(QStringLiteral("nie zapisano wizyty"), [&] {
        book::PrinterSeen seen;
        seen.uniqueNumber = write.uniqueNumber;
        const qint64 printer = book_->NotePrinter(seen, now);
        const qint64 visit = book_->BeginVisit(
            printer, {now, book::StoredTechnician(), port_, QStringLiteral("Varmo")});
        write.body(*book_, visit, printer);
        book_->EndVisit(visit, now);
    });
}

// What waits goes first, in order; the first that fails stops the rest.
bool ConsoleBook::flush()
{
    if (!Book())
        return false;
    while (!unsaved_.empty()) {
        try {
            writeNow(unsaved_.front());
        } catch (const std::exception& error) {
            tell(error);
            return false;
        }
        unsaved_.pop_front();
    }
    return true;
}

void ConsoleBook::keep(Write write)
{
    if (write.uniqueNumber.isEmpty())
        return;
    const int before = Unsaved();
    unsaved_.push_back(std::move(write));
    if (flush())
        SyncNow();
    if (Unsaved() != before)
        changed();
}

void ConsoleBook::changed()
{
    if (!listener_)
        return;
    listener_(sync_ ? sync_->State() : book::SyncState{});
}

QString ConsoleBook::UnsavedText() const
{
    if (unsaved_.empty())
        return {};
    return QStringLiteral("Księga: nie zapisano %1 %2")
        .arg(Unsaved())
        .arg(Unsaved() == 1 ? QStringLiteral("wizyty") : QStringLiteral("wizyt"));
}

std::optional<book::SinceLastVisit> ConsoleBook::RecordCheck(const CheckResult& result,
                                                             const QString& technician,
                                                             const QString& notes)
{
    if (const std::optional<book::PrinterSeen> seen = book::PrinterSeenIn(result)) {
        unique_ = seen->uniqueNumber;
        fiscal_ = seen->fiscal;
    }
    // What changed is read before the check is kept; the visit under way
    // (none yet when the book would not take it) is left out.
    std::optional<book::SinceLastVisit> since;
    if (!unique_.isEmpty() && Book()) {
        try {
            const bool ours = tracker_.Visit() && tracker_.UniqueNumber() == unique_;
            since = book::SinceLastVisitIn(*book_, unique_, ours ? *tracker_.Visit() : -1,
                                           book::CheckRecordOf(result).values);
        } catch (const std::exception& error) {
            tell(error);
        }
    }
    keep({unique_, [result, technician, notes](book::VisitBook& book, qint64 visit, qint64) {
              book.Together(QStringLiteral("nie zapisano przeglądu"), [&] {
                  if (const std::optional<book::PrinterSeen> seen = book::PrinterSeenIn(result))
                      book.NotePrinter(*seen, result.started);
                  book.SetPeople(visit, technician, notes);
                  book.AddCheck(visit, book::CheckRecordOf(result));
              });
          }});
    return since;
}

void ConsoleBook::RecordPeople(const QString& technician, const QString& notes)
{
    keep({unique_, [technician, notes](book::VisitBook& book, qint64 visit, qint64) {
              book.SetPeople(visit, technician, notes);
          }});
}

void ConsoleBook::RecordSetting(const book::SettingRecord& setting)
{
    keep({unique_, [setting](book::VisitBook& book, qint64 visit, qint64) {
              book.AddSetting(visit, setting);
          }});
}

void ConsoleBook::RecordFile(const QString& path)
{
    const QDateTime when = QDateTime::currentDateTime();
    keep({unique_, [path, when](book::VisitBook& book, qint64 visit, qint64) {
              book.AddFile(visit, path, when);
          }});
}

void ConsoleBook::RecordInspection(const QDate& date, const QString& message)
{
    const QDateTime when = QDateTime::currentDateTime();
    keep({unique_, [date, message, when](book::VisitBook& book, qint64 visit, qint64 printer) {
              book.Together(QStringLiteral("nie zapisano daty przeglądu"), [&] {
                  book.SetNextInspection(printer, date, message);
                  book.AddSetting(visit, {when, QStringLiteral("Data przeglądu"),
                                          date.toString(Qt::ISODate) + QLatin1Char(' ') + message,
                                          {}, {}});
              });
          }});
}

std::optional<QDate> ConsoleBook::NextInspection()
{
    if (!Book() || unique_.isEmpty())
        return std::nullopt;
    try {
        if (const std::optional<book::PrinterRow> row = book_->Printer(unique_))
            return row->nextInspection;
    } catch (const std::exception& error) {
        tell(error);
    }
    return std::nullopt;
}

}  // namespace varmo
