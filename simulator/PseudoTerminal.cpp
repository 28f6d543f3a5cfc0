#include "simulator/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace varmo {

namespace {

std::runtime_error systemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

PseudoTerminal::PseudoTerminal()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        throw systemError("posix_openpt");
    try {
        if (grantpt(master_) != 0)
            throw systemError("grantpt");
        if (unlockpt(master_) != 0)
            throw systemError("unlockpt");
        const char* name = ptsname(master_);
        if (name == nullptr)
            throw systemError("ptsname");
        path_ = name;
        slave_ = open(path_.c_str(), O_RDWR | O_NOCTTY);
        if (slave_ < 0)
            throw systemError("open " + path_);
        // Raw, so CR, 0xFF and every other byte pass unchanged, and no echo.
        termios settings{};
        if (tcgetattr(slave_, &settings) != 0)
            throw systemError("tcgetattr");
        cfmakeraw(&settings);
        cfsetispeed(&settings, B9600);
        cfsetospeed(&settings, B9600);
        if (tcsetattr(slave_, TCSANOW, &settings) != 0)
            throw systemError("tcsetattr");
        const int flags = fcntl(master_, F_GETFL);
        if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0)
            throw systemError("fcntl");
    } catch (...) {
        if (slave_ >= 0)
            close(slave_);
        close(master_);
        throw;
    }
}

long PseudoTerminal::LineSpeed() const
{
    termios settings{};
    if (tcgetattr(master_, &settings) != 0)
        return 0;
    struct Rate {
        speed_t code;
        long baud;
    };
    static const Rate rates[] = {
        {B50, 50},       {B75, 75},       {B110, 110},     {B134, 134},       {B150, 150},
        {B200, 200},     {B300, 300},     {B600, 600},     {B1200, 1200},     {B1800, 1800},
        {B2400, 2400},   {B4800, 4800},   {B9600, 9600},   {B19200, 19200},   {B38400, 38400},
        {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
    };
    const speed_t code = cfgetispeed(&settings);
    for (const Rate& rate : rates)
        if (rate.code == code)
            return rate.baud;
    return 0;
}

PseudoTerminal::~PseudoTerminal()
{
    close(slave_);
    close(master_);
}

DeviceLink::DeviceLink(std::string linkPath, const std::string& target)
    : path_(std::move(linkPath)), target_(target)
{
    struct stat info {};
    if (lstat(path_.c_str(), &info) == 0) {
        // Only a link left over from an earlier run is ours to replace.
        if (!S_ISLNK(info.st_mode))
            throw std::runtime_error(path_ + " exists and is not a symbolic link");
        if (unlink(path_.c_str()) != 0)
            throw systemError("unlink " + path_);
    }
    if (symlink(target.c_str(), path_.c_str()) != 0)
        throw systemError("symlink " + path_);
}

DeviceLink::~DeviceLink()
{
    // Leave alone a link that someone has pointed elsewhere meanwhile.
    char buffer[4096];
    const ssize_t length = readlink(path_.c_str(), buffer, sizeof buffer);
    if (length >= 0 && std::string(buffer, static_cast<std::size_t>(length)) == target_)
        unlink(path_.c_str());
}

}  // namespace varmo
