#include "protocol/Command.h"

#include "protocol/CodePage.h"
#include "protocol/Frame.h"
#include "protocol/Mazovia.h"

namespace varmo {

std::string TCommand::GetFrame() const
{
    std::string body = GetBody();
    if (ConsoleSendsMazovia())
        WindowsToMazovia(body);
    return FrameOf(body);
}

std::string TCommand::GetRawFrame() const { return FrameOf(GetBody()); }

void TCommand::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Opis niedostępny");
}

}  // namespace varmo
