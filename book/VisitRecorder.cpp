#include "book/VisitRecorder.h"

#include <QDateTime>
#include <QFileInfo>

#include "book/BookLibraries.h"
#include "book/BookTrouble.h"
#include "book/VisitBook.h"

namespace varmo::book {

VisitRecorder::VisitRecorder(QString path, QString program)
    : path_(std::move(path)), program_(std::move(program))
{
#ifdef Q_OS_WIN
    // The book opens while the port is open and the sync loads the server's
    // driver on its own thread; under Wine a library loaded at such a moment
    // locked the program or brought it down. Loaded now, on the window's
    // thread, before any port opens, they are not loaded again.
    LoadBookLibraries();
#endif
}

VisitRecorder::~VisitRecorder()
{
    if (lookOver_.joinable())
        lookOver_.join();
    sync_.reset();
    if (book_ && tracker_.Visit()) {
        try {
            tracker_.Closed(inner(), QDateTime::currentDateTime());
        } catch (const std::exception&) {
            // The window is going: the visit stays open, and the next start
            // ends it where it was last heard.
        }
    }
}

VisitBook& VisitRecorder::inner()
{
    return *book_->book_;
}

void VisitRecorder::SetServer(const std::optional<ServerAddress>& address)
{
    if (!address) {
        sync_.reset();
        changed();
        return;
    }
    if (!sync_) {
        sync_ = std::make_unique<BackgroundSync>(path_.isEmpty() ? DefaultBookPath() : path_);
        QObject::connect(sync_.get(), &BackgroundSync::changed, sync_.get(), [this] { changed(); });
    }
    sync_->SetServer(address);
    sync_->Nudge();
}

void VisitRecorder::LookOverSoon()
{
#ifdef Q_OS_WIN
    // Under Wine, SQLite's file locks taken from a second thread of the
    // console brought the program down; on Windows the first opening on the
    // window's thread looks the book over itself (a tenth of a second for a
    // company's book).
    return;
#endif
    if (lookOver_.joinable() || book_)
        return;
    const QString path = path_.isEmpty() ? DefaultBookPath() : path_;
    if (!QFileInfo(path).isFile())
        return;
    lookOver_ = std::thread([this, path] {
        try {
            const VisitBook book(path);
            std::lock_guard<std::mutex> lock(lookMutex_);
            lookedAside_ = book.AsideNotice();
        } catch (const std::exception&) {
            // The window's own opening meets the same trouble and tells it.
        }
    });
}

void VisitRecorder::SyncNow()
{
    if (sync_)
        sync_->Nudge();
}

void VisitRecorder::tell(const std::exception& error)
{
    problem_ = QString::fromUtf8(error.what());
    // Each trouble once: a book that stays read-only or held by another
    // program is not a box a write, whatever the write was.
    const auto* bookError = dynamic_cast<const BookError*>(&error);
    const QString reason = bookError ? QStringLiteral("księga:%1").arg(static_cast<int>(bookError->Kind()))
                                     : problem_;
    if (reason == told_)
        return;
    told_ = reason;
    if (trouble_)
        trouble_(problem_);
}

book::Book* VisitRecorder::Book()
{
    if (book_)
        return book_.get();
    // Never beside the look-over: it may be setting a damaged file aside.
    if (lookOver_.joinable())
        lookOver_.join();
    {
        std::lock_guard<std::mutex> lock(lookMutex_);
        if (!lookedAside_.isEmpty() && trouble_)
            trouble_(lookedAside_);
        lookedAside_.clear();
    }
    // Not opened before, or not openable then (a lock held at start): tried
    // again now, and its trouble told again only when it is another.
    try {
        // One wait for another writer, on the window's thread; what it does
        // not take waits here for the next write.
        book_ = std::make_unique<book::Book>(path_, 1);
        problem_.clear();
        if (!book_->AsideNotice().isEmpty() && trouble_)
            trouble_(book_->AsideNotice());
        // A visit a console left open when it died ends where it was last heard.
        book_->EndAbandonedVisits();
    } catch (const std::exception& error) {
        tell(error);
    }
    return book_.get();
}

bool VisitRecorder::visitReady()
{
    if (!Book() || unique_.isEmpty())
        return false;
    if (tracker_.Visit() && tracker_.UniqueNumber() == unique_)
        return true;
    try {
        PrinterSeen seen;
        seen.uniqueNumber = unique_;
        seen.fiscal = fiscal_;
        if (pending_)
            seen = PrinterSeenOf(*pending_);
        VisitStart start{QDateTime::currentDateTime(), StoredTechnician(), port_,
                               program_};
        start.held = true;
        tracker_.Contact(inner(), seen, start);
        pending_.reset();
        return true;
    } catch (const std::exception& error) {
        tell(error);
        return false;
    }
}

void VisitRecorder::PrinterMet(const CashInfo& cash, const QString& port)
{
    const PrinterSeen seen = PrinterSeenOf(cash);
    unique_ = seen.uniqueNumber;
    fiscal_ = cash.fiscal;
    port_ = port;
    pending_ = cash;
    // The first contact with a printer is the book's first need: the visit
    // begins here (never at start-up).
    if (book_ && tracker_.Visit() && tracker_.UniqueNumber() == unique_) {
        try {
            tracker_.Heard(inner(), QDateTime::currentDateTime());
        } catch (const std::exception& error) {
            tell(error);
        }
    }
    visitReady();
    if (!unsaved_.empty() && flush())
        changed();
}

void VisitRecorder::PortClosed()
{
    if (!unsaved_.empty() && flush())
        changed();
    if (book_ && tracker_.Visit()) {
        try {
            tracker_.Closed(inner(), QDateTime::currentDateTime());
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
void VisitRecorder::writeNow(const Write& write)
{
    if (!book_)
        throw BookError(Trouble::CannotOpen, problem_.toStdString());
    if (write.uniqueNumber == unique_ && visitReady()) {
        write.body(inner(), *tracker_.Visit(), *tracker_.PrinterId());
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    inner().Together(QStringLiteral("nie zapisano wizyty"), [&] {
        PrinterSeen seen;
        seen.uniqueNumber = write.uniqueNumber;
        const qint64 printer = inner().NotePrinter(seen, now);
        const qint64 visit = inner().BeginVisit(
            printer, {now, StoredTechnician(), port_, program_});
        write.body(inner(), visit, printer);
        inner().EndVisit(visit, now);
    });
}

// What waits goes first, in order; the first that fails stops the rest.
bool VisitRecorder::flush()
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

void VisitRecorder::keep(Write write)
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

void VisitRecorder::changed()
{
    if (!syncListener_)
        return;
    syncListener_(sync_ ? sync_->State() : SyncState{});
}

QString VisitRecorder::UnsavedText() const
{
    if (unsaved_.empty())
        return {};
    return QStringLiteral("Księga: nie zapisano %1 %2")
        .arg(Unsaved())
        .arg(Unsaved() == 1 ? QStringLiteral("wizyty") : QStringLiteral("wizyt"));
}

std::optional<SinceLastVisit> VisitRecorder::RecordCheck(const CheckResult& result,
                                                             const QString& technician,
                                                             const QString& notes)
{
    if (const std::optional<PrinterSeen> seen = PrinterSeenIn(result)) {
        unique_ = seen->uniqueNumber;
        fiscal_ = seen->fiscal;
    }
    // What changed is read before the check is kept; the visit under way
    // (none yet when the book would not take it) is left out.
    std::optional<SinceLastVisit> since;
    if (!unique_.isEmpty() && Book()) {
        try {
            const bool ours = tracker_.Visit() && tracker_.UniqueNumber() == unique_;
            since = SinceLastVisitIn(inner(), unique_, ours ? *tracker_.Visit() : -1,
                                           CheckRecordOf(result).values);
        } catch (const std::exception& error) {
            tell(error);
        }
    }
    keep({unique_, [result, technician, notes](VisitBook& book, qint64 visit, qint64) {
              book.Together(QStringLiteral("nie zapisano przeglądu"), [&] {
                  if (const std::optional<PrinterSeen> seen = PrinterSeenIn(result))
                      book.NotePrinter(*seen, result.started);
                  book.SetPeople(visit, technician, notes);
                  book.AddCheck(visit, CheckRecordOf(result));
              });
          }});
    return since;
}

void VisitRecorder::RecordPeople(const QString& technician, const QString& notes)
{
    keep({unique_, [technician, notes](VisitBook& book, qint64 visit, qint64) {
              book.SetPeople(visit, technician, notes);
          }});
}

void VisitRecorder::RecordSetting(const SettingRecord& setting)
{
    keep({unique_, [setting](VisitBook& book, qint64 visit, qint64) {
              book.AddSetting(visit, setting);
          }});
}

void VisitRecorder::RecordNip(const QString& nip, bool fiscalised, const SettingRecord& setting)
{
    PrinterSeen seen;
    seen.uniqueNumber = unique_;
    seen.fiscal = fiscal_ || fiscalised;
    seen.nip = nip;
    if (fiscalised)
        fiscal_ = true;
    keep({unique_, [seen, setting](VisitBook& book, qint64 visit, qint64) {
              book.Together(QStringLiteral("nie zapisano NIP"), [&] {
                  book.NotePrinter(seen, setting.made);
                  book.AddSetting(visit, setting);
              });
          }});
}

void VisitRecorder::RecordFile(const QString& path)
{
    const QDateTime when = QDateTime::currentDateTime();
    keep({unique_, [path, when](VisitBook& book, qint64 visit, qint64) {
              book.AddFile(visit, path, when);
          }});
}

void VisitRecorder::RecordInspection(const QDate& date, const QString& message)
{
    const QDateTime when = QDateTime::currentDateTime();
    keep({unique_, [date, message, when](VisitBook& book, qint64 visit, qint64 printer) {
              book.Together(QStringLiteral("nie zapisano daty przeglądu"), [&] {
                  book.SetNextInspection(printer, date, message);
                  book.AddSetting(visit, {when, QStringLiteral("Data przeglądu"),
                                          date.toString(Qt::ISODate) + QLatin1Char(' ') + message,
                                          {}, {}});
              });
          }});
}

std::optional<QDate> VisitRecorder::NextInspection()
{
    if (!Book() || unique_.isEmpty())
        return std::nullopt;
    try {
        if (const std::optional<PrinterRow> row = book_->Printer(unique_))
            return row->nextInspection;
    } catch (const std::exception& error) {
        tell(error);
    }
    return std::nullopt;
}

}  // namespace varmo::book
