#pragma once
// The visit book's front door: all the console and varmo-cli ask of it. A
// book is opened by its file; its lists are read from this computer, or from
// the company's server where the caller asks; a visit told whole is recorded
// in one transaction; the shared book is sent to, and its state put in words.
// SQL, the outbox and the server stay behind it. The console's visit, told
// as it goes, is the VisitRecorder's (book/VisitRecorder.h).
#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "book/BookError.h"
#include "book/BookExport.h"
#include "book/BookJson.h"
#include "book/BookLibraries.h"
#include "book/BookPath.h"
#include "book/BookRecords.h"
#include "book/BookSync.h"
#include "book/BookTime.h"
#include "book/CheckRecordOf.h"
#include "book/EscapedJson.h"
#include "book/ServerAddress.h"
#include "book/ServerSecret.h"
#include "book/SinceLastVisit.h"
#include "book/StoredBook.h"

namespace varmo::book {

class VisitBook;
class BookReader;
class ServerBook;

// A visit told whole at once, as varmo-cli makes one: the printer, who and
// where, and what was done; begun, filled and ended in one transaction.
struct WholeVisit {
    PrinterSeen printer;
    VisitStart start;
    QString notes;
    std::optional<CheckRecord> check;
    std::vector<SettingRecord> settings;
    std::optional<std::pair<QDate, QString>> nextInspection;  // the date and its message
    QStringList files;
    QDateTime ended;
};

// The printer list and a printer's visits, from this computer's book or the
// server's.
class BookLists {
public:
    BookLists(std::unique_ptr<ServerBook> server, BookReader reader, QString name, QString source,
              QString trouble);
    ~BookLists();
    std::vector<PrinterRow> Printers(const QString& search, std::optional<int> dueWithin);
    std::optional<PrinterRow> Printer(const QString& uniqueNumber);
    std::vector<VisitRow> Visits(const QString& uniqueNumber);
    // The book read, as a message names it: the file, or the server.
    const QString& Name() const { return name_; }
    // Where the lists come from, in words; empty without a server.
    const QString& Source() const { return source_; }
    // Why the server's own could not be read; empty when they were.
    const QString& Trouble() const { return trouble_; }

private:
    std::unique_ptr<ServerBook> server_;
    std::unique_ptr<BookReader> reader_;
    QString name_;
    QString source_;
    QString trouble_;
};

class Book {
public:
    // The file; empty: the user's own. BookError when it cannot be had.
    // writeAttempts: see VisitBook.
    explicit Book(const QString& path = {}, int writeAttempts = 3);
    ~Book();
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    const QString& Path() const;
    // A damaged file set aside as it was opened: where it went.
    const QString& AsideNotice() const;

    std::vector<PrinterRow> Printers(const QString& search = {},
                                     std::optional<int> dueWithin = std::nullopt,
                                     const QDate& today = QDate::currentDate());
    std::optional<PrinterRow> Printer(const QString& uniqueNumber,
                                      const QDate& today = QDate::currentDate());
    std::vector<VisitRow> Visits(const QString& uniqueNumber);
    std::optional<VisitDetail> Visit(qint64 visitId);
    // What changed since the printer's last check outside leftOut (-1: none).
    std::optional<SinceLastVisit> SinceLast(const QString& uniqueNumber, qint64 leftOut,
                                            const CheckValues& now);

    // The visit's id.
    qint64 Record(const WholeVisit& visit);
    // Visits left open by consoles that died, ended where last heard.
    int EndAbandonedVisits();
    // How many visits went into the file.
    int Export(ExportFormat format, const QString& path);

    // What waits sent to the server (and its news copied down unless asked
    // not to); never throws for the server's trouble, which the state says.
    SyncState Send(const ServerAddress& server, const SyncOptions& options = {});
    // The state without asking the server.
    SyncState State(bool serverSet);
    // The lists from the server when one is given and answers, else from
    // this book, with where they came from said.
    std::unique_ptr<BookLists> Lists(const std::optional<ServerAddress>& server);

private:
    friend class VisitRecorder;
    std::unique_ptr<VisitBook> book_;
};

}  // namespace varmo::book
