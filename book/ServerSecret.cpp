#include "book/ServerSecret.h"

#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

#include "book/Keychain.h"
#include "book/PasswordFile.h"

namespace varmo::book {

namespace {

// The name the keychain knows the password by: the server, the database
// and the login, never the encryption asked for.
QString secretKey(const ServerAddress& address)
{
    return QStringLiteral("postgresql://%1@%2:%3/%4")
        .arg(address.user, address.host, QString::number(address.port), address.database);
}

}  // namespace

bool AddressHoldsPassword(const QString& text)
{
    static const QRegularExpression given(QStringLiteral("(^|[?&\\s])password\\s*="),
                                          QRegularExpression::CaseInsensitiveOption);
    if (given.match(text).hasMatch())
        return true;
    const QUrl url(text.trimmed());
    return url.isValid() && !url.password().isEmpty();
}

QString AddressWithoutPassword(const QString& uri)
{
    QUrl url(uri.trimmed());
    if (!url.isValid())
        return uri;
    url.setPassword(QString());
    QUrlQuery query(url);
    query.removeAllQueryItems(QStringLiteral("password"));
    url.setQuery(query.isEmpty() ? QString() : query.query());
    return url.toString();
}

SecretStored StoreServerPassword(const ServerAddress& address, const QString& password)
{
    SecretStored stored;
#ifdef Q_OS_WIN
    // The Credential Manager is not wired in yet: the settings keep it, as
    // they always have.
    StoredServerFields fields = ReadServerFields();
    fields.password = password;
    WriteServerFields(fields);
    stored.ok = true;
    stored.place = SecretPlace::Settings;
    stored.where = QStringLiteral("w ustawieniach programu");
    return stored;
#else
    QString keychainWhy;
    if (KeychainWrite(secretKey(address), password, &keychainWhy)) {
        stored.ok = true;
        stored.place = SecretPlace::Keychain;
        stored.where = QStringLiteral("w pęku kluczy systemu");
        return stored;
    }
    const QString path = PasswordFilePath();
    const QString why = PasswordIntoFile(address, password, path);
    stored.ok = why.isEmpty();
    stored.place = SecretPlace::PasswordFile;
    stored.where = QStringLiteral("w pliku haseł %1 (tylko dla właściciela)").arg(path);
    stored.why = why;
    return stored;
#endif
}

QString SavedServerPassword(const ServerAddress& address)
{
#ifdef Q_OS_WIN
    return ReadServerFields().password;
#else
    const QString kept = KeychainRead(secretKey(address));
    return kept.isEmpty() ? PasswordFromFile(address, PasswordFilePath()) : kept;
#endif
}

ServerAddress WithSavedPassword(ServerAddress address)
{
    if (address.password.isEmpty())
        address.password = SavedServerPassword(address);
    return address;
}

QString MoveSettingsPassword()
{
#ifdef Q_OS_WIN
    return {};
#else
    const StoredServerFields original = ReadServerFields();
    StoredServerFields fields = original;
    QString password = fields.password;
    if (!fields.uri.trimmed().isEmpty()) {
        if (const std::optional<ServerAddress> inside = ParseServerUri(fields.uri);
            inside && !inside->password.isEmpty()) {
            password = inside->password;
            fields.uri = AddressWithoutPassword(fields.uri);
        }
    }
    if (password.isEmpty())
        return {};
    fields.password.clear();
    QString why;
    const std::optional<ServerAddress> address = AddressOfFields(fields, &why);
    if (!address)
        return QStringLiteral("hasło serwera księgi zostaje w ustawieniach: ") + why;
    const SecretStored stored = StoreServerPassword(*address, password);
    if (!stored.ok)
        return QStringLiteral("hasło serwera księgi zostaje w ustawieniach: ") + stored.why;
    WriteServerFields(fields);
    return {};
#endif
}

}  // namespace varmo::book
