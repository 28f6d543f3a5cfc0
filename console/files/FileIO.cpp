#include "console/files/FileIO.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <cerrno>

#include "link/RegularFile.h"
#include "protocol/Exception.h"

namespace varmo {

namespace {

std::string shown(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdString();
}

[[noreturn]] void fail(const char* what, const QString& path)
{
    throw Exception(std::string(what) + shown(path));
}

// The same, with the system's words for why ("No space left on device").
[[noreturn]] void fail(const char* what, const QString& path, const QString& reason)
{
    if (reason.isEmpty())
        fail(what, path);
    throw Exception(std::string(what) + shown(path) + ": " + reason.toStdString());
}

// A write that failed: the old file stays. The system's number is the
// reason when there is one: a write that fails inside the file's buffer
// leaves Qt with only "Unknown error", and cancelling puts a text of its own
// in its place.
[[noreturn]] void writeFailed(QSaveFile& file, const QString& path, int systemError)
{
    const QString reason = systemError != 0 ? qt_error_string(systemError) : file.errorString();
    file.cancelWriting();
    fail("Błąd zapisu pliku ", path, reason);
}

[[noreturn]] void tooLarge(const QString& path, const std::string& size, std::int64_t limit)
{
    throw Exception("Plik " + shown(path) + " jest za duży (" + size + " bajtów, najwyżej " +
                    std::to_string(limit) + ")");
}

}  // namespace

void WriteWholeFile(const QString& path, const std::string& bytes)
{
    FileWriter file(path);
    file.Write(bytes);
    file.Commit();
}

FileWriter::FileWriter(const QString& path) : file_(std::make_unique<QSaveFile>(path)), path_(path)
{
    if (!file_->open(QIODevice::WriteOnly))
        fail("Nie można utworzyć pliku ", path, file_->errorString());
}

FileWriter::~FileWriter()
{
    if (file_->isOpen())
        file_->cancelWriting();
}

void FileWriter::Write(const char* bytes, std::size_t count)
{
    const auto size = static_cast<qint64>(count);
    errno = 0;
    if (file_->write(bytes, size) != size || file_->error() != QFileDevice::NoError)
        writeFailed(*file_, path_, errno);
}

void FileWriter::Commit()
{
    // The last bytes may still sit in the file's buffer after write(), and a
    // full disk refuses them only at the flush. commit() would then replace the
    // old file anyway, so the flush is done and checked here first.
    errno = 0;
    if (!file_->flush() || file_->error() != QFileDevice::NoError)
        writeFailed(*file_, path_, errno);
    if (!file_->commit() || file_->error() != QFileDevice::NoError)
        fail("Błąd zapisu pliku ", path_, file_->errorString());
}

std::string ReadWholeFile(const QString& path, std::int64_t limit)
{
    // Asked before the open: a FIFO would hold the window until something
    // wrote to it, a device would never end, a folder is no file.
    const FileKind kind = KindOfFile(path);
    if (kind != FileKind::Regular && kind != FileKind::Missing)
        fail("Nie można otworzyć pliku ", path, QString::fromStdString(NotRegularFileText(kind)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("Nie można otworzyć pliku ", path);
    if (!file.isSequential() && file.size() > limit)
        tooLarge(path, std::to_string(file.size()), limit);
    // Should the file have turned into something else since it was asked
    // about: read up to one byte past the limit and refuse when it comes.
    QByteArray data;
    while (data.size() <= limit) {
        const QByteArray more = file.read(limit + 1 - data.size());
        if (file.error() != QFileDevice::NoError)
            fail("Błąd odczytu pliku ", path);
        if (more.isEmpty())
            break;
        data += more;
    }
    if (data.size() > limit)
        tooLarge(path, "ponad " + std::to_string(limit), limit);
    return data.toStdString();
}

}  // namespace varmo
