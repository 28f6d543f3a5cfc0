// varmo-cli and the company's shared book: two laptops checking printers and
// sending at once, a book restored from an old copy sent again, a header
// full of SQL's own characters, and a server in trouble told in Polish while
// the check is kept on the laptop.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/serverbook/SharedBookFixture.h"

namespace varmo::test {
namespace {

QJsonObject jsonOf(const CliResult& result)
{
    return QJsonDocument::fromJson(result.out.toUtf8()).object();
}

int localVisits(Laptop& laptop, const QString& unique)
{
    const CliResult listed = laptop.cli.Run({QStringLiteral("--json"), QStringLiteral("book"),
                                             QStringLiteral("visits"), unique});
    return static_cast<int>(jsonOf(listed)[QStringLiteral("visits")].toArray().size());
}

TEST_F(SharedBookTest, TwoLaptopsSendingAtOnceLeaveEveryVisitOnceAndBothVisitsToTheSamePrinter)
{
    Laptop first;
    Laptop second;
    SimPrinter& own1 = Printer(QStringLiteral("TST00000001"));
    SimPrinter& own2 = Printer(QStringLiteral("TST00000002"));
    SimPrinter& shared = Printer(QStringLiteral("TST00000003"));
    // Out of the office: each laptop keeps its visits to itself.
    ASSERT_EQ(Check(first, own1).exitCode, 0);
    ASSERT_EQ(Check(first, shared).exitCode, 0);
    ASSERT_EQ(Check(second, own2, {}, QStringLiteral("Ewa Nowak")).exitCode, 0);
    ASSERT_EQ(Check(second, shared, {}, QStringLiteral("Ewa Nowak")).exitCode, 0);

    // Back in reach, both at once.
    auto a = first.cli.Start({"--book-server", Uri(), "book", "send"});
    auto b = second.cli.Start({"--book-server", Uri(), "book", "send"});
    const CliResult sentA = CliProcess::Finish(*a);
    const CliResult sentB = CliProcess::Finish(*b);
    EXPECT_EQ(sentA.exitCode, 0) << sentA.out.toStdString() << sentA.err.toStdString();
    EXPECT_EQ(sentB.exitCode, 0) << sentB.out.toStdString() << sentB.err.toStdString();
    EXPECT_TRUE(sentA.out.contains(QStringLiteral("do wysłania 0"))) << sentA.out.toStdString();

    // And checking while the other sends: the check sends its own visit.
    auto c = first.cli.Start({"--book-server", Uri(), "--port", own1.path(), "check"});
    auto d = second.cli.Start({"--book-server", Uri(), "--port", own2.path(), "check"});
    EXPECT_EQ(CliProcess::Finish(*c).exitCode, 0);
    EXPECT_EQ(CliProcess::Finish(*d).exitCode, 0);

    EXPECT_EQ(ServerVisits(), 6);
    EXPECT_EQ(DistinctVisits(), 6);
    EXPECT_EQ(OnServer("SELECT count(*) FROM printers"), 3);
    EXPECT_EQ(OnServer("SELECT count(*) FROM checks"), 6);
    // The printer both serviced keeps both visits, each by its technician.
    EXPECT_EQ(OnServer("SELECT count(DISTINCT v.technician) FROM visits v JOIN printers p "
                       "ON p.id = v.printer_id WHERE p.unique_number = 'TST00000003'"),
              2);
    // Each laptop's next send brings its colleague's visits down too.
    ASSERT_EQ(Send(first, Uri()).exitCode, 0);
    ASSERT_EQ(Send(second, Uri()).exitCode, 0);
    EXPECT_EQ(localVisits(first, QStringLiteral("TST00000003")), 2);
    EXPECT_EQ(localVisits(second, QStringLiteral("TST00000001")), 2);
}

TEST_F(SharedBookTest, ABookRestoredFromAnOldCopyAndSentAgainDoublesNothing)
{
    Laptop laptop;
    SimPrinter& printer = Printer(QStringLiteral("TST00000001"));
    SimPrinter& other = Printer(QStringLiteral("TST00000002"));
    ASSERT_EQ(Check(laptop, printer, {"--book-server", Uri()}).exitCode, 0);
    const QString backup = dir_.filePath(QStringLiteral("kopia.sqlite"));
    ASSERT_TRUE(QFile::copy(laptop.Book(), backup));
    ASSERT_EQ(Check(laptop, printer).exitCode, 0);
    ASSERT_EQ(Check(laptop, other).exitCode, 0);
    ASSERT_EQ(Send(laptop, Uri()).exitCode, 0);
    ASSERT_EQ(ServerVisits(), 3);

    // The disk died; last month's copy goes back, and sends what it has.
    ASSERT_TRUE(QFile::remove(laptop.Book()));
    ASSERT_TRUE(QFile::copy(backup, laptop.Book()));
    const CliResult again = Send(laptop, Uri());
    EXPECT_EQ(again.exitCode, 0) << again.out.toStdString() << again.err.toStdString();
    EXPECT_EQ(ServerVisits(), 3);
    EXPECT_EQ(DistinctVisits(), 3);
    EXPECT_EQ(OnServer("SELECT count(*) FROM checks"), 3);
    EXPECT_EQ(OnServer("SELECT count(*) FROM visits WHERE ended IS NULL"), 0);
    // What the copy lacked came back from the server.
    EXPECT_EQ(localVisits(laptop, QStringLiteral("TST00000001")), 2);
    EXPECT_EQ(localVisits(laptop, QStringLiteral("TST00000002")), 1);
    // The restored laptop works on: its next visit is one more.
    ASSERT_EQ(Check(laptop, other, {"--book-server", Uri()}).exitCode, 0);
    EXPECT_EQ(ServerVisits(), 4);
    EXPECT_EQ(DistinctVisits(), 4);
}

TEST_F(SharedBookTest, AHeaderFullOfQuotesSemicolonsAndBackslashesIsStoredAndReadBackExactly)
{
    const QString lines[] = {QStringLiteral("Sklep 'U Zbyszka'; DROP TABLE visits; --"),
                             QStringLiteral("\"cudzysłów\" \\ ukośnik \\\\ $1 ?"),
                             QStringLiteral("');DELETE FROM printers;--")};
    Laptop laptop;
    SimPrinter& printer = Printer(QStringLiteral("TST00000007"),
                                  {"--raw-header", QStringList(std::begin(lines), std::end(lines))
                                                       .join(QLatin1Char('|'))});
    const CliResult checked = Check(laptop, printer, {"--book-server", Uri()});
    ASSERT_EQ(checked.exitCode, 0) << checked.err.toStdString();
    EXPECT_EQ(OnServer("SELECT count(*) FROM visits"), 1);  // the table is there
    const QVariant header = server_.Exec(QStringLiteral("ksiega"),
                                         QStringLiteral("SELECT header FROM printers"));
    EXPECT_EQ(header.toString(), QStringList(std::begin(lines), std::end(lines)).join('\n'));

    // Read back through varmo-cli from the server, as any laptop would.
    Laptop colleague;
    const CliResult listed = colleague.cli.Run(
        {"--book-server", Uri(), "--json", "book", "printers", "--search", "u zbyszka"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QJsonArray printers = jsonOf(listed)[QStringLiteral("printers")].toArray();
    ASSERT_EQ(printers.size(), 1) << listed.out.toStdString();
    EXPECT_EQ(printers[0].toObject()[QStringLiteral("header")].toString(), lines[0]);
    EXPECT_TRUE(jsonOf(listed)[QStringLiteral("source")].toString().startsWith(
        QStringLiteral("serwer: dane z serwera")));

    // A NUL, which no text on the server holds, goes as its sign and stops nothing.
    SimPrinter& odd = Printer(QStringLiteral("TST00000008"), {"--raw-header", "A<$00>B|C"});
    ASSERT_EQ(Check(laptop, odd, {"--book-server", Uri()}).exitCode, 0);
    EXPECT_EQ(server_.Exec(QStringLiteral("ksiega"),
                           QStringLiteral("SELECT header FROM printers WHERE unique_number = 'TST00000008'"))
                  .toString(),
              QStringLiteral("A\u2400B\nC"));
    EXPECT_EQ(OnServer("SELECT count(*) FROM visits"), 2);
}

// Each trouble of the server: told in Polish, the password never shown, the
// check kept on the laptop and waiting for the server.
TEST_F(SharedBookTest, AServerInTroubleIsToldInPolishAndTheCheckIsStillRecorded)
{
    const QString password = QString::fromLatin1(PgServer::kPassword);
    ASSERT_TRUE(server_.Exec(QStringLiteral("postgres"), QStringLiteral("SELECT 1")).isValid());
    PgServer nobody;  // a second cluster, stopped: its port has nothing on it
    ASSERT_TRUE(nobody.Stop());
    // A port that takes the connection and never says a word.
    const int mute = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof at;
    ASSERT_EQ(bind(mute, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
    ASSERT_EQ(listen(mute, 16), 0);
    getsockname(mute, reinterpret_cast<sockaddr*>(&at), &length);
    const QString silent = QStringLiteral("postgresql://varmo@127.0.0.1:%1/ksiega"
                                          "?connect_timeout=1")
                               .arg(ntohs(at.sin_port));
    const char* const right = PgServer::kPassword;
    const struct {
        const char* what;
        QString uri;
        const char* password;
        const char* told;
    } cases[] = {
        {"wrong password", Uri(), "zle-haslo", "błędne hasło lub użytkownik"},
        {"unknown database", server_.PlainUri(QStringLiteral("nie_ma_takiej")), right,
         "nie ma takiej bazy danych"},
        {"nothing listening", nobody.PlainUri(QStringLiteral("ksiega")), right,
         "serwer odmawia połączenia"},
        {"nothing answering", silent, "zle-haslo",
         "serwer nie odpowiada (przekroczono czas oczekiwania)"},
        {"sslmode the server cannot give", Uri() + QStringLiteral("?sslmode=require"), right,
         "nie zestawiono połączenia szyfrowanego, którego wymaga sslmode (server does not "
         "support SSL, but SSL was required)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Laptop laptop;
        laptop.cli.SetEnv(QStringLiteral("PGPASSWORD"), QString::fromLatin1(c.password));
        SimPrinter& printer = Printer(QStringLiteral("TST00000001"));
        const CliResult checked = Check(laptop, printer, {"--book-server", c.uri});
        EXPECT_EQ(checked.exitCode, 0) << checked.err.toStdString();
        EXPECT_TRUE(checked.err.contains(QString::fromUtf8(c.told))) << checked.err.toStdString();
        EXPECT_TRUE(checked.err.contains(QStringLiteral("do wysłania 1"))) << checked.err.toStdString();
        EXPECT_EQ(localVisits(laptop, QStringLiteral("TST00000001")), 1);
        const CliResult sent = Send(laptop, c.uri);
        EXPECT_EQ(sent.exitCode, 1);
        EXPECT_TRUE(sent.out.contains(QString::fromUtf8(c.told))) << sent.out.toStdString();
        for (const CliResult* result : {&checked, &sent})
            EXPECT_FALSE((result->out + result->err).contains(password) ||
                         (result->out + result->err).contains(QStringLiteral("zle-haslo")));
    }
    close(mute);
    // Nothing reached the server: it has not even the book's tables.
    EXPECT_EQ(OnServer("SELECT count(*) FROM pg_tables WHERE tablename = 'visits'"), 0);
}

}  // namespace
}  // namespace varmo::test
