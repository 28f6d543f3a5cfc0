// Planted uses of the POSIX API, for the portability check to find.
#include <cstdio>
#include <csignal>
#include <unistd.h>
#  include "termios.h"
#include <sys/ioctl.h>
#include "link/ComPort.h"
#include <QtSerialPort/QSerialPort>

void planted()
{
    struct sigaction action {};  // comment naming usleep is fine
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    const char* text = "setenv in a string is fine; array[";
    ssize_t n = 0;
    char buffer[4] = {0};
    (void)text; (void)n; (void)buffer;
    mysetenv_like_name();
}
