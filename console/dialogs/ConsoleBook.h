#pragma once
// The console's visit book: opened when first needed (never at start), the
// visit followed as printers come and go, each trouble of the book told once
// in a box of its own; the console works on without the book meanwhile.
// A write the book did not take is kept, in order, and tried again before
// the next one (a book that could not be opened is opened again then); the
// status line counts what waits until it goes.
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "book/SinceLastVisit.h"
#include "book/VisitTracker.h"
#include "commands/ReadCommands.h"
#include "exchange/ServiceCheck.h"

namespace varmo {

namespace book {
class BackgroundSync;
class VisitBook;
struct SyncState;
}

class ConsoleBook {
public:
    // The file; empty: the user's own (the data folder of Varmo).
    explicit ConsoleBook(QString path = {});
    ~ConsoleBook();

    // The book, or nothing when it cannot be had (told once).
    book::VisitBook* Book();
    // Why the book is not there; empty when it is.
    const QString& Problem() const { return problem_; }

    // The printer answered with its cash information on the port.
    void PrinterMet(const CashInfo& cash, const QString& port);
    // The port closed by the operator, or another port chosen.
    void PortClosed();
    const QString& UniqueNumber() const { return unique_; }
    // A visit is going on: the book is open and the printer known.
    bool VisitGoingOn() const { return book_ && tracker_.Visit() && !unique_.isEmpty(); }
    bool Fiscal() const { return fiscal_; }

    // A check made: what changed since the last visit (looked up before the
    // check goes into the visit), then the check kept with who made it. The
    // same check recorded again replaces itself.
    std::optional<book::SinceLastVisit> RecordCheck(const CheckResult& result,
                                                    const QString& technician,
                                                    const QString& notes);
    // The technician's name and the note belong to the visit: kept without
    // a new check.
    void RecordPeople(const QString& technician, const QString& notes);
    void RecordSetting(const book::SettingRecord& setting);
    void RecordFile(const QString& path);
    void RecordInspection(const QDate& date, const QString& message);
    // The printer's next inspection as the book has it.
    std::optional<QDate> NextInspection();

    // The company's shared book: the server read from the settings (again,
    // after "Ustawienia" → "Księga wizyt…"), the background sync started
    // or stopped; the settings' troubles (a wrong password, no such
    // database) told once each in a box, the rest on the status line.
    void ServerChanged();
    // The sync, while a server is set; nothing otherwise.
    book::BackgroundSync* Sync() { return sync_.get(); }
    // Told each time an attempt ends, and each time the writes waiting here
    // change (the status line).
    void OnSyncChange(std::function<void(const book::SyncState&)> listener);
    // Writes the book has not taken yet; the last one's trouble.
    int Unsaved() const { return static_cast<int>(unsaved_.size()); }
    // "Księga: nie zapisano 2 wizyt"; empty when nothing waits.
    QString UnsavedText() const;
    // An attempt now: a list is opened, a visit recorded.
    void SyncNow();

private:
    // A write into the visit of the printer it was made for.
    struct Write {
        QString uniqueNumber;
        std::function<void(book::VisitBook&, qint64 visit, qint64 printer)> body;
    };
    void tell(const std::exception& error);
    bool visitReady();
    void keep(Write write);
    bool flush();
    void writeNow(const Write& write);
    void changed();

    QString path_;
    std::unique_ptr<book::VisitBook> book_;
    std::deque<Write> unsaved_;
    QString problem_;
    QString told_;
    book::VisitTracker tracker_;
    QString unique_;
    bool fiscal_ = false;
    QString port_;
    std::optional<CashInfo> pending_;  // met before the book was opened
    std::unique_ptr<book::BackgroundSync> sync_;
    std::function<void(const book::SyncState&)> listener_;
    QString serverTold_;
};

}  // namespace varmo
