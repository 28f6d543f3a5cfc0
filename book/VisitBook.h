#pragma once
// The visit book: one SQLite file, opened when first needed, brought to this
// program's schema on opening. Every write is one transaction: it is there
// whole or not at all, whatever happens to the program or the disk meanwhile,
// and a writer that meets another waits its turn. Every trouble is a
// BookError with a Polish message; the caller tells it and goes on without
// the book. (Opening and writing: BookFile.cpp.)
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "book/BookRecords.h"
#include "book/BookTime.h"

namespace varmo::book {

class VisitBook {
public:
    // Opens the file, made with its folder on first use. A file that is no
    // database, or a damaged one, is put aside under a name of its own, as
    // it was, and a new book is made (AsideNotice says where it went). A
    // database of another program is refused (Trouble::Foreign) untouched.
    // writeAttempts: how many waits of a few seconds a write gives another
    // writer before it is given up (the console keeps what it gave up and
    // tries again later, so it waits once and keeps the window painting).
    explicit VisitBook(const QString& path, int writeAttempts = 3);
    ~VisitBook();
    VisitBook(const VisitBook&) = delete;
    VisitBook& operator=(const VisitBook&) = delete;

    const QString& Path() const { return path_; }
    const QString& AsideNotice() const { return asideNotice_; }

    // Writes. Each is a transaction of its own unless inside Together.
    qint64 NotePrinter(const PrinterSeen& seen, const QDateTime& when);
    qint64 BeginVisit(qint64 printerId, const VisitStart& start);
    // Visits this computer's consoles left open when they died (their holder
    // no longer runs) ended at their last recorded moment; how many.
    int EndAbandonedVisits();
    void Touch(qint64 visitId, const QDateTime& when);
    void EndVisit(qint64 visitId, const QDateTime& when);
    void SetPeople(qint64 visitId, const QString& technician, const QString& notes);
    // A check is kept under its id: the same check saved again replaces
    // itself, never a second row.
    void AddCheck(qint64 visitId, const CheckRecord& check);
    void AddSetting(qint64 visitId, const SettingRecord& setting);
    void AddFile(qint64 visitId, const QString& path, const QDateTime& when);
    void SetNextInspection(qint64 printerId, const QDate& date, const QString& message);
    // Several writes as one transaction.
    void Together(const QString& doing, const std::function<void()>& writes);

    // Reads. search matches the unique number, the NIP and the header,
    // Polish letters or not; dueWithin keeps printers whose next inspection
    // falls within that many days of today, overdue ones included.
    std::vector<PrinterRow> Printers(const QString& search = {},
                                     std::optional<int> dueWithin = std::nullopt,
                                     const QDate& today = QDate::currentDate());
    std::optional<PrinterRow> Printer(const QString& uniqueNumber,
                                      const QDate& today = QDate::currentDate());
    std::vector<VisitRow> Visits(const QString& uniqueNumber);
    std::optional<VisitDetail> Visit(qint64 visitId);
    // The last check of the printer made outside the given visit, and the
    // clock settings made since it.
    std::optional<CheckValues> LastCheckBefore(const QString& uniqueNumber, qint64 visitId);
    std::vector<SettingRecord> ClockSettingsSince(const QString& uniqueNumber,
                                                  const QDateTime& since);

    // How many rows each table holds; for the export and the benchmark.
    QSqlDatabase& Database() { return db_; }

private:
    void open();
    void close();
    void identify();
    void prepare();
    void lookOver();
    void putAside();
    void write(const QString& doing, const std::function<void()>& body);

    QString path_;
    QString connection_;
    QSqlDatabase db_;
    QString asideNotice_;
    int depth_ = 0;
    int writeAttempts_ = 3;
};

// Loads the SQLite driver without opening a book: a program that will open
// its book only while a port is open loads the driver first (under Wine a
// driver loaded then brought the program down).
void LoadBookDriver();

}  // namespace varmo::book
