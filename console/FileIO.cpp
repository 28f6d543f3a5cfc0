#include "console/FileIO.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

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

[[noreturn]] void tooLarge(const QString& path, const std::string& size, std::int64_t limit)
{
    throw Exception("Plik " + shown(path) + " jest za duży (" + size + " bajtów, najwyżej " +
                    std::to_string(limit) + ")");
}

}  // namespace

void WriteWholeFile(const QString& path, const std::string& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail("Nie można utworzyć pliku ", path);
    const auto size = static_cast<qint64>(bytes.size());
    // The last bytes may still sit in the file's buffer after write(), and a
    // full disk refuses them only at the flush. commit() would then replace the
    // old file anyway, so the flush is done and checked here first.
    if (file.write(bytes.data(), size) != size || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        fail("Błąd zapisu pliku ", path);
    }
    if (!file.commit() || file.error() != QFileDevice::NoError)
        fail("Błąd zapisu pliku ", path);
}

std::string ReadWholeFile(const QString& path, std::int64_t limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("Nie można otworzyć pliku ", path);
    if (!file.isSequential() && file.size() > limit)
        tooLarge(path, std::to_string(file.size()), limit);
    // A pipe or a device has no size to ask for: read up to one byte past the
    // limit and refuse when it comes.
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
