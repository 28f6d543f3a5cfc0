// A command file as "Otwórz" takes it: any bytes with the last two dropped
// become a user sequence, shown as escaped text and sent in either code page.
// The sequence must come back unchanged from what is shown, go out byte for
// byte in Windows-1250 and with no plain byte changed in Mazovia.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "commands/UserCommand.h"
#include "protocol/CodePage.h"
#include "protocol/Escaped.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string file(reinterpret_cast<const char*>(data), size);
    file.resize(file.size() < 2 ? 0 : file.size() - 2);
    const auto command = varmo::TCmdUser::FromSequence(file);

    const std::string raw = command->GetRawFrame();
    if (raw != file)
        std::abort();
    varmo::Lines shown;
    varmo::EncodeEscaped(shown, raw);
    if (shown.size() != 1 || varmo::TryDecodeEscaped(shown) != raw)
        std::abort();
    varmo::Lines description;
    command->DescribeCommand(description);

    varmo::SetConsoleCodePage("win");
    if (command->GetFrame() != raw)
        std::abort();
    varmo::SetConsoleCodePage("maz");
    const std::string sent = command->GetFrame();
    if (sent.size() != raw.size())
        std::abort();
    // The framing, the digits and every other plain byte go out unchanged.
    for (std::size_t i = 0; i < raw.size(); ++i)
        if (static_cast<unsigned char>(raw[i]) < 0x80 && sent[i] != raw[i])
            std::abort();
    return 0;
}
