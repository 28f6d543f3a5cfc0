#include "link/OwnerOnly.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varmo {

namespace {

constexpr QFileDevice::Permissions kOwnerFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOwnerFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
// Whatever the group or the others may do.
constexpr QFileDevice::Permissions kOthers =
    QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
    QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

#ifndef Q_OS_WIN
// Only a regular file or a folder of our own is touched, never what a link
// points at.
void narrowed(const QString& path, QFileDevice::Permissions wanted)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isSymLink())
        return;
    if (info.permissions() & kOthers)
        QFile::setPermissions(path, wanted);
}
#endif

}  // namespace

void FolderForOwner(const QString& folder)
{
#ifndef Q_OS_WIN
    const QFileInfo info(folder);
    if (!info.exists()) {
        QDir().mkpath(info.absolutePath());
        QDir().mkdir(folder, kOwnerFolder);
        return;
    }
    if (info.isDir())
        narrowed(folder, kOwnerFolder);
#else
    QDir().mkpath(folder);
#endif
}

void FileForOwner(const QString& file)
{
#ifndef Q_OS_WIN
    if (!QFileInfo(file).exists() && !QFileInfo(file).isSymLink()) {
        QFile made(file);
        made.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerFile);
        return;
    }
    if (QFileInfo(file).isFile())
        narrowed(file, kOwnerFile);
#else
    (void)file;
#endif
}

void MendForOwner(const QString& file)
{
#ifndef Q_OS_WIN
    if (QFileInfo(file).isFile())
        narrowed(file, kOwnerFile);
#else
    (void)file;
#endif
}

}  // namespace varmo
