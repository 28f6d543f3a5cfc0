#include "cli/BookVerbs.h"

#include <QJsonArray>
#include <iostream>

#include "cli/BookPassword.h"
#include "cli/CheckVisit.h"
#include "cli/Failure.h"
#include "cli/Output.h"
#include "cli/ParamText.h"
#include "cli/ServerChoice.h"

namespace varmo::cli {

namespace {

const char* const kUsage =
    "book: użycie: book printers [--due DAYS] [--search TEXT] | book visits UNIQUE | "
    "book show VISIT | book export --csv FILE | book export --json FILE | book send | "
    "book password";

std::string t(const QString& text)
{
    return TerminalText(text.toStdString());
}

std::string timeText(const QDateTime& time)
{
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString() : "-";
}

void printJson(std::ostream& out, const QJsonObject& json)
{
    out << JsonLine(json) << '\n';
}

std::string dueText(const book::PrinterRow& row)
{
    if (!row.nextInspection)
        return "-";
    const std::string date = row.nextInspection->toString(Qt::ISODate).toStdString();
    if (*row.dueInDays < 0)
        return date + " (po terminie " + std::to_string(-*row.dueInDays) + " dni)";
    return date + " (za " + std::to_string(*row.dueInDays) + " dni)";
}

int printers(book::BookLists& book, const std::vector<std::string>& words, bool json, std::ostream& out)
{
    std::optional<int> due;
    QString search;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (words[i] == "--due" && i + 1 < words.size()) {
            due = IntegerParam(words[++i], "--due");
            if (*due < 0)
                throw UsageError("book printers: --due: nie może być mniejsze od 0");
        } else if (words[i] == "--search" && i + 1 < words.size()) {
            search = QString::fromStdString(words[++i]);
        } else {
            throw UsageError(kUsage);
        }
    }
    const std::vector<book::PrinterRow> rows = book.Printers(search, due);
    if (json) {
        QJsonArray list;
        for (const book::PrinterRow& row : rows)
            list.append(book::PrinterJson(row));
        QJsonObject result{{QStringLiteral("book"), book.Name()},
                           {QStringLiteral("printers"), list}};
        if (!book.Source().isEmpty())
            result.insert(QStringLiteral("source"), book.Source());
        if (due)
            result.insert(QStringLiteral("dueWithinDays"), *due);
        printJson(out, result);
        return 0;
    }
    for (const book::PrinterRow& row : rows)
        out << t(row.uniqueNumber) << "  " << t(row.headerFirstLine) << "  NIP "
            << (row.nip.isEmpty() ? std::string("-") : t(row.nip)) << "  ostatnia wizyta "
            << timeText(row.lastVisit) << "  przegląd " << dueText(row) << '\n';
    if (rows.empty())
        out << (due            ? std::string("Żadna drukarka nie czeka na przegląd.\n")
                : search.trimmed().isEmpty() ? std::string("Księga wizyt jest pusta.\n")
                : "Brak drukarek pasujących do „" + t(search) + "”.\n");
    return 0;
}

int visits(book::BookLists& book, const std::vector<std::string>& words, bool json, std::ostream& out)
{
    if (words.size() != 3)
        throw UsageError(kUsage);
    // Unique numbers are capital letters and digits; typed in any case.
    const QString unique = QString::fromStdString(words[2]).trimmed().toUpper();
    if (!book.Printer(unique))
        throw CliFailure(ExitCode::Refused, "book visits: brak drukarki " + words[2] + " w księdze");
    const std::vector<book::VisitRow> rows = book.Visits(unique);
    if (json) {
        QJsonArray list;
        for (const book::VisitRow& row : rows)
            list.append(book::VisitJson(row));
        QJsonObject result{{QStringLiteral("uniqueNumber"), unique},
                           {QStringLiteral("visits"), list}};
        if (!book.Source().isEmpty())
            result.insert(QStringLiteral("source"), book.Source());
        printJson(out, result);
        return 0;
    }
    for (const book::VisitRow& row : rows)
        out << row.id << "  " << timeText(row.started) << " - " << timeText(row.ended) << "  "
            << t(row.technician) << "  " << t(row.port) << "  przeglądy " << row.checks
            << "  ustawienia " << row.settings << '\n';
    return 0;
}

int show(book::Book& book, const std::vector<std::string>& words, bool json,
         std::ostream& out)
{
    if (words.size() != 3)
        throw UsageError(kUsage);
    const std::int32_t id = IntegerParam(words[2], "VISIT");
    const std::optional<book::VisitDetail> detail = book.Visit(id);
    if (!detail)
        throw CliFailure(ExitCode::Refused, "book show: brak wizyty " + words[2] + " w księdze");
    if (json) {
        printJson(out, book::VisitDetailJson(*detail));
        return 0;
    }
    const book::VisitRow& v = detail->visit;
    out << "Wizyta " << v.id << " (" << t(v.uuid) << ")\nDrukarka: " << t(v.uniqueNumber)
        << "\nOd: " << timeText(v.started) << "\nDo: " << timeText(v.ended)
        << "\nTechnik: " << t(v.technician) << "\nPort: " << t(v.port)
        << "\nProgram: " << t(v.program) << "\nUwagi: " << t(v.notes) << '\n';
    for (const book::CheckRecord& check : detail->checks) {
        out << "Przegląd " << timeText(check.values.made) << ":";
        if (check.values.clockOffset)
            out << " zegar " << *check.values.clockOffset << " s";
        if (check.values.lastReceipt)
            out << ", ostatni paragon " << *check.values.lastReceipt;
        out << '\n';
        for (const QString& note : check.attention)
            out << "  - " << t(note) << '\n';
    }
    for (const book::SettingRecord& setting : detail->settings)
        out << "Ustawiono " << timeText(setting.made) << ": " << t(setting.what) << " "
            << t(setting.detail) << '\n';
    for (const QString& file : detail->files)
        out << "Plik: " << t(file) << '\n';
    return 0;
}

int exportBook(book::Book& book, const std::vector<std::string>& words, bool json,
               std::ostream& out)
{
    if (words.size() != 4 || (words[2] != "--csv" && words[2] != "--json"))
        throw UsageError(kUsage);
    const book::ExportFormat format =
        words[2] == "--csv" ? book::ExportFormat::Csv : book::ExportFormat::Json;
    int count = 0;
    try {
        count = book.Export(format, QString::fromStdString(words[3]));
    } catch (const book::BookError&) {
        throw;
    } catch (const std::exception& error) {
        throw CliFailure(ExitCode::Refused, std::string("book export: ") + error.what());
    }
    if (json)
        printJson(out, QJsonObject{{QStringLiteral("file"), QString::fromStdString(words[3])},
                                   {QStringLiteral("visits"), count}});
    else
        out << "Zapisano " << count << " wizyt do " << TerminalText(words[3]) << '\n';
    return 0;
}

// What waits goes to the server, then the server's news comes down.
int send(book::Book& book, const std::optional<book::ServerAddress>& server, bool json,
         std::ostream& out)
{
    if (!server)
        throw CliFailure(ExitCode::Refused,
                         "book send: nie ustawiono serwera księgi (--book-server URI albo "
                         "\"Ustawienia\" → \"Serwer księgi wizyt…\")");
    const book::SyncState state = book.Send(*server);
    TellClock(state, std::cerr);
    if (json)
        printJson(out, SyncJson(*server, state));
    else
        out << SyncLine(*server, state) << '\n';
    return state.trouble || state.waiting > 0 ? static_cast<int>(ExitCode::Refused) : 0;
}

// The lists read from the server when it answers, else from this book.
int readList(book::Book& local, const std::optional<book::ServerAddress>& server,
             const std::vector<std::string>& words, bool json, std::ostream& out)
{
    const std::unique_ptr<book::BookLists> lists = local.Lists(server);
    if (!lists->Trouble().isEmpty())
        std::cerr << "varmo-cli: " << TerminalText(lists->Trouble().toStdString()) << std::endl;
    if (!lists->Source().isEmpty() && !json)
        std::cerr << "varmo-cli: " << TerminalText(lists->Source().toStdString()) << std::endl;
    return words[1] == "printers" ? printers(*lists, words, json, out)
                                  : visits(*lists, words, json, out);
}

}  // namespace

int RunBookVerb(const Invocation& invocation, std::ostream& out)
{
    std::vector<std::string> words;
    bool json = invocation.json;
    for (const std::string& word : invocation.words) {
        // "book export --json FILE": there it names the file's form, and
        // varmo-cli's output stays as the options before the command say.
        const bool form = words.size() == 2 && words[1] == "export";
        if (word == "--json" && !form)
            json = true;
        else
            words.push_back(word);
    }
    if (words.size() < 2)
        throw UsageError(kUsage);
    const std::string& what = words[1];
    if (what != "printers" && what != "visits" && what != "show" && what != "export" &&
        what != "send" && what != "password")
        throw UsageError(kUsage);
    if ((what == "send" || what == "password") && words.size() != 2)
        throw UsageError(kUsage);
    const std::optional<book::ServerAddress> server =
        ChosenServer(invocation.bookServer, std::cerr);
    if (what == "password")
        return StoreBookPassword(server, json, out);
    try {
        const std::unique_ptr<book::Book> book = OpenChosenBook(invocation.book, std::cerr);
        if (what == "send")
            return send(*book, server, json, out);
        if (what == "printers" || what == "visits")
            return readList(*book, server, words, json, out);
        if (what == "show")
            return show(*book, words, json, out);
        return exportBook(*book, words, json, out);
    } catch (const book::BookError& error) {
        throw CliFailure(ExitCode::Refused, error.what());
    }
}

}  // namespace varmo::cli
