#pragma once
#include <QDateTime>
// The commands varmo-cli knows, by the word that names them: what each one
// sends (a catalogue command's frame, or one control byte) built from its
// parameters, and the line of help that describes it.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "protocol/Command.h"

namespace varmo::cli {

// What one command puts on the line: a frame, or ENQ, DLE or CAN.
struct Step {
    std::unique_ptr<TCommand> command;
    char control = 0;  // when there is no command
    // When valid: the command goes out at this moment, not before (the clock
    // set to this computer's time at the turn of a minute).
    QDateTime sendAt;
    // The clock set from this computer's: not sent when the printer's is
    // more than an hour from it, unless forced.
    bool fromComputerClock = false;
};

struct Verb {
    const char* name;
    const char* params;   // as --help shows them
    const char* summary;  // one line for --help
    const char* group;    // the --help section it belongs to
    std::size_t minArgs;
    std::size_t maxArgs;
    Step (*build)(const std::vector<std::string>& args);
};

// In the order --help lists them.
const std::vector<Verb>& Verbs();
const Verb* FindVerb(const std::string& name);

// words[0] is the command, the rest its parameters. The frame and the
// description are built once here, so a parameter the command cannot take
// (a date past 2030) is a usage error before anything is sent.
Step BuildStep(const std::vector<std::string>& words);

}  // namespace varmo::cli
