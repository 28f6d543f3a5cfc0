#pragma once
// Where the technician's password to the shared book is kept: never in the
// settings (they hold the address alone) nor on a command line. On Linux in
// the system's keychain (the Secret Service of the session), and where no
// keychain answers (a bare session, a server's console) in the password file
// that PostgreSQL's own tools read too (~/.pgpass, for its owner alone). On
// Windows, until the Credential Manager is wired in, as before: in the
// settings.
#include <QString>

#include "book/ServerAddress.h"

namespace varmo::book {

enum class SecretPlace { Keychain, PasswordFile, Settings };

struct SecretStored {
    bool ok = false;
    SecretPlace place = SecretPlace::Keychain;
    QString where;  // in Polish: "w pęku kluczy systemu", "w pliku haseł /home/…/.pgpass"
    QString why;    // when not ok, in Polish
};

// The password kept for this server, database and user, replacing one kept
// before.
SecretStored StoreServerPassword(const ServerAddress& address, const QString& password);

// The password kept for it: the keychain's, else the password file's; empty
// when neither holds one (the driver still reads PGPASSWORD itself).
QString SavedServerPassword(const ServerAddress& address);

// The address with the kept password, when it carries none of its own.
ServerAddress WithSavedPassword(ServerAddress address);

// A password an earlier Varmo left in the settings (its own key, or inside
// the stored address) moved where passwords are kept and taken out of the
// settings; at the program's start. Empty, or what went wrong in Polish.
QString MoveSettingsPassword();

// The URI with the password taken out of it, as the settings keep it.
QString AddressWithoutPassword(const QString& uri);

// Whether a --book-server text carries a password (in the URI or as
// password=).
bool AddressHoldsPassword(const QString& text);

}  // namespace varmo::book
