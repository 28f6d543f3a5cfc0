#pragma once
// varmo-cli's command line: the options before the command, then the command
// word and its parameters (which may start with '-', as a rate not in use
// does), or run and a script file.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/Failure.h"
#include "cli/Session.h"

namespace varmo::cli {

struct Invocation {
    std::optional<std::string> port;
    std::optional<std::int32_t> speed;
    std::optional<std::string> codePage;
    std::optional<int> listenMs;  // as given
    std::optional<std::string> book;  // --book FILE: another visit book
    std::optional<std::string> bookServer;  // --book-server URI: the company's shared book
    // The times settled: listenMs as given, else 0 with the check and 300
    // without; for send as given, else 300.
    LinkTimes times;
    bool json = false;
    bool check = true;
    bool force = false;  // --force: set-clock now however far the clocks are apart
    bool help = false;
    bool version = false;
    std::vector<std::string> options;  // the options as given, before the command
    std::vector<std::string> words;    // the command and its parameters
};

// The arguments after the program's name; usage error when they are wrong.
Invocation ParseCommandLine(const std::vector<std::string>& args);

// A command's usage error, told where the options go when some of the words
// after the command are varmo-cli's own options ("ports --json"):
// "ports: opcje podaje się przed poleceniem: varmo-cli --json ports". The
// error as it is otherwise.
CliFailure OptionsBeforeCommand(const Invocation& invocation, const CliFailure& error);

}  // namespace varmo::cli
