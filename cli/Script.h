#pragma once
// Scripts for varmo-cli run: one command per line as on the command line,
// '#' comments and blank lines, "expect COMMAND ..." for a command whose
// answer must come and be accepted, and "wait MS".
#include <QFile>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/Session.h"

namespace varmo::cli {

// A line as it runs: its number and its text.
struct ScriptLine {
    int number = 0;
    std::string text;
};

// The longest line a script may hold, CR LF aside.
constexpr int kMaxScriptLine = 64 * 1024;

// A script whose every line has been checked, read again a line at a time as
// it runs: two passes over the file, so a script of any size runs in the
// memory of its longest line.
class CheckedScript {
public:
    // No script at all (a single command from the command line).
    CheckedScript() = default;
    // Opens the file and checks every line: see ReadScript.
    explicit CheckedScript(const QString& path);

    // Back to the first line, for the run. Usage error when the file is no
    // longer the size it was when it was checked.
    void Rewind();
    // The next line to run, comments and blank lines passed over; false at
    // the end. A line that can no longer be read is a usage error at its
    // number.
    bool Next(ScriptLine& line);

private:
    // The next line of the file at all, or false at its end.
    bool nextRaw(std::string& text);

    QString path_;
    std::unique_ptr<QFile> file_;
    std::vector<char> buffer_;
    qint64 size_ = 0;
    int number_ = 0;
};

// Opens the script and checks every line before anything is sent, so a
// mistake on line 40 does not leave a half-run script behind. Usage error
// "FILE:LINE: ..." for the first wrong line, "FILE: ..." for a file that
// cannot be opened or is no regular file (a FIFO, a device, a folder: never
// opened, so nothing waits); a line over kMaxScriptLine bytes, or one holding
// a NUL byte, is wrong too.
CheckedScript ReadScript(const QString& path);

// Runs the lines in order; CliFailure with ExitCode::Refused and the line's
// number when an expected command fails. Every line is checked as Perform
// does when check is on, plain ones too: a refused plain line must not leave
// the printer halted, nor its error number to be blamed on the next line.
// before is told each line first.
void RunScript(Session& session, CheckedScript& lines, const QString& path, bool check,
               const std::function<void(const ScriptLine&)>& before,
               const Session::Report& report);

}  // namespace varmo::cli
