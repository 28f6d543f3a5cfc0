#pragma once
// The two verbs that talk to no one printer: ports lists the serial devices
// of this machine, find looks for the printer on all of them at every speed.
#include <ostream>

#include "cli/CommandLine.h"

namespace varmo::cli {

// Whether the verb is one of these two.
bool IsPortVerb(const std::string& verb);

// Runs it; the exit status (find: 1 when nothing answered, with the reason
// as a CliFailure). The settings store must be open.
int RunPortVerb(const Invocation& invocation, std::ostream& out);

}  // namespace varmo::cli
