#include "book/PasswordFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace varmo::book {

namespace {

QString escaped(QString field)
{
    field.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    field.replace(QLatin1Char(':'), QStringLiteral("\\:"));
    return field;
}

// The fields of one line, their escapes undone.
QStringList fieldsOf(const QString& line)
{
    QStringList fields{QString()};
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('\\') && i + 1 < line.size())
            fields.back() += line[++i];
        else if (line[i] == QLatin1Char(':') && fields.size() < 5)
            fields.append(QString());
        else
            fields.back() += line[i];
    }
    return fields;
}

QStringList keyOf(const ServerAddress& address)
{
    return {address.host, QString::number(address.port), address.database, address.user};
}

bool matches(const QStringList& fields, const QStringList& key)
{
    if (fields.size() != 5)
        return false;
    for (int i = 0; i < 4; ++i)
        if (fields[i] != QStringLiteral("*") && fields[i] != key[i])
            return false;
    return true;
}

QStringList linesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
}

}  // namespace

QString PasswordFilePath()
{
    const QString own = qEnvironmentVariable("PGPASSFILE");
    return own.isEmpty() ? QDir::home().filePath(QStringLiteral(".pgpass")) : own;
}

QString PasswordFromFile(const ServerAddress& address, const QString& path)
{
    const QStringList key = keyOf(address);
    for (const QString& line : linesOf(path)) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = fieldsOf(line);
        if (matches(fields, key))
            return fields[4];
    }
    return {};
}

QString PasswordIntoFile(const ServerAddress& address, const QString& password,
                         const QString& path)
{
    const QStringList key = keyOf(address);
    QStringList kept;
    for (const QString& line : linesOf(path)) {
        const QStringList fields = fieldsOf(line);
        if (line.isEmpty() || (fields.size() == 5 && fields.mid(0, 4) == key))
            continue;
        kept << line;
    }
    QStringList ours;
    for (const QString& field : key)
        ours << escaped(field);
    kept << ours.join(QLatin1Char(':')) + QLatin1Char(':') + escaped(password);
    QSaveFile file(path);
    // The new file is its owner's alone before a byte of it is written.
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        file.write((kept.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0 ||
        !file.commit())
        return QStringLiteral("nie można zapisać pliku haseł %1: %2").arg(path, file.errorString());
    return {};
}

}  // namespace varmo::book
