// Two technicians' scripts checking printers in loops into one visit book at
// the same time: every check varmo-cli says it recorded is a row, and none
// is refused for the other's write.
#include <gtest/gtest.h>

#include <QSqlQuery>

#include "book/VisitBook.h"
#include "tests/cli/CliFixture.h"

namespace varmo::test {
namespace {

class TwoLoopsOneBookTest : public CliTest {};

TEST_F(TwoLoopsOneBookTest, TwoCheckLoopsOnOneBookLoseNoVisit)
{
    constexpr int kRounds = 12;
    const QString book = dir_.filePath(QStringLiteral("wspolna.sqlite"));
    SimPrinter first({"--unique", "TST00000001"}, dir_.filePath(QStringLiteral("p1.txt")));
    SimPrinter second({"--unique", "TST00000002"}, dir_.filePath(QStringLiteral("p2.txt")));
    const SimPrinter* printers[] = {&first, &second};
    CliProcess clis[2];
    std::unique_ptr<QProcess> running[2];
    int done[2] = {0, 0};
    int recorded = 0;
    std::map<int, int> exits;
    const auto start = [&](int i) {
        running[i] = clis[i].Start({QStringLiteral("--book"), book, QStringLiteral("--port"),
                                    printers[i]->path(), QStringLiteral("check")});
    };
    start(0);
    start(1);
    while (done[0] < kRounds || done[1] < kRounds) {
        for (int i = 0; i < 2; ++i) {
            if (!running[i] || running[i]->state() != QProcess::NotRunning)
                continue;
            const int code =
                running[i]->exitStatus() == QProcess::NormalExit ? running[i]->exitCode() : -1;
            ++exits[code];
            recorded += code == 0 ? 1 : 0;
            running[i].reset();
            if (++done[i] < kRounds)
                start(i);
        }
        for (const std::unique_ptr<QProcess>& process : running)
            if (process && process->state() != QProcess::NotRunning)
                process->waitForFinished(20);
    }
    EXPECT_EQ(exits[0], 2 * kRounds) << "exit 5: " << exits[5] << ", other: " << (2 * kRounds - exits[0] - exits[5]);
    book::VisitBook read(book);
    QSqlQuery checks(read.Database());
    ASSERT_TRUE(checks.exec(QStringLiteral("SELECT count(*) FROM checks")) && checks.next());
    EXPECT_EQ(checks.value(0).toInt(), recorded);
}

}  // namespace
}  // namespace varmo::test
