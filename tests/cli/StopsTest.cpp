// However a varmo-cli script stops, the printer is not left inside the goods
// report, and a signal is not kept waiting by a wait on the line.
#include <csignal>

#include <QThread>

#include "tests/cli/CliFixture.h"

namespace varmo::test {
namespace {

void Signal(qint64 pid, int signal) { ::kill(static_cast<pid_t>(pid), signal); }

TEST_F(CliTest, APrinterThatStopsAnsweringMidScriptIsLeftOutOfTheGoodsReport)
{
    StartPrinter();
    QString text = QStringLiteral("goods-check-start locked\n");
    for (int i = 1; i <= 2000; ++i)
        text += QStringLiteral("expect goods-check-line Towar%1 A\n").arg(i);
    const std::unique_ptr<QProcess> run = cli_.Start(
        {"--port", printer_->path(), "--json", "--timeout", "300", "run", Script(text)});
    QByteArray out;  // some goods have gone when the printer stops
    while (!out.contains("Towar3") && run->waitForReadyRead(10000))
        out += run->readAllStandardOutput();
    Signal(printer_->pid(), SIGSTOP);
    const CliResult result = cli_.Finish(*run);
    Signal(printer_->pid(), SIGCONT);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("goods went out, and its end went out unconfirmed"))
        << result.err.toStdString();
    // Out of the report: a new one may start, where one left open gives error 82.
    EXPECT_EQ(Cli({"goods-check-start", "locked"}).exitCode, 0);
    EXPECT_EQ(Cli({"goods-check-end"}).exitCode, 0);
}

TEST_F(CliTest, ASignalEndsAWaitOnTheLineAtOnce)
{
    const struct {
        QString script;
        QString timeout;
        bool printerStopped;
        int signal;
        const char* told;
    } cases[] = {
        {"goods-check-start locked\ngoods-check-line Towar1 A\nwait 60000\n", "2000", false,
         SIGINT, "1 goods went out, and the goods report was ended"},
        // The printer is stopped in the pause before the header goes, so
        // that its answer never comes, however late the test is scheduled.
        {"wait 300\nheader\n", "30000", true, SIGTERM, "stopped by SIGTERM in this line"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script.toStdString());
        StartPrinter();
        // The answer to enq shows the run is under way.
        const std::unique_ptr<QProcess> run =
            cli_.Start({"--port", printer_->path(), "--json", "--timeout", c.timeout, "run",
                        Script("enq\n" + c.script)});
        ASSERT_TRUE(run->waitForReadyRead(10000));
        if (c.printerStopped)
            Signal(printer_->pid(), SIGSTOP);
        QThread::msleep(c.printerStopped ? 800 : 300);  // into the wait on the line
        Signal(run->processId(), c.signal);
        const CliResult result = cli_.Finish(*run);
        Signal(printer_->pid(), SIGCONT);
        EXPECT_EQ(result.exitCode, 128 + c.signal);
        EXPECT_TRUE(result.err.contains(c.told)) << result.err.toStdString();
    }
}

}  // namespace
}  // namespace varmo::test
