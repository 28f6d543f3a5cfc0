#include "protocol/CodePage.h"

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

}  // namespace varmo
