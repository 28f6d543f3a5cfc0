#pragma once
// Scripts for varmo-cli run: one command per line as on the command line,
// '#' comments and blank lines, "expect COMMAND ..." for a command whose
// answer must come and be accepted, and "wait MS".
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "cli/Session.h"

namespace varmo::cli {

// A line kept between its check and its run: its number and its text only,
// so a long script costs little more than its own bytes.
struct ScriptLine {
    int number = 0;
    std::string text;
};

// The longest line a script may hold, CR LF aside.
constexpr int kMaxScriptLine = 64 * 1024;

// Reads the whole script and checks every line before anything is sent, so a
// mistake on line 40 does not leave a half-run script behind. Usage error
// "FILE:LINE: ..." for the first wrong line or an unreadable file; a line
// over kMaxScriptLine bytes, or one holding a NUL byte, is wrong too.
std::vector<ScriptLine> ReadScript(const QString& path);

// Runs the lines in order; CliFailure with ExitCode::Refused and the line's
// number when an expected command fails. Every line is checked as Perform
// does when check is on, plain ones too: a refused plain line must not leave
// the printer halted, nor its error number to be blamed on the next line.
// before is told each line first.
void RunScript(Session& session, const std::vector<ScriptLine>& lines, const QString& path,
               bool check, const std::function<void(const ScriptLine&)>& before,
               const Session::Report& report);

}  // namespace varmo::cli
