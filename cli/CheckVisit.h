#pragma once
// varmo-cli check's visit: the printer looked up in the visit book before
// the report is written (what changed since the last visit, the next
// inspection), and the visit recorded after it, in one transaction. A book
// in trouble is told on standard error; the check goes on without it.
#include <QJsonObject>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "book/Book.h"
#include "exchange/ServiceCheck.h"
#include "report/VisitPart.h"

namespace varmo::cli {

struct VisitOptions {
    bool record = true;                 // not with --no-book
    std::optional<std::string> book;    // --book FILE; else the user's own
    std::optional<std::string> technician;  // else the stored name
    std::string note;
    std::optional<book::ServerAddress> server;  // the shared book, when set
};

// The book as chosen: the default file or --book; BookError when it cannot
// be opened, and so when the path names a folder, a FIFO or a device. A
// corrupt file put aside is told on err.
std::unique_ptr<book::Book> OpenChosenBook(const std::optional<std::string>& file,
                                           std::ostream& err);

class CheckVisit {
public:
    CheckVisit(const VisitOptions& options, std::ostream& err);
    ~CheckVisit();

    // Before the port opens: the book opened, or its trouble told. (The
    // SQLite driver is loaded before the line is in use: under Wine a driver
    // loaded while the port is open brought the program down.)
    void OpenBook();
    // Before the report: the book's look at the printer this check read.
    void LookUp(const CheckResult& result);
    // After it: the visit with the check and the files written, then sent
    // to the shared book when one is set (its trouble told, the visit kept
    // here all the same).
    void Record(const CheckResult& result, const std::vector<std::string>& files);

    const VisitPart& Part() const { return part_; }
    // After Record: why the visit is not in the book although it was to go
    // there (the book's trouble, in Polish); nothing when it was recorded
    // or --no-book said to keep none.
    std::optional<std::string> Unrecorded() const;
    QJsonObject Json() const;

private:
    void trouble(const std::exception& error);

    VisitOptions options_;
    std::ostream& err_;
    std::unique_ptr<book::Book> book_;
    VisitPart part_;
    std::optional<book::SinceLastVisit> since_;
    std::optional<qint64> visit_;
    std::optional<book::SyncState> sync_;
};

}  // namespace varmo::cli
