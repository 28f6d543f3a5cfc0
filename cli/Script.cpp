#include "cli/Script.h"

#include <string_view>

#include "cli/Failure.h"
#include "cli/Interruption.h"
#include "cli/ParamText.h"
#include "cli/Verbs.h"
#include "cli/Words.h"
#include "link/RegularFile.h"

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

// The line's command, from its first character that is not blank; nothing
// for a blank line or a comment.
bool commandOf(const std::string& text, std::string& command)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos || text[first] == '#')
        return false;
    command = text.substr(first);
    return true;
}

ParsedLine parsedAt(const QString& path, int number, const std::string& text)
{
    try {
        return parseLine(text);
    } catch (const CliFailure& failure) {
        throw UsageError(where(path, number) + failure.what());
    }
}

}  // namespace

CheckedScript::CheckedScript(const QString& path) : path_(path), file_(std::make_unique<QFile>(path))
{
    // Asked before the open: a FIFO would hold varmo-cli until something
    // wrote to it, a device would never end.
    const FileKind kind = KindOfFile(path);
    if (kind != FileKind::Regular && kind != FileKind::Missing)
        throw UsageError(path.toStdString() + ": " + NotRegularFileTextEnglish(kind));
    if (!file_->open(QIODevice::ReadOnly))
        throw UsageError(path.toStdString() + ": " + file_->errorString().toStdString());
    size_ = file_->size();
    // The first pass: every line checked, none kept.
    std::string text;
    std::string command;
    while (nextRaw(text)) {
        if (commandOf(text, command))
            parsedAt(path_, number_, command);
    }
}

void CheckedScript::Rewind()
{
    number_ = 0;
    if (!file_)
        return;
    if (file_->size() != size_ || !file_->seek(0))
        throw UsageError(path_.toStdString() + ": the script changed while it was checked");
}

bool CheckedScript::nextRaw(std::string& text)
{
    // A line at a time, each at most kMaxScriptLine bytes besides its CR LF:
    // a file that is not a script (an image, a database) is refused at its
    // first wrong line instead of being read whole. Room for the longest
    // line, its CR LF and one byte more: a line cut off shows as longer than
    // the bound. Into one buffer for the whole file: a fresh one a line costs
    // the system a mapping and an unmapping for each.
    buffer_.resize(kMaxScriptLine + 5);
    if (file_->atEnd())
        return false;
    const qint64 read = file_->readLine(buffer_.data(), static_cast<qint64>(buffer_.size()));
    if (read < 0 || file_->error() != QFileDevice::NoError)
        throw UsageError(where(path_, number_ + 1) + file_->errorString().toStdString());
    if (read == 0)
        return false;
    ++number_;
    std::string_view raw(buffer_.data(), static_cast<std::size_t>(read));
    if (raw.find('\0') != std::string_view::npos)
        throw UsageError(where(path_, number_) + "not a text file: the line holds a NUL byte");
    if (!raw.empty() && raw.back() == '\n')
        raw.remove_suffix(1);
    if (!raw.empty() && raw.back() == '\r')
        raw.remove_suffix(1);
    if (raw.size() > static_cast<std::size_t>(kMaxScriptLine))
        throw UsageError(where(path_, number_) + "the line is longer than " +
                         std::to_string(kMaxScriptLine) + " bytes");
    if (number_ == 1 && raw.substr(0, 3) == "\xEF\xBB\xBF")
        raw.remove_prefix(3);
    text.assign(raw.data(), raw.size());
    return true;
}

bool CheckedScript::Next(ScriptLine& line)
{
    if (!file_)
        return false;
    std::string text;
    while (nextRaw(text)) {
        if (commandOf(text, line.text)) {
            line.number = number_;
            return true;
        }
    }
    return false;
}

CheckedScript ReadScript(const QString& path)
{
    return CheckedScript(path);
}

void RunScript(Session& session, CheckedScript& lines, const QString& path, bool check,
               const std::function<void(const ScriptLine&)>& before,
               const Session::Report& report)
{
    lines.Rewind();
    ScriptLine kept;
    // The goods report open on the printer, and the goods sent in it.
    bool inReport = false;
    int goods = 0;
    // However the script stops, the printer is not left inside the goods
    // report, as the console's "Anuluj" does not leave it. Checked: the error
    // read that follows shows the printer has taken the frame before the
    // port closes behind it. A line that has failed may not take it.
    const auto stopped = [&](ExitCode code, int number, const std::string& why) {
        std::string told = where(path, number) + why;
        if (inReport) {
            told += "; " + std::to_string(goods) + " goods went out";
            try {
                const Outcome ended = session.Perform(BuildStep({"goods-check-end"}),
                                                      "goods-check-end", number, true, report);
                told += ended.ok ? ", and the goods report was ended"
                                 : ", and its end went out unconfirmed: " + ended.reason;
            } catch (const CliFailure& failure) {
                told += std::string(", and the goods report could not be ended: ") + failure.what();
            }
        }
        return CliFailure(code, told);
    };
    const auto stopIfInterrupted = [&](int number, const char* where_) {
        const int signal = Interruption();
        if (signal == 0)
            return;
        HearInterruption();
        throw stopped(static_cast<ExitCode>(128 + signal), number,
                      std::string("stopped by ") + InterruptionName(signal) + " " + where_);
    };
    while (lines.Next(kept)) {
        stopIfInterrupted(kept.number, "before this line");
        before(kept);
        // Checked already; read again, as the file is read again.
        const ParsedLine line = parsedAt(path, kept.number, kept.text);
        Outcome outcome;
        try {
            if (line.waitMs >= 0)
                session.Pause(line.waitMs);
            else
                outcome = session.Perform(BuildStep(line.words), line.words[0], kept.number,
                                          check, report);
        } catch (const CliFailure& failure) {
            if (Interruption() == 0)  // the port went away: say where the script stood
                throw stopped(failure.Code(), kept.number, failure.what());
        }
        stopIfInterrupted(kept.number, "in this line");
        if (line.waitMs >= 0)
            continue;
        if (line.expect && !outcome.ok)
            throw stopped(ExitCode::Refused, kept.number, line.words[0] + ": " + outcome.reason);
        const std::string& verb = line.words[0];
        if (verb == "goods-check-start" && outcome.ok) {
            inReport = true;
            goods = 0;
        } else if (verb == "goods-check-line" && outcome.ok && inReport) {
            ++goods;
        } else if (verb == "goods-check-end") {
            inReport = false;
        }
    }
    stopIfInterrupted(kept.number, "after this line, the last");
}

}  // namespace varmo::cli
