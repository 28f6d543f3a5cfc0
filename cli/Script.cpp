#include "cli/Script.h"

#include <QFile>

#include "cli/Failure.h"
#include "cli/ParamText.h"
#include "cli/Verbs.h"
#include "cli/Words.h"

namespace varmo::cli {

namespace {

std::string where(const QString& path, int line)
{
    return path.toStdString() + ":" + std::to_string(line) + ": ";
}

ScriptLine readLine(int number, const std::string& text)
{
    ScriptLine line;
    line.number = number;
    line.text = text;
    std::vector<std::string> words = SplitWords(text);
    if (!words.empty() && words[0] == "wait") {
        if (words.size() != 2)
            throw UsageError("wait: usage: wait MS");
        line.waitMs = IntegerParam(words[1], "wait");
        if (line.waitMs < 0)
            throw UsageError("wait: must not be below 0");
        return line;
    }
    if (!words.empty() && words[0] == "expect") {
        line.expect = true;
        words.erase(words.begin());
        if (words.empty())
            throw UsageError("expect: usage: expect COMMAND [PARAMETERS...]");
    }
    if (!words.empty() && words[0] == "run")
        throw UsageError("run: a script cannot run another script");
    BuildStep(words);  // every mistake in the command shows now
    line.words = std::move(words);
    return line;
}

}  // namespace

std::vector<ScriptLine> ReadScript(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw UsageError(path.toStdString() + ": " + file.errorString().toStdString());
    const QByteArray content = file.readAll();
    std::string text(content.constData(), static_cast<std::size_t>(content.size()));
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);

    std::vector<ScriptLine> lines;
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string raw = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        const std::size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#')
            continue;
        try {
            lines.push_back(readLine(number, raw.substr(first)));
        } catch (const CliFailure& failure) {
            throw UsageError(where(path, number) + failure.what());
        }
    }
    return lines;
}

void RunScript(Session& session, const std::vector<ScriptLine>& lines, const QString& path,
               bool check, const std::function<void(const ScriptLine&)>& before,
               const Session::Report& report)
{
    for (const ScriptLine& line : lines) {
        before(line);
        Outcome outcome;
        try {
            if (line.waitMs >= 0) {
                session.Pause(line.waitMs);
                continue;
            }
            const Step step = BuildStep(line.words);
            outcome = session.Perform(step, line.words[0], line.number, check, report);
        } catch (const CliFailure& failure) {
            // The port went away: say where the script stood.
            throw CliFailure(failure.Code(), where(path, line.number) + failure.what());
        }
        if (line.expect && !outcome.ok)
            throw CliFailure(ExitCode::Refused,
                             where(path, line.number) + line.words[0] + ": " + outcome.reason);
    }
}

}  // namespace varmo::cli
