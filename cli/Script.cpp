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

// A line read for its meaning: checked once before anything is sent, and
// read again when its turn comes.
struct ParsedLine {
    bool expect = false;
    int waitMs = -1;  // a wait line when 0 or more
    std::vector<std::string> words;  // the command and its parameters
};

ParsedLine parseLine(const std::string& text)
{
    ParsedLine line;
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

    std::vector<ScriptLine> lines;
    int number = 0;
    // A line at a time, each at most kMaxScriptLine bytes besides its CR LF:
    // a file that is not a script (a device, an image) is refused at its
    // first line instead of being read whole.
    for (;;) {
        // Room for the longest line, its CR LF and one byte more: a line cut
        // off shows as longer than the bound.
        QByteArray raw = file.readLine(kMaxScriptLine + 4);
        if (file.error() != QFileDevice::NoError)
            throw UsageError(where(path, number + 1) + file.errorString().toStdString());
        if (raw.isEmpty())
            break;  // a blank line is "\n", so this is the end
        ++number;
        if (raw.contains('\0'))
            throw UsageError(where(path, number) + "not a text file: the line holds a NUL byte");
        if (raw.endsWith('\n'))
            raw.chop(1);
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.size() > kMaxScriptLine)
            throw UsageError(where(path, number) + "the line is longer than " +
                             std::to_string(kMaxScriptLine) + " bytes");
        if (number == 1 && raw.startsWith("\xEF\xBB\xBF"))
            raw.remove(0, 3);
        const std::string text(raw.constData(), static_cast<std::size_t>(raw.size()));
        const std::size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || text[first] == '#')
            continue;
        try {
            std::string kept = text.substr(first);
            parseLine(kept);
            kept.shrink_to_fit();
            lines.push_back(ScriptLine{number, std::move(kept)});
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
    for (const ScriptLine& kept : lines) {
        before(kept);
        const ParsedLine line = parseLine(kept.text);
        Outcome outcome;
        try {
            if (line.waitMs >= 0) {
                session.Pause(line.waitMs);
                continue;
            }
            const Step step = BuildStep(line.words);
            outcome = session.Perform(step, line.words[0], kept.number, check, report);
        } catch (const CliFailure& failure) {
            // The port went away: say where the script stood.
            throw CliFailure(failure.Code(), where(path, kept.number) + failure.what());
        }
        if (line.expect && !outcome.ok)
            throw CliFailure(ExitCode::Refused,
                             where(path, kept.number) + line.words[0] + ": " + outcome.reason);
    }
}

}  // namespace varmo::cli
