#include "cli/BookedCommand.h"

#include <QDate>

#include "book/CheckRecordOf.h"
#include "book/VisitBook.h"
#include "cli/CheckVisit.h"
#include "cli/Output.h"
#include "cli/Session.h"
#include "commands/ReadCommands.h"
#include "book/StoredBook.h"

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
        book::VisitBook* book = book_.get();
        const QDateTime now = QDateTime::currentDateTime();
        book->Together(QStringLiteral("nie zapisano wizyty"), [&] {
            const qint64 printer = book->NotePrinter(*printer_, now);
            const qint64 visit = book->BeginVisit(
                printer, {now, book::StoredTechnician(),
                          QString::fromStdString(port), QStringLiteral("varmo-cli")});
            book->AddSetting(visit, {now, *what, detail.join(QLatin1Char(' ')), {}, {}});
            if (words[0] == "set-inspection" && words.size() == 3)
                book->SetNextInspection(printer,
                                        QDate::fromString(detail[0], Qt::ISODate), detail[1]);
            book->EndVisit(visit, now);
        });
    } catch (const std::exception& error) {
        err_ << "varmo-cli: " << TerminalText(error.what()) << std::endl;
    }
}

}  // namespace varmo::cli
