#pragma once
// The console's visit, told as it goes: the book opened at its first need
// (never at start), the visit begun when a printer answers and ended when
// the port closes or another printer answers, the check, the people, the
// settings the printer took and the files written kept in it, and the
// shared book kept up to date behind the window's back. A write the book
// did not take is kept, in order, and tried again before the next one (a
// book that could not be opened is opened again then). Each trouble is
// told once through the listener; the console works on without the book.
#include <QDate>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <optional>

#include "book/BackgroundSync.h"
#include "book/Book.h"
#include "book/VisitTracker.h"
#include "exchange/ServiceCheck.h"

namespace varmo::book {

class VisitRecorder {
public:
    // The file; empty: the user's own. program: what the visits name.
    explicit VisitRecorder(QString path = {}, QString program = QStringLiteral("Varmo"));
    virtual ~VisitRecorder();
    VisitRecorder(const VisitRecorder&) = delete;
    VisitRecorder& operator=(const VisitRecorder&) = delete;

    // Told a trouble of the book once (the same trouble again is not told),
    // and where a damaged book was set aside.
    void OnTrouble(std::function<void(const QString&)> listener) { trouble_ = std::move(listener); }
    // Told each time the sync's attempt ends, and each time the writes
    // waiting here change.
    void OnSyncChange(std::function<void(const SyncState&)> listener) { syncListener_ = std::move(listener); }

    // An existing book looked over for damage in a thread of its own, so
    // that its first opening on the window's thread finds it done (a damaged
    // one is set aside there, and told at that opening).
    void LookOverSoon();
    // The book, or nothing when it cannot be had now (tried again each time).
    book::Book* Book();
    // Why the book is not there, or why the last write did not go; empty
    // when all went.
    const QString& Problem() const { return problem_; }

    // The printer answered with its cash information on the port.
    void PrinterMet(const CashInfo& cash, const QString& port);
    // The port closed by the operator, or another port chosen.
    void PortClosed();
    const QString& UniqueNumber() const { return unique_; }
    // A visit is going on: the book is open and the printer known.
    bool VisitGoingOn() const { return book_ && tracker_.Visit() && !unique_.isEmpty(); }
    bool Fiscal() const { return fiscal_; }

    // A check made: what changed since the last visit (read before the
    // check goes into the visit), then the check kept with who made it. The
    // same check recorded again replaces itself.
    std::optional<SinceLastVisit> RecordCheck(const CheckResult& result, const QString& technician,
                                              const QString& notes);
    // The technician's name and the note belong to the visit: kept without
    // a new check.
    void RecordPeople(const QString& technician, const QString& notes);
    void RecordSetting(const SettingRecord& setting);
    // The NIP the printer took ("NIP/Fiskalizacja"), kept in its record as
    // well as the setting: the printer has no command that reads it back.
    void RecordNip(const QString& nip, bool fiscalised, const SettingRecord& setting);
    void RecordFile(const QString& path);
    void RecordInspection(const QDate& date, const QString& message);
    // The printer's next inspection as the book has it.
    std::optional<QDate> NextInspection();

    // Writes the book has not taken yet.
    int Unsaved() const { return static_cast<int>(unsaved_.size()); }
    // "Księga: nie zapisano 2 wizyt"; empty when nothing waits.
    QString UnsavedText() const;

    // The company's shared book: the sync started for a server, ended for
    // none.
    void SetServer(const std::optional<ServerAddress>& address);
    // The sync, while a server is set; nothing otherwise.
    BackgroundSync* Sync() { return sync_.get(); }
    // An attempt now: a list is opened, a visit recorded.
    void SyncNow();

private:
    // A write into the visit of the printer it was made for.
    struct Write {
        QString uniqueNumber;
        std::function<void(VisitBook&, qint64 visit, qint64 printer)> body;
    };
    VisitBook& inner();
    void tell(const std::exception& error);
    bool visitReady();
    void keep(Write write);
    bool flush();
    void writeNow(const Write& write);
    void changed();

    QString path_;
    QString program_;
    std::unique_ptr<book::Book> book_;
    QString problem_;
    QString told_;
    VisitTracker tracker_;
    QString unique_;
    bool fiscal_ = false;
    QString port_;
    std::optional<CashInfo> pending_;  // met before the book was opened
    std::deque<Write> unsaved_;
    std::unique_ptr<BackgroundSync> sync_;
    std::function<void(const QString&)> trouble_;
    std::thread lookOver_;
    std::mutex lookMutex_;
    QString lookedAside_;  // where the look-over set a damaged book aside
    std::function<void(const SyncState&)> syncListener_;
};

}  // namespace varmo::book
