#pragma once
// A real file system that fills up: a tmpfs of 64 KiB mounted on a fresh
// folder for as long as the object lives. Mounting needs root and a kernel
// that lets this process mount; a test asks Unavailable() and skips with its
// reason when it cannot.
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <string>

namespace varmo::test {

class SmallTmpfs {
public:
    // size as mount takes it: "64k", "1m".
    explicit SmallTmpfs(const char* size = "64k")
    {
        if (!dir_.isValid()) {
            unavailable_ = "no temporary folder";
            return;
        }
        if (geteuid() != 0) {
            unavailable_ = "mounting a small tmpfs needs root; the file size limit test covers "
                           "the same ground";
            return;
        }
        mountPoint_ = dir_.path().toStdString();
        if (mount("tmpfs", mountPoint_.c_str(), "tmpfs", 0,
                  (std::string("size=") + size).c_str()) != 0) {
            unavailable_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
            return;
        }
        mounted_ = true;
    }
    ~SmallTmpfs()
    {
        if (mounted_)
            umount2(mountPoint_.c_str(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    // Why it could not be mounted; empty when it is.
    const std::string& Unavailable() const { return unavailable_; }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    // Writes a filler file until the file system refuses another byte; true
    // when it ended full (ENOSPC).
    bool FillUp() const
    {
        const std::string filler = path("filler").toStdString();
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, block.data(), 1) > 0) {
        }
        const int lastError = errno;
        ::close(fd);
        return lastError == ENOSPC;
    }

private:
    QTemporaryDir dir_;
    std::string mountPoint_;
    std::string unavailable_;
    bool mounted_ = false;
};

}  // namespace varmo::test
