// varmo-cli: the console's companion for scripts and production lines. One
// command or a script of them goes to the printer; each exchange is printed
// as text or JSON, and the exit status says how it ended.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/BookVerbs.h"
#include "cli/BookedCommand.h"
#include "cli/CheckVerb.h"
#include "cli/CommandLine.h"
#include "cli/Failure.h"
#include "cli/Interruption.h"
#include "cli/HelpText.h"
#include "cli/LinkChoice.h"
#include "cli/Output.h"
#include "cli/PortVerbs.h"
#include "cli/Script.h"
#include "cli/ServerChoice.h"
#include "cli/Session.h"
#include "cli/Verbs.h"
#include "protocol/FileSizeSignal.h"
#include "link/ProcessEnd.h"
#include "link/SettingsStore.h"
#include "protocol/CodePage.h"

#ifdef Q_OS_WIN
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace {

using namespace varmo;
using namespace varmo::cli;

int runCommand(const Invocation& invocation);

int run(const std::vector<std::string>& args)
{
    const Invocation invocation = ParseCommandLine(args);
    try {
        return runCommand(invocation);
    } catch (const CliFailure& failure) {
        throw OptionsBeforeCommand(invocation, failure);
    }
}

int runCommand(const Invocation& invocation)
{
    if (invocation.help) {
        std::cout << HelpText();
        return 0;
    }
    if (invocation.version) {
        std::cout << "varmo-cli " << VARMO_VERSION << '\n';
        return 0;
    }
    const std::vector<std::string>& words = invocation.words;
    if (words.empty())
        throw UsageError("nie podano polecenia (lista: varmo-cli --help)");
    // Verbs that look at every port need no port of their own.
    if (IsPortVerb(words[0]))
        return RunPortVerb(invocation, std::cout);
    if (words[0] == "book")
        return RunBookVerb(invocation, std::cout);

    // Everything that can be wrong with the request shows before the port opens.
    if (words[0] == "check") {
        CheckOptions options = ParseCheckOptions(words);
        options.json = options.json || invocation.json;
        options.visit.book = invocation.book;
        options.visit.server = ChosenServer(invocation.bookServer, std::cerr);
        const LinkChoice link = ChooseLink(invocation);
        SetConsoleCodePage(link.codePage);
        CheckVisit visit(options.visit, std::cerr);
        visit.OpenBook();
        Session session(link.port, link.baud, invocation.times);
        session.Open();
        return RunCheck(session, link, options, visit, std::cout);
    }
    const bool script = words[0] == "run";
    if (script && words.size() != 2)
        throw UsageError("run: użycie: run PLIK");
    const QString path = script ? QString::fromStdString(words[1]) : QString();
    CheckedScript lines = script ? ReadScript(path) : CheckedScript{};
    const Step step = script ? Step{} : BuildStep(words);

    const LinkChoice link = ChooseLink(invocation);
    SetConsoleCodePage(link.codePage);
    std::optional<BookedCommand> booked;
    if (invocation.book)
        booked.emplace(invocation.book, std::cerr);  // the book opened before the port
    Session session(link.port, link.baud, invocation.times);
    session.ForceComputerClock(invocation.force);
    session.Open();

    const bool json = invocation.json;
    const Session::Report report = [json](const ExchangeRecord& exchange) {
        PrintExchange(std::cout, exchange, json);
    };
    if (script) {
        RunScript(
            session, lines, path, invocation.check,
            [json](const ScriptLine& line) {
                if (!json)
                    std::cout << "# " << line.number << ": " << TerminalText(line.text)
                              << '\n';
            },
            report);
        session.Close();
        return 0;
    }
    if (booked)
        booked->Identify(session);
    const Outcome outcome = session.Perform(step, words[0], 0, invocation.check, report);
    session.Close();
    if (!outcome.ok)
        throw CliFailure(ExitCode::Refused, words[0] + ": " + outcome.reason);
    if (booked)
        booked->Took(words, link.named.toStdString());
    return 0;
}

// The command word: the first argument that is neither an option nor an
// option's value.
bool commandIsCheck(int argc, char* argv[])
{
    static const char* const valued[] = {"--port", "--speed", "--codepage", "--timeout",
                                         "--listen", "--book", "--book-server"};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--")
            return i + 1 < argc && std::strcmp(argv[i + 1], "check") == 0;
        if (arg.empty() || arg[0] != '-')
            return arg == "check";
        for (const char* option : valued)
            if (arg == option)
                ++i;
    }
    return false;
}

// check writes its PDF with Qt's painter, which wants a GUI application; with
// no screen of its own, so that it runs on a server or over SSH too.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[])
{
    if (!commandIsCheck(argc, argv))
        return std::make_unique<QCoreApplication>(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int main(int argc, char* argv[])
{
    varmo::KeepRunningPastFileSizeLimit();
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
#ifdef Q_OS_WIN
    // Descriptions are UTF-8; the Windows console shows them right only so.
    SetConsoleOutputCP(CP_UTF8);
#endif
    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        args.push_back(arguments[i].toStdString());

    OpenSettingsStore();
    CatchInterruptions();
    // Never opened: the defaults apply, and the operator hears why.
    if (const std::string unread = SettingsFileProblem(); !unread.empty())
        std::cerr << "varmo-cli: " << TerminalText(unread) << std::endl;
    int status = 0;
    try {
        status = run(args);
    } catch (const CliFailure& failure) {
        std::cerr << "varmo-cli: " << TerminalText(failure.what()) << std::endl;
        status = static_cast<int>(failure.Code());
    } catch (const SettingsTypeError& unreadable) {
        std::cerr << "varmo-cli: błąd ustawień: " << TerminalText(unreadable.what()) << std::endl;
        status = static_cast<int>(ExitCode::Settings);
    } catch (const std::exception& error) {
        // Anything else the port or a command raised: the exchange did not
        // come to an end the printer agreed to.
        std::cerr << "varmo-cli: " << TerminalText(error.what()) << std::endl;
        status = static_cast<int>(ExitCode::Refused);
    }
    CloseSettingsStore();
    EndProcessOnWindows(status);
    return status;
}
