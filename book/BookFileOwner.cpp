#include "book/BookFileOwner.h"

#include <QDir>
#include <QFileInfo>

#include "book/BookPath.h"
#include "link/OwnerOnly.h"

namespace varmo::book {

void BookFilesForOwner(const QString& path)
{
    const QFileInfo file(path);
    const QString folder = file.absolutePath();
    if (!QFileInfo::exists(folder) ||
        folder == QFileInfo(DefaultBookPath()).absolutePath())
        FolderForOwner(folder);
    FileForOwner(path);
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        MendForOwner(path + QString::fromLatin1(suffix));
    const QStringList aside = QDir(folder).entryList(
        {file.fileName() + QStringLiteral(".uszkodzona-*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : aside)
        MendForOwner(QDir(folder).filePath(name));
}

}  // namespace varmo::book
