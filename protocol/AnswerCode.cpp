#include "protocol/AnswerCode.h"

#include <array>
#include <utility>

#include "protocol/Frame.h"

namespace varmo {

namespace {

// Each read's code, and the code its answer carries.
constexpr std::array<std::pair<const char*, const char*>, 5> kAnswerCodes{{
    {"#u", "#U"},  // header
    {"#n", "#E"},  // last error
    {"#s", "#X"},  // cash information
    {"#c", "#C"},  // clock
    {"$g", "$G"},  // goods status
}};

}  // namespace

std::string CommandCodeOf(const std::string& frame)
{
    std::size_t at = frame.compare(0, kFrameStart.size(), kFrameStart) == 0 ? kFrameStart.size() : 0;
    // The numbers before the code: parameters, or the answer's leading digit.
    while (at < frame.size() &&
           ((frame[at] >= '0' && frame[at] <= '9') || frame[at] == ';'))
        ++at;
    if (at + 1 >= frame.size() || (frame[at] != '#' && frame[at] != '$'))
        return {};
    return frame.substr(at, 2);
}

namespace {

// The code the request's answer carries, or null when not known.
const char* AnswerCodeFor(const std::string& request)
{
    const std::string asked = CommandCodeOf(request);
    for (const auto& [question, reply] : kAnswerCodes)
        if (asked == question)
            return reply;
    return nullptr;
}

}  // namespace

bool MayAnswer(const std::string& request, const std::string& answer)
{
    const char* expected = AnswerCodeFor(request);
    const std::string came = CommandCodeOf(answer);
    return expected == nullptr || came.empty() || came == expected;
}

bool Answers(const std::string& request, const std::string& answer)
{
    const char* expected = AnswerCodeFor(request);
    return expected != nullptr && CommandCodeOf(answer) == expected;
}

}  // namespace varmo
