#include "link/SettingsAside.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringDecoder>

namespace varmo {

namespace {

bool unreadable(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;  // what cannot be opened is told by the writes
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0'))
        return true;
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)utf8.decode(bytes).operator QString();
    if (utf8.hasError())
        return true;
    return QSettings(path, QSettings::IniFormat).status() == QSettings::FormatError;
}

std::string shown(const QString& path)
{
    return "„" + QDir::toNativeSeparators(path).toStdString() + "”";
}

}  // namespace

std::string SetAsideUnreadable(const QString& path)
{
    if (!unreadable(path))
        return {};
    const QString aside =
        path + QStringLiteral(".bad-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    if (!QFile::rename(path, aside))
        return {};
    return "Plik ustawień " + shown(path) + " był nieczytelny: odłożono go jako " + shown(aside) +
           ", a program zaczyna od ustawień domyślnych";
}

}  // namespace varmo
