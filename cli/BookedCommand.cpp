#include "cli/BookedCommand.h"

#include <QDate>

#include "cli/CheckVisit.h"
#include "cli/Output.h"
#include "cli/Session.h"
#include "commands/ReadCommands.h"

namespace varmo::cli {

namespace {

// What the book calls a command the printer took; nothing for a read.
std::optional<QString> settingName(const std::string& verb)
{
    static const std::pair<const char*, const char*> names[] = {
        {"set-clock", "Zegar"},          {"set-header", "Nagłówek"},
        {"set-rates", "Stawki"},         {"set-inspection", "Data przeglądu"},
        {"set-nip", "NIP"},              {"fiscalise", "Fiskalizacja"},
        {"set-error-mode", "Tryb błędów"}, {"set-discount", "Rabat"},
        {"report-day", "Raport dobowy"}, {"report-period", "Raport okresowy"},
        {"report-numbers", "Raport okresowy"},
    };
    for (const auto& [word, name] : names)
        if (verb == word)
            return QString::fromUtf8(name);
    return std::nullopt;
}

}  // namespace

BookedCommand::BookedCommand(const std::optional<std::string>& bookFile, std::ostream& err)
    : bookFile_(bookFile), err_(err)
{
    try {
        book_ = OpenChosenBook(bookFile_, err_);
    } catch (const std::exception& error) {
        err_ << "varmo-cli: " << TerminalText(error.what()) << std::endl;
    }
}

BookedCommand::~BookedCommand() = default;

void BookedCommand::Identify(Session& session)
{
    TCmdReadCashInfo cash(false);
    if (session.Exchange().DirectRead(cash, [] {}, session.Exchange().AnswerWaitMs()) ==
            ReplyKind::Answered &&
        !cash.Info().uniqueNumber.empty()) {
        printer_ = book::PrinterSeenOf(cash.Info());
        return;
    }
    err_ << "varmo-cli: drukarka nieznana (brak informacji kasowych), polecenie nie trafi do "
            "księgi wizyt"
         << std::endl;
}

void BookedCommand::Took(const std::vector<std::string>& words, const std::string& port)
{
    const std::optional<QString> what = settingName(words[0]);
    if (!book_ || !printer_ || !what)
        return;
    QStringList detail;
    for (std::size_t i = 1; i < words.size(); ++i)
        detail << QString::fromStdString(words[i]);
    try {
        const QDateTime now = QDateTime::currentDateTime();
        book::WholeVisit visit;
        visit.printer = *printer_;
        visit.start = {now, book::StoredTechnician(), QString::fromStdString(port),
                       QStringLiteral("varmo-cli")};
        visit.settings.push_back({now, *what, detail.join(QLatin1Char(' ')), {}, {}});
        // No command reads the NIP back: the one the printer took is kept.
        if ((words[0] == "set-nip" || words[0] == "fiscalise") && words.size() == 2) {
            visit.printer.nip = detail[0];
            visit.printer.fiscal = visit.printer.fiscal || words[0] == "fiscalise";
        }
        if (words[0] == "set-inspection" && words.size() == 3)
            visit.nextInspection = {QDate::fromString(detail[0], Qt::ISODate), detail[1]};
        visit.ended = now;
        book_->Record(visit);
    } catch (const std::exception& error) {
        err_ << "varmo-cli: " << TerminalText(error.what()) << std::endl;
    }
}

}  // namespace varmo::cli
