#include "console/dialogs/ConsoleBook.h"

#include <QDateTime>

#include "book/BackgroundSync.h"
#include "book/BookPath.h"
#include "book/CheckRecordOf.h"
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
        if (listener_)
            listener_(book::SyncState{});
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
    // Each trouble once: a book that stays read-only is not a box a write.
    if (problem_ == told_)
        return;
    told_ = problem_;
    CurrentPrompts().message(problem_, QStringLiteral("Księga wizyt"));
}

book::VisitBook* ConsoleBook::Book()
{
    if (book_ || tried_)
        return book_.get();
    tried_ = true;
    try {
        book_ = std::make_unique<book::VisitBook>(path_.isEmpty() ? book::DefaultBookPath() : path_);
        problem_.clear();
        if (!book_->AsideNotice().isEmpty())
            CurrentPrompts().message(book_->AsideNotice(), QStringLiteral("Księga wizyt"));
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
        tracker_.Contact(*book_, seen,
                         {QDateTime::currentDateTime(), book::StoredTechnician(), port_, QStringLiteral("Varmo")});
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
}

void ConsoleBook::PortClosed()
{
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

std::optional<book::SinceLastVisit> ConsoleBook::RecordCheck(const CheckResult& result,
                                                             const QString& technician,
                                                             const QString& notes)
{
    if (const std::optional<book::PrinterSeen> seen = book::PrinterSeenIn(result)) {
        unique_ = seen->uniqueNumber;
        fiscal_ = seen->fiscal;
    }
    if (!visitReady())
        return std::nullopt;
    try {
        const book::CheckRecord record = book::CheckRecordOf(result);
        std::optional<book::SinceLastVisit> since =
            book::SinceLastVisitIn(*book_, unique_, *tracker_.Visit(), record.values);
        book_->Together(QStringLiteral("nie zapisano przeglądu"), [&] {
            if (const std::optional<book::PrinterSeen> seen = book::PrinterSeenIn(result))
                book_->NotePrinter(*seen, result.started);
            book_->SetPeople(*tracker_.Visit(), technician, notes);
            book_->AddCheck(*tracker_.Visit(), record);
        });
        SyncNow();
        return since;
    } catch (const std::exception& error) {
        tell(error);
        return std::nullopt;
    }
}

void ConsoleBook::RecordSetting(const book::SettingRecord& setting)
{
    if (!visitReady())
        return;
    try {
        book_->AddSetting(*tracker_.Visit(), setting);
        SyncNow();
    } catch (const std::exception& error) {
        tell(error);
    }
}

void ConsoleBook::RecordFile(const QString& path)
{
    if (!visitReady())
        return;
    try {
        book_->AddFile(*tracker_.Visit(), path, QDateTime::currentDateTime());
    } catch (const std::exception& error) {
        tell(error);
    }
}

void ConsoleBook::RecordInspection(const QDate& date, const QString& message)
{
    if (!visitReady())
        return;
    try {
        book_->Together(QStringLiteral("nie zapisano daty przeglądu"), [&] {
            book_->SetNextInspection(*tracker_.PrinterId(), date, message);
            book_->AddSetting(*tracker_.Visit(), {QDateTime::currentDateTime(), QStringLiteral("Data przeglądu"),
                                                  date.toString(Qt::ISODate) + QLatin1Char(' ') + message,
                                                  {}, {}});
        });
    } catch (const std::exception& error) {
        tell(error);
    }
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
