// A server that falls silent in the middle of a send (its processes stopped:
// the machine's kernel still answers on the port, nothing else does) holds
// nobody: varmo-cli gives up within its watch and says why, the console's
// sync ends at once when the window closes, and once the server is back
// every visit is there exactly once.
#include <QCoreApplication>
#include <QElapsedTimer>

#include "book/BackgroundSync.h"
#include "book/LocalOutbox.h"
#include "book/ServerAddress.h"
#include "book/ServerBook.h"
#include "book/VisitBook.h"
#include "tests/serverbook/BookFiller.h"
#include "tests/serverbook/SharedBookFixture.h"

namespace varmo::test {
namespace {

constexpr int kVisits = 6000;

// The server continued whatever the test's end: a stopped server would keep
// its own shutdown waiting.
struct Frozen {
    explicit Frozen(PgServer& server) : server_(server) { paused = server_.Pause(); }
    ~Frozen() { server_.Resume(); }
    PgServer& server_;
    bool paused = false;
};

class ServerSilenceTest : public SharedBookTest {
protected:
    // Waits (without asking the server anything once it is stopped) until
    // the first batches are in, or the sender ended.
    bool FirstBatchesIn(const std::function<bool()>& stillSending)
    {
        while (stillSending()) {
            if (OnServer(QStringLiteral("SELECT count(*) FROM visits")) > 0)
                return true;
            QThread::msleep(5);
        }
        return false;
    }
};

TEST_F(ServerSilenceTest, ASendToAServerThatFreezesEndsWithinHalfAMinuteAndResumesOnce)
{
    Laptop laptop;
    {
        book::VisitBook local(laptop.Book());
        FillBook(local, kVisits, 700, QStringLiteral("Jan Kowalski"));
    }
    auto sending = laptop.cli.Start({"--book-server", Uri(), "book", "send"});
    ASSERT_TRUE(FirstBatchesIn([&] { return sending->state() != QProcess::NotRunning; }))
        << "the send ended before the server could be stopped";
    QElapsedTimer held;
    held.start();
    {
        Frozen frozen(server_);
        ASSERT_TRUE(frozen.paused);
        // Bounded only to prove it does not hang: the watch gives up at 30 s.
        ASSERT_TRUE(sending->waitForFinished(60000)) << "varmo-cli hangs on a frozen server";
        EXPECT_LT(held.elapsed(), 40000);
        EXPECT_EQ(sending->exitCode(), 1);
        const QString out = QString::fromUtf8(sending->readAllStandardOutput());
        EXPECT_TRUE(out.contains(QStringLiteral("nie wysłano: serwer przestał odpowiadać")))
            << out.toStdString();
    }
    {
        book::VisitBook local(laptop.Book());
        EXPECT_GT(book::WaitingCount(local), 0);
        EXPECT_LT(book::WaitingCount(local), kVisits);
    }
    const CliResult resumed = Send(laptop, Uri());
    EXPECT_EQ(resumed.exitCode, 0) << resumed.out.toStdString() << resumed.err.toStdString();
    EXPECT_EQ(ServerVisits(), kVisits);
    EXPECT_EQ(DistinctVisits(), kVisits);
    EXPECT_EQ(OnServer("SELECT count(*) FROM checks"), kVisits);
    EXPECT_EQ(OnServer("SELECT count(*) FROM printers"), 700);
}

// The console's sync as the console has it: closing the window destroys it.
// Whether the server froze under a send or before the connection was even
// made (libpq connecting, no socket to cut), the end takes about a second.
TEST_F(ServerSilenceTest, TheSyncEndsAtOnceWhenTheWindowClosesWhateverTheServerDoes)
{
    // The sync's thread runs an event loop, as in the console; the
    // application stays for the program's life (a sync left to end by
    // itself may still be running after this test).
    static int argc = 1;
    static char name[] = "test_server_book";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        new QCoreApplication(argc, argv);
    const struct {
        const char* what;
        bool frozenBeforeStart;
    } cases[] = {{"frozen in the middle of a send", false},
                 {"frozen before the sync connects", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Laptop laptop;
        {
            book::VisitBook local(laptop.Book());
            FillBook(local, kVisits, 700, QStringLiteral("Jan Kowalski"));
        }
        const qint64 before = std::max<qint64>(0, ServerVisits());  // -1: no tables yet
        std::unique_ptr<Frozen> frozen;
        if (c.frozenBeforeStart)
            frozen = std::make_unique<Frozen>(server_);
        auto sync = std::make_unique<book::BackgroundSync>(laptop.Book(), 60000, 0);
        sync->SetServer(book::ParseServerUri(FullUri()));
        sync->Nudge();
        if (c.frozenBeforeStart) {
            QThread::msleep(300);  // the sync is inside libpq's connect now
        } else {
            QElapsedTimer waited;
            waited.start();
            while (sync->Attempts() == 0 && ServerVisits() <= before && waited.elapsed() < 60000)
                QThread::msleep(5);
            ASSERT_GT(ServerVisits(), before) << "the sync sent nothing";
            ASSERT_EQ(sync->Attempts(), 0) << "the send ended before the server could be stopped";
            frozen = std::make_unique<Frozen>(server_);
            QThread::msleep(200);  // the send is held by the frozen server
        }
        ASSERT_TRUE(frozen->paused);
        QElapsedTimer closing;
        closing.start();
        sync.reset();
        // About a second is the promise; five only proves it does not hang.
        EXPECT_LT(closing.elapsed(), 5000);
        frozen.reset();

        // Back, the laptop's book goes up whole and once.
        const CliResult resent = Send(laptop, Uri());
        EXPECT_EQ(resent.exitCode, 0) << resent.out.toStdString() << resent.err.toStdString();
        EXPECT_EQ(ServerVisits(), before + kVisits);
        EXPECT_EQ(DistinctVisits(), before + kVisits);
    }
}

}  // namespace
}  // namespace varmo::test
