// varmo-cli: the console's companion for scripts and production lines. One
// command or a script of them goes to the printer; each exchange is printed
// as text or JSON, and the exit status says how it ended.
#include <QCoreApplication>
#include <QStringList>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/Failure.h"
#include "cli/HelpText.h"
#include "cli/LinkChoice.h"
#include "cli/Output.h"
#include "cli/PortVerbs.h"
#include "cli/Script.h"
#include "cli/Session.h"
#include "cli/Verbs.h"
#include "link/FileSizeSignal.h"
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

int run(const std::vector<std::string>& args)
{
    const Invocation invocation = ParseCommandLine(args);
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
        throw UsageError("no command given (varmo-cli --help lists them)");
    // Verbs that look at every port need no port of their own.
    if (IsPortVerb(words[0]))
        return RunPortVerb(invocation, std::cout);

    // Everything that can be wrong with the request shows before the port opens.
    const bool script = words[0] == "run";
    if (script && words.size() != 2)
        throw UsageError("run: usage: run FILE");
    const QString path = script ? QString::fromStdString(words[1]) : QString();
    const std::vector<ScriptLine> lines = script ? ReadScript(path) : std::vector<ScriptLine>{};
    const Step step = script ? Step{} : BuildStep(words);

    const LinkChoice link = ChooseLink(invocation);
    SetConsoleCodePage(link.codePage);
    Session session(link.port, link.baud, invocation.times);
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
        return 0;
    }
    const Outcome outcome = session.Perform(step, words[0], 0, invocation.check, report);
    if (!outcome.ok)
        throw CliFailure(ExitCode::Refused, words[0] + ": " + outcome.reason);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    varmo::KeepRunningPastFileSizeLimit();
    QCoreApplication app(argc, argv);
#ifdef Q_OS_WIN
    // Descriptions are UTF-8; the Windows console shows them right only so.
    SetConsoleOutputCP(CP_UTF8);
#endif
    std::vector<std::string> args;
    const QStringList arguments = QCoreApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i)
        args.push_back(arguments[i].toStdString());

    OpenSettingsStore();
    int status = 0;
    try {
        status = run(args);
    } catch (const CliFailure& failure) {
        std::cerr << "varmo-cli: " << TerminalText(failure.what()) << std::endl;
        status = static_cast<int>(failure.Code());
    } catch (const std::exception& error) {
        // Anything else the port or a command raised: the exchange did not
        // come to an end the printer agreed to.
        std::cerr << "varmo-cli: " << TerminalText(error.what()) << std::endl;
        status = static_cast<int>(ExitCode::Refused);
    }
    CloseSettingsStore();
    return status;
}
