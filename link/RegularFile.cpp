#include "link/RegularFile.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace varmo {

namespace {

std::filesystem::path fsPath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    const QByteArray local = QFile::encodeName(path);
    return std::filesystem::path(std::string(local.constData(), static_cast<std::size_t>(local.size())));
#endif
}

// The files of /proc and /sys look regular but are the kernel's own: their
// size says nothing, and some never end.
bool onKernelFileSystem(const QString& path)
{
    std::error_code error;
    const std::string real = std::filesystem::canonical(fsPath(path), error).generic_string();
    if (error)
        return false;
    return real.rfind("/proc/", 0) == 0 || real.rfind("/sys/", 0) == 0;
}

}  // namespace

FileKind KindOfFile(const QString& path)
{
    namespace fs = std::filesystem;
    if (path.isEmpty())
        return FileKind::Missing;
    std::error_code error;
    // status(), not symlink_status(): a link to /dev/zero is /dev/zero.
    const fs::file_status status = fs::status(fsPath(path), error);
    if (error)
        return FileKind::Missing;
    switch (status.type()) {
    case fs::file_type::regular:
        return onKernelFileSystem(path) ? FileKind::Other : FileKind::Regular;
    case fs::file_type::directory:
        return FileKind::Folder;
    case fs::file_type::fifo:
        return FileKind::Pipe;
    case fs::file_type::character:
    case fs::file_type::block:
        return FileKind::Device;
    case fs::file_type::not_found:
    case fs::file_type::none:
        return FileKind::Missing;
    default:
        return FileKind::Other;
    }
}

std::string NotRegularFileText(FileKind kind)
{
    switch (kind) {
    case FileKind::Folder:
        return "to folder, a nie plik";
    case FileKind::Pipe:
        return "to potok (FIFO), a nie zwykły plik";
    case FileKind::Device:
        return "to urządzenie, a nie zwykły plik";
    case FileKind::Other:
        return "to nie jest zwykły plik";
    case FileKind::Missing:
    case FileKind::Regular:
        break;
    }
    return {};
}

std::string NotRegularFileTextEnglish(FileKind kind)
{
    switch (kind) {
    case FileKind::Folder:
        return "a folder, not a file";
    case FileKind::Pipe:
        return "a pipe (FIFO), not a regular file";
    case FileKind::Device:
        return "a device, not a regular file";
    case FileKind::Other:
        return "not a regular file";
    case FileKind::Missing:
    case FileKind::Regular:
        break;
    }
    return {};
}

}  // namespace varmo
