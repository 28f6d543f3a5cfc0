#include "console/base/Settings.h"

#include <QString>

#include "link/SettingsStore.h"

namespace varmo::Settings {

namespace {

QString keyOf(const char* key) { return QString::fromLatin1(key); }

QString textOf(const Flag& flag, bool value) { return QString::fromLatin1(value ? flag.on : flag.off); }

}  // namespace

bool Read(const Flag& flag)
{
    try {
        const QString stored = ReadSetting(keyOf(flag.key)).trimmed().toLower();
        if (stored == QLatin1String(flag.on))
            return true;
        if (stored == QLatin1String(flag.off))
            return false;
    } catch (const std::exception&) {
        // A value of another type: as if none was stored.
    }
    return flag.byDefault;
}

QByteArray Read(const Bytes& bytes)
{
    try {
        return QByteArray::fromBase64(ReadSetting(keyOf(bytes.key)).toLatin1());
    } catch (const std::exception&) {
        return {};
    }
}

void Write(const Flag& flag, bool value)
{
    WriteSetting(keyOf(flag.key), textOf(flag, value));
}

bool WriteQuietly(const Flag& flag, bool value)
{
    return WriteSettingQuietly(keyOf(flag.key), textOf(flag, value));
}

bool WriteQuietly(const Bytes& bytes, const QByteArray& value)
{
    return WriteSettingQuietly(keyOf(bytes.key), QString::fromLatin1(value.toBase64()));
}

}  // namespace varmo::Settings
