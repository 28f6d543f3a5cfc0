#include "book/BookLibraries.h"

#include <QLibrary>
#include <QSqlDatabase>
#include <QString>

#include "book/ServerLine.h"
#include "book/VisitBook.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#endif

namespace varmo::book {

namespace {

// A driver is loaded with its first connection object, which is dropped
// unopened.
void loadDriver(const QString& driver)
{
    const QString name = QStringLiteral("varmo-load-") + driver;
    {
        const QSqlDatabase probe = QSqlDatabase::addDatabase(driver, name);
        (void)probe;
    }
    QSqlDatabase::removeDatabase(name);
}

#ifdef _WIN32
// What the client library loads only as it connects: the system's socket
// providers and name lookup, and OpenSSL's own start.
void loadWhatConnectingLoads()
{
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    const SOCKET probe = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (probe != INVALID_SOCKET)
        ::closesocket(probe);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo("localhost", "5432", &hints, &found) == 0)
        ::freeaddrinfo(found);
    // Kept started: the client library starts and ends its own uses.
    using InitSsl = int (*)(unsigned long long, const void*);
    QLibrary ssl(QStringLiteral("libssl-3-x64"));
    if (const auto init = reinterpret_cast<InitSsl>(ssl.resolve("OPENSSL_init_ssl")))
        init(0, nullptr);
}
#endif

}  // namespace

void LoadBookLibraries()
{
    static const bool loaded = [] {
        LoadBookDriver();
        if (QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
            loadDriver(QStringLiteral("QPSQL"));
            ResolveServerLibrary();
#ifdef _WIN32
            loadWhatConnectingLoads();
#endif
        }
        return true;
    }();
    (void)loaded;
}

}  // namespace varmo::book
