#include "cli/CheckVisit.h"

#include <QDir>
#include <QJsonArray>

#include "cli/Output.h"
#include "cli/ServerChoice.h"

namespace varmo::cli {

namespace {

std::optional<std::string> uniqueOf(const CheckResult& result)
{
    if (const std::optional<book::PrinterSeen> seen = book::PrinterSeenIn(result))
        return seen->uniqueNumber.toStdString();
    return std::nullopt;
}

}  // namespace

std::unique_ptr<book::Book> OpenChosenBook(const std::optional<std::string>& file,
                                           std::ostream& err)
{
    const QString path = file ? QDir::current().absoluteFilePath(QString::fromStdString(*file))
                              : book::DefaultBookPath();
    auto opened = std::make_unique<book::Book>(path);
    if (!opened->AsideNotice().isEmpty())
        err << "varmo-cli: " << TerminalText(opened->AsideNotice().toStdString()) << std::endl;
    return opened;
}

CheckVisit::CheckVisit(const VisitOptions& options, std::ostream& err)
    : options_(options), err_(err)
{
    part_.technician = options.technician ? *options.technician
                                          : book::StoredTechnician().toStdString();
    part_.notes = options.note;
}

CheckVisit::~CheckVisit() = default;

void CheckVisit::trouble(const std::exception& error)
{
    part_.bookProblem = error.what();
    err_ << "varmo-cli: " << TerminalText(error.what()) << std::endl;
    book_.reset();
}

void CheckVisit::OpenBook()
{
    if (!options_.record)
        return;
#ifdef Q_OS_WIN
    // Under Wine a library loaded while the port is open (the server's
    // driver as the check is sent) left the program spinning after its
    // report; loaded before the port opens, they are not loaded again.
    if (options_.server)
        book::LoadBookLibraries();
#endif
    try {
        book_ = OpenChosenBook(options_.book, err_);
    } catch (const std::exception& error) {
        trouble(error);
    }
}

void CheckVisit::LookUp(const CheckResult& result)
{
    if (!book_)
        return;
    const std::optional<std::string> unique = uniqueOf(result);
    if (!unique) {
        trouble(book::BookError(book::Trouble::Other,
                                "Księga wizyt: drukarka nieznana (nie odczytano numeru "
                                "unikatowego), wizyta nie zostanie zapisana"));
        return;
    }
    part_.uniqueNumber = *unique;
    try {
        const QString number = QString::fromStdString(*unique);
        since_ = book_->SinceLast(number, -1, book::CheckRecordOf(result).values);
        part_.firstVisit = !since_;
        if (since_) {
            part_.sinceLast = since_->Describe();
            part_.sinceLastRed = since_->Red();
        }
        if (const std::optional<book::PrinterRow> row = book_->Printer(number))
            part_.nextInspection = row->nextInspection;
    } catch (const std::exception& error) {
        trouble(error);
    }
}

void CheckVisit::Record(const CheckResult& result, const std::vector<std::string>& files)
{
    const std::optional<book::PrinterSeen> seen = book::PrinterSeenIn(result);
    if (!book_ || !seen)
        return;
    try {
        book::WholeVisit visit;
        visit.printer = *seen;
        visit.start = {result.started, QString::fromStdString(part_.technician),
                       QString::fromStdString(result.setting.port),
                       QString::fromStdString(result.setting.program)};
        visit.notes = QString::fromStdString(part_.notes);
        visit.check = book::CheckRecordOf(result);
        for (const std::string& file : files)
            visit.files << QString::fromStdString(file);
        // The port closes as varmo-cli ends: so does the visit.
        visit.ended = QDateTime::currentDateTime();
        visit_ = book_->Record(visit);
    } catch (const std::exception& error) {
        visit_.reset();
        trouble(error);
        return;
    }
    if (!options_.server)
        return;
    try {
        book::SyncOptions only;
        only.copy = false;
        sync_ = book_->Send(*options_.server, only);
        err_ << "varmo-cli: " << SyncLine(*options_.server, *sync_) << std::endl;
        TellClock(*sync_, err_);
    } catch (const std::exception& error) {
        err_ << "varmo-cli: " << TerminalText(error.what()) << std::endl;
    }
}

std::optional<std::string> CheckVisit::Unrecorded() const
{
    if (!options_.record || visit_)
        return std::nullopt;
    return part_.bookProblem.empty() ? std::string("nieznana przyczyna") : part_.bookProblem;
}

QJsonObject CheckVisit::Json() const
{
    QJsonObject json{
        {QStringLiteral("recorded"), visit_.has_value()},
        {QStringLiteral("id"), visit_ ? QJsonValue(*visit_) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("book"), book_ ? QJsonValue(book_->Path()) : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("uniqueNumber"), QString::fromStdString(TerminalText(part_.uniqueNumber))},
        {QStringLiteral("technician"), QString::fromStdString(TerminalText(part_.technician))},
        {QStringLiteral("notes"), QString::fromStdString(TerminalText(part_.notes))},
        {QStringLiteral("problem"), part_.bookProblem.empty()
                                        ? QJsonValue(QJsonValue::Null)
                                        : QJsonValue(QString::fromStdString(part_.bookProblem))},
        {QStringLiteral("firstVisit"), part_.firstVisit},
        {QStringLiteral("nextInspection"),
         part_.nextInspection ? QJsonValue(part_.nextInspection->toString(Qt::ISODate))
                              : QJsonValue(QJsonValue::Null)}};
    if (sync_)
        json.insert(QStringLiteral("server"), SyncJson(*options_.server, *sync_));
    if (since_) {
        const book::SinceLastVisit& s = *since_;
        const auto number = [](const auto& value) {
            return value ? QJsonValue(static_cast<double>(*value)) : QJsonValue(QJsonValue::Null);
        };
        json.insert(QStringLiteral("sinceLastVisit"),
                    QJsonObject{{QStringLiteral("lastVisit"), book::BookTime(s.then)},
                                {QStringLiteral("days"), s.days},
                                {QStringLiteral("clockOffsetThen"), number(s.offsetThen)},
                                {QStringLiteral("clockOffsetNow"), number(s.offsetNow)},
                                {QStringLiteral("clockCorrections"), s.corrections},
                                {QStringLiteral("driftSecondsPerDay"), number(s.driftPerDay)},
                                {QStringLiteral("receiptsSince"), number(s.receiptsSince)},
                                {QStringLiteral("headerChanged"),
                                 s.headerChanged ? QJsonValue(*s.headerChanged) : QJsonValue()},
                                {QStringLiteral("ratesChanged"),
                                 s.ratesChanged ? QJsonValue(*s.ratesChanged) : QJsonValue()},
                                {QStringLiteral("zeroingsSince"), number(s.zeroingsSince)},
                                {QStringLiteral("errorThen"), number(s.errorThen)},
                                {QStringLiteral("lines"), TextArray(s.Describe())}});
    } else {
        json.insert(QStringLiteral("sinceLastVisit"), QJsonValue::Null);
    }
    return json;
}

}  // namespace varmo::cli
