#include "link/PortHold.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace varmo {

int PortHoldError(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int descriptor = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    int code = 0;
#ifdef TIOCGEXCL
    int exclusive = 0;
    if (::ioctl(descriptor, TIOCGEXCL, &exclusive) == 0 && exclusive != 0)
        code = EBUSY;
#endif
    if (code == 0)
        code = HoldPort(descriptor);
    ::close(descriptor);  // and the lock with it
    return code;
}

int HoldPort(int descriptor)
{
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
        return 0;
    return errno == EWOULDBLOCK ? EBUSY : 0;
}

}  // namespace varmo
