#pragma once
// Which question an answer frame answers, told by what it is: the command
// code in it (the sign and letter after the leading numbers: "#u" asks, and
// "1#U…" answers, the header). A late answer is filed under its own question
// so, not under whichever question is on the line when it comes.
#include <string>

namespace varmo {

// The code of a frame as it goes or comes on the line ("#u", "#U"), or empty.
std::string CommandCodeOf(const std::string& frame);

// Whether answer may be the answer to request: false only when both codes are
// known and the request's answers carry another.
bool MayAnswer(const std::string& request, const std::string& answer);
// Whether the codes say answer is the answer to request (both known).
bool Answers(const std::string& request, const std::string& answer);

}  // namespace varmo
