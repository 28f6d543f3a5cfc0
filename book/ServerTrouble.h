#pragma once
// What went wrong with the company's server, in the technician's words: a
// wrong password, no such database, a server that refuses or does not answer,
// one whose book is newer than this program. The visits stay on this
// computer meanwhile and go when the server takes them.
#include <QSqlError>
#include <QString>

#include "protocol/Exception.h"

namespace varmo::book {

enum class ServerTrouble {
    WrongLogin,     // the password or the user
    NoDatabase,     // the server has no such database
    Refused,        // nothing listens there
    TimedOut,       // nothing answers there, or it fell silent in a call
    UnknownHost,    // the name leads nowhere
    Encryption,     // sslmode asked for what the server cannot give
    NotAllowed,     // the server keeps this computer or user out
    Newer,          // its book is a newer program's: read only
    NoDriver,       // this computer has no QPSQL
    Lost,           // the connection broke off in the middle
    Other,
};

class ServerError : public Exception {
public:
    ServerError(ServerTrouble trouble, const QString& reason, const QString& state = {})
        : Exception(reason.toStdString()), trouble_(trouble), reason_(reason), state_(state) {}
    ServerTrouble Kind() const { return trouble_; }
    // The reason alone, in Polish: "błędne hasło lub użytkownik".
    const QString& Reason() const { return reason_; }
    // The server's SQLSTATE ("40P01"); empty when the trouble is this side's
    // (no connection, a line that broke).
    const QString& State() const { return state_; }

private:
    ServerTrouble trouble_;
    QString reason_;
    QString state_;
};

// The trouble behind the driver's error: by the server's SQLSTATE, which is
// the same whatever language the server speaks; libpq's own words only for
// what happened on this side, where there is no SQLSTATE (refused, no such
// host, no answer, a line broken).
ServerTrouble ServerTroubleOf(const QSqlError& error);

// A deadlock or a serialisation failure: the server's way of saying "again".
// Decided by the SQLSTATE alone, never by the words.
bool WorthAnotherTry(const ServerError& error);

// The reason in Polish; for Other, the server's own words.
QString ServerReason(ServerTrouble trouble, const QSqlError& error = {});

ServerError ServerErrorOf(const QSqlError& error);

// Whether the trouble is the settings' (told once, in a box) rather than the
// road's (the laptop out of reach: only the status line says it).
bool SettingsTrouble(ServerTrouble trouble);

}  // namespace varmo::book
