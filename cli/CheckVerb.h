#pragma once
// varmo-cli check: the service check (status bytes, last error, clock,
// header, cash information) on the printer, shown as it goes, or as one JSON
// object, and its report written as PDF or plain text.
#include <QJsonObject>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CheckVisit.h"
#include "exchange/ServiceCheck.h"

namespace varmo::cli {

class Session;
struct LinkChoice;

struct CheckOptions {
    bool json = false;
    std::optional<std::string> pdf;
    std::optional<std::string> text;
    VisitOptions visit;  // --no-book, --technician, --note; --book before the verb
};

// words[0] is "check"; its options follow. Usage error for anything else.
CheckOptions ParseCheckOptions(const std::vector<std::string>& words);

// Every field of the result.
QJsonObject CheckJson(const CheckResult& result);

// Runs the check on the open session, shows it on out and writes the
// reports. 0 when every step answered and nothing needs attention, else 1;
// CliFailure (1) when a report cannot be written. Either way 5 (NotRecorded)
// when the visit was to go into the book and did not, the text's last line
// saying so.
// visit: its book opened before the port was.
int RunCheck(Session& session, const LinkChoice& link, const CheckOptions& options,
             CheckVisit& visit, std::ostream& out);

}  // namespace varmo::cli
