// varmo-cli against a printer that is late, slow or in pieces: a frame is
// never a status byte, an answer on its way is awaited.
#include <csignal>

#include <QJsonArray>

#include "tests/cli/CliFixture.h"

namespace varmo::test {
namespace {

QJsonObject Find(const CliResult& result, const QString& command)
{
    for (const QJsonObject& exchange : result.Objects())
        if (exchange["command"].toString() == command)
            return exchange;
    ADD_FAILURE() << "no " << command.toStdString() << " in " << result.out.toStdString();
    return {};
}

TEST_F(CliTest, AFrameAfterEnqOrDleIsALateAnswerNeverTheirStatus)
{
    const struct {
        QStringList printer;
        QStringList cli;
    } cases[] = {
        {{"--delay", "2500"}, {}},
        {{"--delay", "700"}, {"--timeout", "500"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printer.join(' ').toStdString());
        StartPrinter(c.printer);
        const CliResult result = Cli(c.cli + QStringList{"--json", "--no-check", "run",
                                                          Script("header\nenq\n")});
        const QJsonObject enq = Find(result, "enq");
        EXPECT_TRUE(enq["status"].isNull() || enq["status"]["byte"].toInt() != 0x1B)
            << result.out.toStdString();
        // The header's frame is told as what it is: late, before the status.
        EXPECT_TRUE(enq["late"].toString().startsWith("<ESC>P1#U")) << result.out.toStdString();
    }
}

TEST_F(CliTest, AnAnswerInSlowPiecesIsReadWholeAndSpoilsNothingAfterIt)
{
    // About 60 bytes, three every 200 ms: four seconds for the header.
    StartPrinter({"--chunk", "3", "--gap", "200"});
    const CliResult result =
        Cli({"--json", "--no-check", "run", Script("header\nenq\ndle\nenq\n")});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString();
    EXPECT_TRUE(Find(result, "header")["accepted"].toBool()) << result.out.toStdString();
    for (const QJsonObject& exchange : result.Objects()) {
        if (exchange["command"] != "enq" && exchange["command"] != "dle")
            continue;
        // The printer's status bytes carry 0x60 (ENQ) or 0x70 (DLE).
        const int expected = exchange["command"] == "enq" ? 0x60 : 0x70;
        EXPECT_EQ(exchange["status"]["byte"].toInt() & 0xF0, expected) << result.out.toStdString();
        EXPECT_EQ(exchange["late"].toString(), "");
    }
}

TEST_F(CliTest, EveryFrameWrittenReachesThePrinterBeforeThePortCloses)
{
    StartPrinter();
    for (const int size : {20, 200, 2000}) {
        SCOPED_TRACE(size);
        // Its check value is wrong: the printer that hears it keeps an error.
        const QString frame = "<ESC>P" + QString(size - 4, QLatin1Char('x')) + "<ESC>\\";
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Cli({"--no-check", "--listen", "0", "send", frame}).exitCode, 0);
            const CliResult error = Cli({"--json", "--no-check", "error"});
            EXPECT_NE(Strings(Find(error, "error")["received"]), QStringList{"<ESC>P1#E0<ESC>\\"})
                << error.out.toStdString();
        }
    }
}

TEST_F(CliTest, ALineThatTakesNothingIsGivenUpAfterTheAnswerTime)
{
    StartPrinter();
    QString script;
    for (int i = 0; i < 20; ++i)
        script += "send <ESC>P" + QString(2000, QLatin1Char('x')) + "<ESC>\\\\\n";
    ::kill(static_cast<pid_t>(printer_->pid()), SIGSTOP);
    const CliResult result =
        Cli({"--no-check", "--listen", "0", "--timeout", "500", "run", Script(script)});
    ::kill(static_cast<pid_t>(printer_->pid()), SIGCONT);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(result.err.contains("the line is stuck")) << result.err.toStdString();
}

TEST_F(CliTest, AScriptIsCheckedWholeBeforeItsFirstByte)
{
    StartPrinter();
    const QString path = Script("set-header Pierwsza\nsend <ESC>P" +
                                QString(2100, QLatin1Char('x')) + "<ESC>\\\\\n");
    const CliResult result = Cli({"run", path});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains("2048")) << result.err.toStdString();
    const CliResult header = Cli({"--json", "header"});
    EXPECT_TRUE(header.out.contains("1#U")) << header.out.toStdString();
    EXPECT_FALSE(header.out.contains("Pierwsza")) << header.out.toStdString();
}

}  // namespace
}  // namespace varmo::test
