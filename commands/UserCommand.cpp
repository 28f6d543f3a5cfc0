#include "commands/UserCommand.h"

#include "protocol/CodePage.h"
#include "protocol/Mazovia.h"

namespace varmo {

std::unique_ptr<TCmdUser> TCmdUser::FromBody(std::string body)
{
    return std::unique_ptr<TCmdUser>(new TCmdUser(std::move(body), {}, false));
}

std::unique_ptr<TCmdUser> TCmdUser::FromSequence(std::string sequence)
{
    return std::unique_ptr<TCmdUser>(new TCmdUser({}, std::move(sequence), true));
}

std::string TCmdUser::GetBody() const { return body_; }

std::string TCmdUser::GetFrame() const
{
    if (!isSequence_)
        return TCommand::GetFrame();
    // A loaded sequence goes out as it is; only the Polish letters follow the
    // code page, and a check value inside it is never recomputed.
    std::string bytes = sequence_;
    if (ConsoleSendsMazovia())
        WindowsToMazovia(bytes);
    return bytes;
}

std::string TCmdUser::GetRawFrame() const
{
    return isSequence_ ? sequence_ : TCommand::GetRawFrame();
}

void TCmdUser::DescribeCommand(Lines& lines) const
{
    lines.clear();
    lines.push_back("Sekwencja użytkownika");
}

}  // namespace varmo
