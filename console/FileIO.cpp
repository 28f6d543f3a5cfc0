#include "console/FileIO.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "protocol/Exception.h"

namespace varmo {

namespace {

[[noreturn]] void fail(const char* what, const QString& path)
{
    throw Exception(std::string(what) + QDir::toNativeSeparators(path).toStdString());
}

}  // namespace

void WriteWholeFile(const QString& path, const std::string& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail("Nie można utworzyć pliku ", path);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        file.cancelWriting();
        fail("Błąd zapisu pliku ", path);
    }
    if (!file.commit())
        fail("Błąd zapisu pliku ", path);
}

std::string ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail("Nie można otworzyć pliku ", path);
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail("Błąd odczytu pliku ", path);
    return data.toStdString();
}

}  // namespace varmo
