#pragma once
// varmo-cli book: the visit book read without a printer. "book printers
// [--due DAYS] [--search TEXT]", "book visits UNIQUE", "book show VISIT",
// "book export --csv FILE | --json FILE"; each as text or, with --json, as
// one JSON object.
#include <ostream>

#include "cli/CommandLine.h"

namespace varmo::cli {

// words[0] is "book". Usage error for a wrong call, CliFailure (1) when the
// book cannot be read or has no such printer or visit.
int RunBookVerb(const Invocation& invocation, std::ostream& out);

}  // namespace varmo::cli
