#include "link/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>
#include <memory>
#include <utility>

#include "link/OwnerOnly.h"
#include "link/RegularFile.h"
#include "link/SettingsAside.h"
#include "protocol/Exception.h"

namespace varmo {

namespace {

const char* const kOrganisation = "Ferwen s.c.";
const char* const kApplication = "Varmo";

// The key held open from start-up to exit. Reads and writes go through a
// fresh QSettings each: QSettings remembers only its first error, so one
// refused write would otherwise make every later write look refused too.
std::unique_ptr<QSettings>& openKey()
{
    static std::unique_ptr<QSettings> key;
    return key;
}

// A settings file set aside at the opening, told once at start.
std::string& setAside()
{
    static std::string message;
    return message;
}

// Whether this run has told of the store's trouble already.
bool& told()
{
    static bool once = false;
    return once;
}

#ifndef Q_OS_WIN
// The INI file, found without reading it: QSettings reads every file it is
// made for on the spot, and a FIFO there would hold the program for good.
// A store for a name beside it ("Varmo.ini.ini", never there) tells the
// folder that QSettings::setPath and the environment choose.
QString settingsFile()
{
    const QSettings beside(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromUtf8(kOrganisation) + QLatin1Char('/') +
                               QString::fromUtf8(kApplication) + QStringLiteral(".ini"));
    const QFileInfo besideFile(beside.fileName());
    return besideFile.absolutePath() + QLatin1Char('/') + QString::fromUtf8(kApplication) +
           QLatin1Char('.') + besideFile.suffix();
}
#endif

std::string shown(const QString& path)
{
    return "„" + QDir::toNativeSeparators(path).toStdString() + "”";
}

// The message for a settings file that is there but is no regular file;
// empty when all is well.
std::string fileTrouble()
{
#ifdef Q_OS_WIN
    return {};
#else
    const QString file = settingsFile();
    const FileKind kind = KindOfFile(file);
    if (kind == FileKind::Regular || kind == FileKind::Missing)
        return {};
    return "Nie można otworzyć pliku ustawień " + shown(file) + ": " + NotRegularFileText(kind) +
           "; program użyje ustawień domyślnych i nie zapamięta zmian";
#endif
}

std::string unwritable()
{
#ifdef Q_OS_WIN
    return "Nie można zapisać ustawień w kluczu rejestru " + shown(SettingsFolder()) +
           ": nie zostaną zapamiętane do następnego uruchomienia";
#else
    return "Nie można zapisać ustawień w folderze " + shown(SettingsFolder()) +
           ": nie zostaną zapamiętane do następnego uruchomienia";
#endif
}

// The first time a run meets the trouble it says so; after that, not again.
void tellOnce(const std::string& message)
{
    if (told())
        return;
    told() = true;
    throw Exception(message);
}

// Whether a write could be kept, looked at without writing: the file is
// writable, or the nearest folder on its way that is there is a writable
// folder (the missing ones below it would be made).
bool looksWritable()
{
#ifdef Q_OS_WIN
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(kOrganisation),
                     QString::fromUtf8(kApplication))
        .isWritable();
#else
    const QFileInfo file(settingsFile());
    if (file.exists())
        return file.isFile() && file.isWritable();
    QFileInfo folder(file.absolutePath());
    while (!folder.exists() && !folder.isRoot() && !folder.isSymLink())
        folder = QFileInfo(folder.absolutePath());
    return folder.isDir() && folder.isWritable();
#endif
}

std::unique_ptr<QSettings> makeStore()
{
#ifdef Q_OS_WIN
    // HKEY_CURRENT_USER\Software\Ferwen s.c.\Varmo: the registry is QSettings'
    // default format on Windows, text values as REG_SZ. (The console's tests
    // run under Wine make the default a file of their own.)
    return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope,
                                       QString::fromUtf8(kOrganisation),
                                       QString::fromUtf8(kApplication));
#else
    // The one file, without the organisation's and the system's files that
    // QSettings would read besides.
    return std::make_unique<QSettings>(settingsFile(), QSettings::IniFormat);
#endif
}

std::string quoted(const QString& name)
{
    return "'" + name.toStdString() + "'";
}

}  // namespace

void OpenSettingsStore()
{
    told() = false;
#ifndef Q_OS_WIN
    if (!openKey() && KindOfFile(settingsFile()) == FileKind::Regular) {
        // A file an earlier Varmo left readable by everyone is the user's
        // alone from now on, and so is its folder.
        MendForOwner(settingsFile());
        if (QFileInfo(QFileInfo(settingsFile()).absolutePath()).isDir())
            FolderForOwner(QFileInfo(settingsFile()).absolutePath());
        setAside() = SetAsideUnreadable(settingsFile());
    }
#endif
    if (!openKey() && fileTrouble().empty())
        openKey() = makeStore();
}

void CloseSettingsStore()
{
    if (openKey()) {
        // The held key keeps no changes of its own; a sync would read the
        // file again, and it may no longer be one.
        if (fileTrouble().empty())
            openKey()->sync();
        openKey().reset();
    }
    told() = false;
}

QString SettingsFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\") + QString::fromUtf8(kOrganisation) +
           QLatin1Char('\\') + QString::fromUtf8(kApplication);
#else
    return QFileInfo(settingsFile()).absolutePath();
#endif
}

std::string SettingsStoreProblem()
{
    if (!setAside().empty())
        return std::exchange(setAside(), std::string());
    if (told())
        return {};
    std::string trouble = fileTrouble();
    if (trouble.empty() && !looksWritable())
        trouble = unwritable();
    told() = !trouble.empty();
    return trouble;
}

std::string SettingsFileProblem()
{
    const std::string trouble = fileTrouble();
    return trouble.empty() ? std::exchange(setAside(), std::string()) : trouble;
}

QString ReadSetting(const QString& name)
{
    // Never opened: the defaults apply, and a write tells why.
    if (!fileTrouble().empty())
        return QString();
    const std::unique_ptr<QSettings> store = makeStore();
    const QVariant value = store->value(name);
    if (!value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QString:
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return value.toString();  // a number is read as the number it is
    default:
        throw SettingsTypeError("Invalid data type for " + quoted(name));
    }
    const QString text = value.toString();
    // Text ends at its first NUL, as a stored C string would.
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

bool WriteSettingQuietly(const QString& name, const QString& value)
{
    if (name.isEmpty() || !fileTrouble().empty())
        return false;
#ifndef Q_OS_WIN
    // Made for its owner alone before QSettings writes it, which then keeps
    // the file's mode.
    FolderForOwner(QFileInfo(settingsFile()).absolutePath());
    FileForOwner(settingsFile());
#endif
    const std::unique_ptr<QSettings> store = makeStore();
    if (store->status() != QSettings::NoError)
        return false;
    const QVariant previous = store->value(name);
    store->setValue(name, value);
    store->sync();
    if (store->status() == QSettings::NoError)
        return true;
    // Take the change back, so that a read does not show a value the store
    // never kept.
    if (previous.isValid())
        store->setValue(name, previous);
    else
        store->remove(name);
    return false;
}

void WriteSetting(const QString& name, const QString& value)
{
    if (name.isEmpty())
        throw Exception("Failed to set data for " + quoted(name));
    if (WriteSettingQuietly(name, value))
        return;
    const std::string trouble = fileTrouble();
    tellOnce(trouble.empty() ? unwritable() : trouble);
}

}  // namespace varmo
