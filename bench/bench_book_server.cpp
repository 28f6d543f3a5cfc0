// The company's shared book at its size, on a real PostgreSQL 15 started
// here with fsync on as in the office: 100,000 visits (10,000 printers) sent
// from a laptop's book, the time and the rate; "Do przeglądu" and the
// printer list read on the server over its 10,000 printers; a new laptop's
// first copy of it all; and the window's event loop while the server is
// dead (refused, and not answering at all): its longest gap beside 16 ms.
#include <netinet/in.h>
#include <sys/socket.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "bench/BestOf.h"
#include "book/BackgroundSync.h"
#include "book/ServerBook.h"
#include "book/ServerCopy.h"
#include "book/ServerSend.h"
#include "book/VisitBook.h"
#include "tests/serverbook/BookFiller.h"
#include "tests/serverbook/PgServer.h"

using namespace varmo::book;
using varmo::test::FillBook;
using varmo::test::PgServer;

namespace {

constexpr int kVisits = 100'000;
constexpr int kPrinters = 10'000;

// The longest the event loop went without turning while the sync tried a
// dead server over and over.
double longestGapMs(const ServerAddress& dead, const QString& bookPath, int seconds)
{
    BackgroundSync sync(bookPath, 500, 0);
    sync.SetServer(dead);
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        sync.Nudge();  // as a technician's clicks and visits would
    });
    tick.start(1);
    QTimer::singleShot(seconds * 1000, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    std::printf("  (attempts meanwhile: %d, told: %s)\n", sync.Attempts(),
                sync.State().reason.toUtf8().constData());
    return longest / 1e6;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    PgServer server(true);
    if (!server.Running() || !server.CreateDatabase(QStringLiteral("ksiega"))) {
        std::fprintf(stderr, "bench_book_server: no PostgreSQL: %s\n", server.Problem().c_str());
        return 1;
    }
    const ServerAddress address = *ParseServerUri(server.Uri(QStringLiteral("ksiega")));
    QTemporaryDir dir;
    const QString laptop = dir.filePath(QStringLiteral("laptop.sqlite"));
    {
        VisitBook local(laptop);
        FillBook(local, kVisits, kPrinters, QStringLiteral("Jan Kowalski"));
    }
    std::printf("bench_book_server: %d visits of %d printers, PostgreSQL 15 on 127.0.0.1 (fsync on)\n",
                kVisits, kPrinters);
    {
        VisitBook local(laptop);
        QElapsedTimer timer;
        timer.start();
        ServerBook shared(address);
        const SendResult sent = SendWaiting(local, shared);
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("send %d visits (%d printers): %.1f s, %.0f visits/s (goal: 100,000 within 120 s)%s\n",
                    sent.visits, sent.printers, seconds, sent.visits / seconds,
                    sent.trouble ? (" TROUBLE: " + sent.trouble->Reason().toStdString()).c_str() : "");
        const QDate today = QDate::currentDate();
        std::size_t due = 0;
        const double dueMs = bestMs([&] { due = shared.Reads().Printers({}, 30, today).size(); });
        std::printf("\"Do przeglądu\" (30 days) on the server over %d printers: %.1f ms, %zu due "
                    "(goal: 500 ms)\n", kPrinters, dueMs, due);
        std::size_t all = 0;
        const double listMs = bestMs([&] { all = shared.Reads().Printers().size(); });
        std::printf("printer list on the server: %.1f ms, %zu printers (goal: 1000 ms)\n", listMs, all);
        const double historyMs = bestMs([&] { shared.Reads().Visits(QStringLiteral("TST00004242")); });
        std::printf("a printer's visits on the server: %.2f ms (goal: 50 ms)\n", historyMs);
    }
    {
        VisitBook fresh(dir.filePath(QStringLiteral("new-laptop.sqlite")));
        QElapsedTimer timer;
        timer.start();
        ServerBook shared(address);
        const CopyResult copied = CopyFromServer(shared, fresh);
        std::printf("a new laptop's first copy: %d visits in %.1f s\n", copied.visits,
                    timer.nsecsElapsed() / 1e9);
    }
    ServerAddress refused = address;
    refused.port = 1;
    std::printf("event loop, server refusing, 5 s: longest gap %.2f ms (goal: 16 ms)\n",
                longestGapMs(refused, laptop, 5));
    // A port that takes the connection and never says a word.
    const int mute = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof at;
    bind(mute, reinterpret_cast<sockaddr*>(&at), sizeof at);
    listen(mute, 64);
    getsockname(mute, reinterpret_cast<sockaddr*>(&at), &length);
    ServerAddress silent = address;
    silent.port = ntohs(at.sin_port);
    silent.connectTimeoutS = 2;
    std::printf("event loop, server not answering, 5 s: longest gap %.2f ms (goal: 16 ms)\n",
                longestGapMs(silent, laptop, 5));
    return 0;
}
