// The technician's password never on a command line: an address that
// carries one is refused before anything is done, and "book password" keeps
// it (here, with no keychain in the session, in the password file for its
// owner alone) so that the next runs reach the server with none given.
#include <QDir>
#include <filesystem>
#include <QFile>
#include <QFileInfo>

#include "tests/serverbook/SharedBookFixture.h"

namespace varmo::test {
namespace {

const QString kPassword = QString::fromLatin1(PgServer::kPassword);

// Whether any process of the machine shows the password in its command line.
bool passwordInAnyCommandLine()
{
    const QByteArray password(PgServer::kPassword);
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : pids) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(password))
            return true;
    }
    return false;
}

// varmo-cli run to its end with the input given, the command lines of the
// machine looked at all the while.
CliResult RunWatched(CliProcess& cli, const QStringList& arguments, const QByteArray& input,
                     bool* seen)
{
    auto process = cli.Start(arguments);
    process->waitForStarted(5000);
    process->write(input);
    process->closeWriteChannel();
    for (int turn = 0; turn < 3000 && process->state() != QProcess::NotRunning; ++turn) {
        *seen = *seen || passwordInAnyCommandLine();
        process->waitForFinished(10);
    }
    CliResult result;
    result.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    result.out = QString::fromUtf8(process->readAllStandardOutput());
    result.err = QString::fromUtf8(process->readAllStandardError());
    return result;
}

TEST_F(SharedBookTest, AnAddressWithAPasswordIsRefusedWithTheWaysThatWork)
{
    const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(kPassword));
    const QString at = QStringLiteral("127.0.0.1:%1/ksiega").arg(server_.Port());
    const struct {
        const char* what;
        QString uri;
        QStringList verb;
    } cases[] = {
        {"in the address, sending", "postgresql://varmo:" + encoded + "@" + at, {"book", "send"}},
        {"as an option, sending", "postgresql://varmo@" + at + "?password=" + encoded,
         {"book", "send"}},
        {"in the address, listing", "postgresql://varmo:" + encoded + "@" + at,
         {"book", "printers"}},
        {"in the address, keeping it", "postgresql://varmo:" + encoded + "@" + at,
         {"book", "password"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Laptop laptop;
        const CliResult result = laptop.cli.Run(QStringList{"--book-server", c.uri} + c.verb);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
        for (const char* told : {"adres zawiera hasło", "\"ps\"", "historii", "PGPASSWORD",
                                 "~/.pgpass (prawa 0600", "book password"})
            EXPECT_TRUE(result.err.contains(QString::fromUtf8(told))) << told;
        EXPECT_FALSE(result.err.contains(kPassword));
    }
    // Nothing reached the server.
    EXPECT_EQ(OnServer("SELECT count(*) FROM pg_tables WHERE tablename = 'visits'"), 0);
}

TEST_F(SharedBookTest, APasswordKeptByBookPasswordReachesTheServerInTheNextRuns)
{
    const struct {
        const char* what;
        bool stored;  // the address in the console's settings, else --book-server
    } cases[] = {{"address given on the command line", false},
                 {"address stored in the settings", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Laptop laptop;
        // No password from outside, and no keychain in the session.
        laptop.cli.UnsetEnv(QStringLiteral("PGPASSWORD"));
        laptop.cli.UnsetEnv(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        QStringList server;
        if (c.stored)
            laptop.cli.Store(QStringLiteral("ksiega/serwer/adres"), Uri());
        else
            server = QStringList{"--book-server", Uri()};
        SimPrinter& printer = Printer(QStringLiteral("TST00000001"));
        ASSERT_EQ(Check(laptop, printer).exitCode, 0);
        bool seen = false;
        const CliResult kept = RunWatched(laptop.cli, server + QStringList{"book", "password"},
                                          kPassword.toUtf8() + '\n', &seen);
        ASSERT_EQ(kept.exitCode, 0) << kept.err.toStdString();
        const QString home = QFileInfo(laptop.cli.SettingsFile()).dir().absolutePath() +
                             QStringLiteral("/..");
        const QString passwordFile = QDir::cleanPath(home + QStringLiteral("/.pgpass"));
        EXPECT_TRUE(kept.out.contains(passwordFile)) << kept.out.toStdString();
        EXPECT_EQ(std::filesystem::status(passwordFile.toStdString()).permissions(),
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        const CliResult sent =
            RunWatched(laptop.cli, server + QStringList{"book", "send"}, {}, &seen);
        EXPECT_EQ(sent.exitCode, 0) << sent.out.toStdString() << sent.err.toStdString();
        EXPECT_FALSE(seen);
        EXPECT_FALSE((kept.out + kept.err + sent.out + sent.err).contains(kPassword));
        QFile settings(laptop.cli.SettingsFile());
        if (settings.open(QIODevice::ReadOnly))
            EXPECT_FALSE(settings.readAll().contains(QByteArray(PgServer::kPassword)));
    }
    EXPECT_EQ(ServerVisits(), 2);
}

}  // namespace
}  // namespace varmo::test
