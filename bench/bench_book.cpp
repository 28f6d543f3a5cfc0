// The visit book at a service company's size: 10,000 printers and 100,000
// visits with a check each, in a fresh SQLite file. Each read the windows
// make is timed (the best of several runs, the file warm) and printed
// beside its goal.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <atomic>
#include <functional>
#include <thread>

#include "bench/BestOf.h"
#include "book/SinceLastVisit.h"
#include "book/VisitBook.h"

using namespace varmo::book;

namespace {

constexpr int kPrinters = 10'000;
constexpr int kVisitsEach = 10;

void fill(VisitBook& book)
{
    const QDate today = QDate::currentDate();
    book.Together(QStringLiteral("bench"), [&] {
        for (int p = 0; p < kPrinters; ++p) {
            PrinterSeen seen;
            seen.uniqueNumber = QStringLiteral("TST%1").arg(p, 8, 10, QLatin1Char('0'));
            seen.header = QStringList{QStringLiteral("Sklep nr %1 Łódź").arg(p), QStringLiteral("ul. Długa 1")};
            seen.nip = QStringLiteral("111-222-33-32");
            const QDateTime first(today.addDays(-kVisitsEach * 60), QTime(9, 0));
            const qint64 printer = book.NotePrinter(seen, first);
            book.SetNextInspection(printer, today.addDays(p % 730 - 30), QStringLiteral("DO SERWISU"));
            for (int v = 0; v < kVisitsEach; ++v) {
                const QDateTime when = first.addDays(v * 60);
                const qint64 visit = book.BeginVisit(printer, {when, "Jan", "COM1", "Varmo"});
                CheckRecord check;
                check.values.made = when;
                check.values.clockOffset = v * 30;
                check.values.lastReceipt = v * 1000;
                check.values.zeroings = 0;
                check.values.header = seen.header;
                check.stepsJson = QStringLiteral("[]");
                book.AddCheck(visit, check);
                book.EndVisit(visit, when.addSecs(1800));
            }
        }
    });
}

// Two writers on one book for two seconds, each a thread with its own
// connection as the console's window and its sync have, each counting the
// visits it was told were saved; the rows are counted after.
struct TwoWriters {
    double visitsASecond = 0;
    long long lost = 0;
};

TwoWriters twoWriters(const QString& path)
{
    std::atomic<long long> saved{0};
    std::atomic<bool> failed{false};
    const auto writer = [&](const QString& prefix) {
        try {
            VisitBook book(path);
            QElapsedTimer clock;
            clock.start();
            for (int i = 0; clock.elapsed() < 2000; ++i) {
                PrinterSeen seen;
                seen.uniqueNumber = prefix + QString::number(i % 50);
                const QDateTime when = QDateTime::currentDateTime();
                book.Together(QStringLiteral("bench"), [&] {
                    const qint64 visit = book.BeginVisit(book.NotePrinter(seen, when), {when, "Jan", "COM1", "Varmo"});
                    CheckRecord check;
                    check.values.made = when;
                    book.AddCheck(visit, check);
                    book.EndVisit(visit, when);
                });
                ++saved;
            }
        } catch (const std::exception&) {
            failed = true;
        }
    };
    QElapsedTimer timer;
    timer.start();
    std::thread other(writer, QStringLiteral("B"));
    writer(QStringLiteral("A"));
    other.join();
    const double seconds = timer.elapsed() / 1000.0;
    VisitBook book(path);
    QSqlQuery rows(book.Database());
    rows.exec(QStringLiteral("SELECT count(*) FROM visits"));
    rows.next();
    return {saved / seconds, failed ? -1 : rows.value(0).toLongLong() - saved.load()};
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    // A book named that is there is measured as it is; else one is made
    // (and kept, when named).
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("ksiega.sqlite"));
    const bool given = QFile::exists(path);
    QElapsedTimer timer;
    timer.start();
    if (!given) {
        VisitBook book(path);
        fill(book);
    }
    const double fillMs = timer.elapsed();
    timer.restart();
    VisitBook book(path);
    const double openMs = timer.elapsed();
    CheckValues now;
    now.made = QDateTime::currentDateTime();
    now.clockOffset = 400;
    now.lastReceipt = 12000;
    std::size_t rows = 0;
    const struct {
        const char* what;
        double ms;
        const char* goal;
    } figures[] = {
        {"book filled (10,000 printers, 100,000 visits)", fillMs, "-"},
        {"book opened, the whole file looked over", openMs, "< 200 ms"},
        {"printer list (all 10,000)", bestMs([&] { rows = book.Printers().size(); }), "< 100 ms"},
        {"printer list searched (\"lodz\", all match)",
         bestMs([&] { book.Printers(QStringLiteral("lodz")); }), "< 100 ms"},
        {"a printer's visits", bestMs([&] { book.Visits(QStringLiteral("TST00004321")); }), "< 20 ms"},
        {"due list (30 days)", bestMs([&] { book.Printers({}, 30); }), "< 50 ms"},
        {"since the last visit",
         bestMs([&] { SinceLastVisitIn(book, QStringLiteral("TST00004321"), -1, now); }), "< 10 ms"},
    };
    std::printf("\nThe visit book (%zu printers read back)\n", rows);
    std::printf("%-50s %10s   %s\n", "measure", "ms", "goal");
    for (const auto& figure : figures)
        std::printf("%-50s %10.2f   %s\n", figure.what, figure.ms, figure.goal);
    const TwoWriters two = twoWriters(dir.filePath(QStringLiteral("dwaj.sqlite")));
    std::printf("%-50s %10.0f   %s\n", "two writers on one book, visits a second", two.visitsASecond,
                "none lost");
    std::printf("%-50s %10lld   %s\n", "  visits lost (rows less those told saved)", two.lost, "0");
    return two.lost == 0 ? 0 : 1;
}
