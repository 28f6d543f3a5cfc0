// The shared book's sending and copying on real books: a send the server's
// stop breaks off resumes and leaves everything once; a server whose book is
// a newer program's is only read; a colleague's visits copied down show
// offline, said to come from this computer and when.
#include <QElapsedTimer>

#include "book/BookSync.h"
#include "book/LocalOutbox.h"
#include "book/ServerAddress.h"
#include "book/ServerBook.h"
#include "book/VisitBook.h"
#include "tests/serverbook/BookFiller.h"
#include "tests/serverbook/SharedBookFixture.h"

namespace varmo::test {
namespace {

book::ServerAddress addressOf(const QString& uri)
{
    const std::optional<book::ServerAddress> address = book::ParseServerUri(uri);
    EXPECT_TRUE(address.has_value()) << uri.toStdString();
    return address.value_or(book::ServerAddress{});
}

TEST_F(SharedBookTest, AServerStoppedInTheMiddleOfASendGetsEverythingOnceWhenItIsBack)
{
    Laptop laptop;
    constexpr int kVisits = 6000;
    {
        book::VisitBook local(laptop.Book());
        FillBook(local, kVisits, 700, QStringLiteral("Jan Kowalski"));
    }
    auto sending = laptop.cli.Start({"--book-server", Uri(), "book", "send"});
    // The first batches are in: the server goes down under the send.
    while (OnServer(QStringLiteral("SELECT count(*) FROM visits")) <= 0 &&
           sending->state() != QProcess::NotRunning)
        QThread::msleep(5);
    ASSERT_TRUE(server_.Stop());
    const CliResult broken = CliProcess::Finish(*sending);
    EXPECT_EQ(broken.exitCode, 1) << broken.out.toStdString();
    EXPECT_TRUE(broken.out.contains(QStringLiteral("nie wysłano:"))) << broken.out.toStdString();
    {
        book::VisitBook local(laptop.Book());
        EXPECT_GT(book::WaitingCount(local), 0);
        EXPECT_LT(book::WaitingCount(local), kVisits);
    }

    ASSERT_TRUE(server_.Start());
    const CliResult resumed = Send(laptop, Uri());
    EXPECT_EQ(resumed.exitCode, 0) << resumed.out.toStdString() << resumed.err.toStdString();
    EXPECT_EQ(ServerVisits(), kVisits);
    EXPECT_EQ(DistinctVisits(), kVisits);
    EXPECT_EQ(OnServer("SELECT count(*) FROM checks"), kVisits);
    EXPECT_EQ(OnServer("SELECT count(*) FROM printers"), 700);
}

TEST_F(SharedBookTest, AServerBookOfANewerProgramIsReadButNeverWritten)
{
    Laptop laptop;
    book::VisitBook local(laptop.Book());
    FillBook(local, 3, 3, QStringLiteral("Jan Kowalski"));
    const book::ServerAddress address = addressOf(FullUri());
    ASSERT_FALSE(book::SyncWithServer(local, address).trouble);
    EXPECT_EQ(OnServer("SELECT max(version) FROM schema_version"), book::ServerBook::ServerSchemaVersion());
    // Opened again: the tables are there, nothing is made twice.
    ASSERT_FALSE(book::SyncWithServer(local, address).trouble);
    EXPECT_EQ(OnServer("SELECT count(*) FROM schema_version"), book::ServerBook::ServerSchemaVersion());

    OnServer(QStringLiteral("INSERT INTO schema_version VALUES (7, 'później')"));
    FillBook(local, 2, 2, QStringLiteral("Jan Kowalski"), QDateTime::currentDateTime());
    const book::SyncState state = book::SyncWithServer(local, address);
    EXPECT_TRUE(state.readOnly);
    EXPECT_TRUE(state.reason.contains(QStringLiteral("nowszej wersji programu (układ 7"))) <<
        state.reason.toStdString();
    EXPECT_EQ(state.waiting, 2);
    EXPECT_EQ(ServerVisits(), 3);
    EXPECT_EQ(OnServer("SELECT count(*) FROM schema_version"), book::ServerBook::ServerSchemaVersion() + 1);
    EXPECT_TRUE(book::BookStateText(state).startsWith(QStringLiteral("Księga: serwer tylko do odczytu")));
    // Read, all the same: the list comes from the server.
    EXPECT_TRUE(book::SourceText(state).startsWith(QStringLiteral("serwer: dane z serwera")));
}

TEST_F(SharedBookTest, AColleaguesVisitsAreCopiedDownAndShowOfflineSaidToBeFromThisComputer)
{
    Laptop mine;
    Laptop colleague;
    const book::ServerAddress address = addressOf(FullUri());
    {
        book::VisitBook theirs(colleague.Book());
        FillBook(theirs, 4, 2, QStringLiteral("Ewa Nowak"));
        ASSERT_FALSE(book::SyncWithServer(theirs, address).trouble);
    }
    book::VisitBook local(mine.Book());
    FillBook(local, 1, 1, QStringLiteral("Jan Kowalski"), QDateTime::currentDateTime());
    // Once unreachable: the lists say so, and that the server was never reached.
    book::ServerAddress away = address;
    away.port = 1;
    const book::SyncState offline = book::SyncWithServer(local, away);
    EXPECT_EQ(book::SourceText(offline),
              QStringLiteral("serwer: niedostępny, dane z tego komputera, serwer nie odpowiedział ani razu"));
    EXPECT_EQ(book::BookStateText(offline),
              QStringLiteral("Księga: serwer niedostępny (serwer odmawia połączenia (nic nie "
                             "nasłuchuje pod tym adresem)), do wysłania 1"));
    // The status line's brief form fits beside the port.
    EXPECT_EQ(book::BookStateText(offline, true),
              QStringLiteral("Księga: serwer niedostępny (odmawia połączenia), do wysłania 1"));

    const book::SyncState met = book::SyncWithServer(local, address);
    EXPECT_EQ(met.sent, 1);
    EXPECT_EQ(met.copied, 4);
    EXPECT_EQ(book::BookStateText(met), QStringLiteral("Księga: wysłano na serwer"));
    ASSERT_TRUE(server_.Stop());

    // The office out of reach: the colleague's printer and its history are here.
    const book::SyncState later = book::SyncWithServer(local, address);
    EXPECT_TRUE(book::SourceText(later).startsWith(
        QStringLiteral("serwer: niedostępny, dane z tego komputera, stan z ") +
        met.lastContact.toString(QStringLiteral("yyyy-MM-dd HH:mm"))))
        << book::SourceText(later).toStdString();
    const std::vector<book::VisitRow> visits = local.Visits(QStringLiteral("TST00000001"));
    ASSERT_EQ(visits.size(), 2u);
    EXPECT_EQ(visits[0].technician, QStringLiteral("Ewa Nowak"));
    const std::optional<book::VisitDetail> detail = local.Visit(visits[0].id);
    ASSERT_TRUE(detail && detail->checks.size() == 1);
    EXPECT_EQ(detail->checks[0].values.lastReceipt, 3);
    // Printer TST00000000: this laptop's visit and the colleague's two.
    EXPECT_EQ(local.Visits(QStringLiteral("TST00000000")).size(), 3u);
    EXPECT_TRUE(local.Printer(QStringLiteral("TST00000001"))->nextInspection.has_value());
    // Nothing copied down waits to go back up.
    EXPECT_EQ(later.waiting, 0);
}

}  // namespace
}  // namespace varmo::test
