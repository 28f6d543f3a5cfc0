#pragma once
// The rule that gives an answer its meaning: every frame that comes belongs
// to the current command, sent or not. A command that takes no answer leaves
// it unread; one that does either accepts it and describes it, or does not
// understand it. Shared by the console's answer views and varmo-cli.
#include <string>

#include "protocol/Types.h"

namespace varmo {

class TCommand;

// What the printer's silence and an answer the command cannot read are
// called, on screen and on varmo-cli's output alike.
inline constexpr const char* kNoAnswerText = "Brak odpowiedzi";
inline constexpr const char* kNotUnderstoodText = "Niezrozumiała sekwencja";

struct AnswerMatch {
    bool forRequest = false;  // the command takes answers
    bool accepted = false;
    // The answer described (only when asked for), or the one line
    // kNotUnderstoodText when the command did not take it.
    Lines description;
};

// Errors of the command's reading go on to the caller, which shows them
// beside the frame that caused them.
AnswerMatch MatchAnswer(TCommand* command, const std::string& frame, bool describe);

}  // namespace varmo
