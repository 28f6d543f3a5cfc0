#include "cli/SecretInput.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>

namespace varmo::cli {

std::optional<std::string> ReadSecretLine(const std::string& prompt)
{
    const bool terminal = isatty(STDIN_FILENO) == 1;
    termios before{};
    if (terminal && tcgetattr(STDIN_FILENO, &before) == 0) {
        termios quiet = before;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        std::cerr << prompt << std::flush;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (terminal)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
    if (!read)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

}  // namespace varmo::cli
