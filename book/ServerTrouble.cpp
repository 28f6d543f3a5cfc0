#include "book/ServerTrouble.h"

namespace varmo::book {

namespace {

bool has(const QString& text, const char* words)
{
    return text.contains(QLatin1String(words), Qt::CaseInsensitive);
}

// The server's SQLSTATE: its class (the first two characters) or the code.
ServerTrouble troubleOfState(const QString& state)
{
    if (state == QStringLiteral("28P01"))
        return ServerTrouble::WrongLogin;
    if (state == QStringLiteral("28000"))
        return ServerTrouble::NotAllowed;
    if (state == QStringLiteral("3D000"))
        return ServerTrouble::NoDatabase;
    // Connection exceptions; the administrator's or a crash's shutdown, a
    // server still starting.
    if (state.startsWith(QStringLiteral("08")) || state == QStringLiteral("57P01") ||
        state == QStringLiteral("57P02") || state == QStringLiteral("57P03"))
        return ServerTrouble::Lost;
    // A statement past the session's statement_timeout.
    if (state == QStringLiteral("57014"))
        return ServerTrouble::TimedOut;
    return ServerTrouble::Other;
}

// What libpq itself said, on one line, after the address it names again
// ("connection to server at "…", port … failed: "): its first line is the
// reason.
QString libpqWords(const QSqlError& error)
{
    const QString text = error.databaseText().trimmed().isEmpty() ? error.text()
                                                                   : error.databaseText();
    QString line = text.trimmed().section(QLatin1Char('\n'), 0, 0).simplified();
    const QString failed = QStringLiteral(" failed: ");
    if (line.startsWith(QStringLiteral("connection to server")) && line.contains(failed))
        line = line.section(failed, 1);
    return line;
}

}  // namespace

ServerTrouble ServerTroubleOf(const QSqlError& error)
{
    const QString state = error.nativeErrorCode().trimmed();
    if (!state.isEmpty())
        return troubleOfState(state);
    // No SQLSTATE: libpq speaking of this side, or the server refusing the
    // connection before the session began (QPSQL keeps no SQLSTATE then).
    const QString text = error.databaseText() + QLatin1Char(' ') + error.driverText();
    if (has(text, "password authentication failed") || has(text, "no password supplied") ||
        has(text, "role \""))
        return ServerTrouble::WrongLogin;
    if (has(text, "database \"") && has(text, "does not exist"))
        return ServerTrouble::NoDatabase;
    if (has(text, "pg_hba.conf"))
        return ServerTrouble::NotAllowed;
    if (has(text, "SSL") || has(text, "GSS"))
        return ServerTrouble::Encryption;
    if (has(text, "Connection refused"))
        return ServerTrouble::Refused;
    if (has(text, "timeout expired") || has(text, "timed out"))
        return ServerTrouble::TimedOut;
    if (has(text, "could not translate host name") || has(text, "Name or service not known"))
        return ServerTrouble::UnknownHost;
    if (has(text, "server closed the connection") || has(text, "terminating connection") ||
        has(text, "no connection to the server") || has(text, "connection to server") ||
        has(text, "could not receive data") || has(text, "could not send data"))
        return ServerTrouble::Lost;
    if (has(text, "Network is unreachable") || has(text, "No route to host"))
        return ServerTrouble::TimedOut;
    return ServerTrouble::Other;
}

bool WorthAnotherTry(const ServerError& error)
{
    return error.State() == QStringLiteral("40001") || error.State() == QStringLiteral("40P01");
}

QString ServerReason(ServerTrouble trouble, const QSqlError& error)
{
    switch (trouble) {
    case ServerTrouble::WrongLogin:
        return QStringLiteral("błędne hasło lub użytkownik");
    case ServerTrouble::NoDatabase:
        return QStringLiteral("nie ma takiej bazy danych na serwerze");
    case ServerTrouble::Refused:
        return QStringLiteral("serwer odmawia połączenia (nic nie nasłuchuje pod tym adresem)");
    case ServerTrouble::TimedOut:
        return QStringLiteral("serwer nie odpowiada (przekroczono czas oczekiwania)");
    case ServerTrouble::UnknownHost:
        return QStringLiteral("nieznany adres serwera");
    case ServerTrouble::Encryption:
        // The server may offer none, or this computer's client library may
        // lack it: libpq's own words say which.
        return QStringLiteral("nie zestawiono połączenia szyfrowanego, którego wymaga sslmode (%1)")
            .arg(libpqWords(error));
    case ServerTrouble::NotAllowed:
        return QStringLiteral("serwer nie wpuszcza tego komputera lub użytkownika");
    case ServerTrouble::Newer:
        return QStringLiteral("księga na serwerze pochodzi z nowszej wersji programu "
                              "(tylko odczyt)");
    case ServerTrouble::NoDriver:
        return QStringLiteral("brak sterownika PostgreSQL (QPSQL) na tym komputerze");
    case ServerTrouble::Lost:
        return QStringLiteral("połączenie z serwerem zostało przerwane");
    case ServerTrouble::Other:
        break;
    }
    const QString words = error.databaseText().trimmed().isEmpty() ? error.text().trimmed()
                                                                   : error.databaseText().trimmed();
    return QStringLiteral("błąd serwera: ") + words.simplified();
}

ServerError ServerErrorOf(const QSqlError& error)
{
    const ServerTrouble trouble = ServerTroubleOf(error);
    return ServerError(trouble, ServerReason(trouble, error), error.nativeErrorCode().trimmed());
}

bool SettingsTrouble(ServerTrouble trouble)
{
    switch (trouble) {
    case ServerTrouble::WrongLogin:
    case ServerTrouble::NoDatabase:
    case ServerTrouble::Encryption:
    case ServerTrouble::NotAllowed:
    case ServerTrouble::Newer:
    case ServerTrouble::NoDriver:
    case ServerTrouble::UnknownHost:
        return true;
    default:
        return false;
    }
}

}  // namespace varmo::book
