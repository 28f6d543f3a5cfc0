#include "protocol/CodePage.h"

#include "protocol/Mazovia.h"

namespace varmo {

namespace {
std::string& codePageSetting()
{
    static std::string value = "maz";
    return value;
}
}  // namespace

void SetConsoleCodePage(const std::string& codePage) { codePageSetting() = codePage; }
const std::string& ConsoleCodePage() { return codePageSetting(); }
bool ConsoleSendsMazovia() { return codePageSetting() == "maz"; }

std::string LineToWindows(std::string bytes)
{
    if (ConsoleSendsMazovia())
        MazoviaToWindows(bytes);
    return bytes;
}

}  // namespace varmo
