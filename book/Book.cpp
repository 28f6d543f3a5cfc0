#include "book/Book.h"

#include "book/BookReader.h"
#include "book/ServerBook.h"
#include "book/ServerTrouble.h"
#include "book/VisitBook.h"

namespace varmo::book {

namespace {

// A server that falls silent while a list comes is cut off like any other
// call; the list then fails as a refused one.
template <typename Read>
auto watched(ServerBook* server, Read read)
{
    if (!server)
        return read();
    const ServerBook::Call call(*server);
    return read();
}

}  // namespace

BookLists::BookLists(std::unique_ptr<ServerBook> server, BookReader reader, QString name,
                     QString source, QString trouble)
    : server_(std::move(server)),
      reader_(std::make_unique<BookReader>(reader)),
      name_(std::move(name)),
      source_(std::move(source)),
      trouble_(std::move(trouble))
{
}

BookLists::~BookLists() = default;

std::vector<PrinterRow> BookLists::Printers(const QString& search, std::optional<int> dueWithin)
{
    return watched(server_.get(), [&] { return reader_->Printers(search, dueWithin); });
}

std::optional<PrinterRow> BookLists::Printer(const QString& uniqueNumber)
{
    return watched(server_.get(), [&] { return reader_->Printer(uniqueNumber); });
}

std::vector<VisitRow> BookLists::Visits(const QString& uniqueNumber)
{
    return watched(server_.get(), [&] { return reader_->Visits(uniqueNumber); });
}

Book::Book(const QString& path, int writeAttempts)
    : book_(std::make_unique<VisitBook>(path.isEmpty() ? DefaultBookPath() : path, writeAttempts))
{
}

Book::~Book() = default;

const QString& Book::Path() const
{
    return book_->Path();
}

const QString& Book::AsideNotice() const
{
    return book_->AsideNotice();
}

std::vector<PrinterRow> Book::Printers(const QString& search, std::optional<int> dueWithin,
                                       const QDate& today)
{
    return book_->Printers(search, dueWithin, today);
}

std::optional<PrinterRow> Book::Printer(const QString& uniqueNumber, const QDate& today)
{
    return book_->Printer(uniqueNumber, today);
}

std::vector<VisitRow> Book::Visits(const QString& uniqueNumber)
{
    return book_->Visits(uniqueNumber);
}

std::optional<VisitDetail> Book::Visit(qint64 visitId)
{
    return book_->Visit(visitId);
}

std::optional<SinceLastVisit> Book::SinceLast(const QString& uniqueNumber, qint64 leftOut,
                                              const CheckValues& now)
{
    return SinceLastVisitIn(*book_, uniqueNumber, leftOut, now);
}

qint64 Book::Record(const WholeVisit& visit)
{
    qint64 id = 0;
    book_->Together(QStringLiteral("nie zapisano wizyty"), [&] {
        const qint64 printer = book_->NotePrinter(visit.printer, visit.start.when);
        id = book_->BeginVisit(printer, visit.start);
        if (!visit.notes.isEmpty())
            book_->SetPeople(id, visit.start.technician, visit.notes);
        if (visit.check)
            book_->AddCheck(id, *visit.check);
        for (const SettingRecord& setting : visit.settings)
            book_->AddSetting(id, setting);
        if (visit.nextInspection)
            book_->SetNextInspection(printer, visit.nextInspection->first,
                                     visit.nextInspection->second);
        for (const QString& file : visit.files)
            book_->AddFile(id, file, visit.ended);
        book_->EndVisit(id, visit.ended);
    });
    return id;
}

int Book::EndAbandonedVisits()
{
    return book_->EndAbandonedVisits();
}

int Book::Export(ExportFormat format, const QString& path)
{
    return ExportBook(*book_, format, path);
}

SyncState Book::Send(const ServerAddress& server, const SyncOptions& options)
{
    return SyncWithServer(*book_, server, options);
}

SyncState Book::State(bool serverSet)
{
    return LocalState(*book_, serverSet);
}

std::unique_ptr<BookLists> Book::Lists(const std::optional<ServerAddress>& server)
{
    const BookReader here(book_->Database(), book_->Path());
    if (!server)
        return std::make_unique<BookLists>(nullptr, here, book_->Path(), QString(), QString());
    std::unique_ptr<ServerBook> shared;
    QString reason;
    try {
        shared = std::make_unique<ServerBook>(*server);
    } catch (const ServerError& error) {
        reason = error.Reason();
    }
    SyncState state = LocalState(*book_, true);
    if (!shared) {
        state.trouble = ServerTrouble::Other;
        return std::make_unique<BookLists>(nullptr, here, book_->Path(), SourceText(state), reason);
    }
    state.reached = true;
    state.lastContact = QDateTime::currentDateTime();
    const BookReader there = shared->Reads();
    return std::make_unique<BookLists>(std::move(shared), there, server->Display(),
                                       SourceText(state), QString());
}

}  // namespace varmo::book
