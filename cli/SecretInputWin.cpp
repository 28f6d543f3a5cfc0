#include "cli/SecretInput.h"

#include <windows.h>

#include <iostream>

namespace varmo::cli {

std::optional<std::string> ReadSecretLine(const std::string& prompt)
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD before = 0;
    const bool console = GetConsoleMode(input, &before) != 0;
    if (console) {
        std::cerr << prompt << std::flush;
        SetConsoleMode(input, before & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (console) {
        SetConsoleMode(input, before);
        std::cerr << std::endl;
    }
    if (!read)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

}  // namespace varmo::cli
