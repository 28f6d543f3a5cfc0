#include "link/SettingsStore.h"

#include <QSettings>
#include <QVariant>
#include <memory>

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

std::unique_ptr<QSettings> makeStore()
{
#ifdef Q_OS_WIN
    // HKEY_CURRENT_USER\Software\Ferwen s.c.\Varmo: the registry is QSettings'
    // default format on Windows, text values as REG_SZ. (The console's tests
    // run under Wine make the default a file of their own.)
    return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope,
                                       kOrganisation, kApplication);
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       kOrganisation, kApplication);
#endif
}

std::string quoted(const QString& name)
{
    return "'" + name.toStdString() + "'";
}

}  // namespace

void OpenSettingsStore()
{
    if (!openKey())
        openKey() = makeStore();
}

void CloseSettingsStore()
{
    if (openKey()) {
        openKey()->sync();
        openKey().reset();
    }
}

QString ReadSetting(const QString& name)
{
    const std::unique_ptr<QSettings> store = makeStore();
    const QVariant value = store->value(name);
    if (!value.isValid())
        return QString();
    if (value.typeId() != QMetaType::QString)
        throw Exception("Invalid data type for " + quoted(name));
    const QString text = value.toString();
    // Text ends at its first NUL, as a stored C string would.
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

void WriteSetting(const QString& name, const QString& value)
{
    const std::unique_ptr<QSettings> store = makeStore();
    if (name.isEmpty() || store->status() != QSettings::NoError)
        throw Exception("Failed to set data for " + quoted(name));
    const QVariant previous = store->value(name);
    store->setValue(name, value);
    store->sync();
    if (store->status() != QSettings::NoError) {
        // Take the change back, so that a read does not show a value the store
        // never kept.
        if (previous.isValid())
            store->setValue(name, previous);
        else
            store->remove(name);
        throw Exception("Failed to set data for " + quoted(name));
    }
}

}  // namespace varmo
