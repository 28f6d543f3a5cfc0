// varmo-cli against a printer that is late, slow or in pieces: a frame is
// never a status byte, an answer on its way is awaited.
#include <csignal>

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
        // The header's frame (its ESC once taken for the status) is late.
        EXPECT_TRUE(Find(result, "enq")["late"].toString().startsWith("<ESC>P1#U"))
            << result.out.toStdString();
    }
}

TEST_F(CliTest, AnAnswerInSlowPiecesIsReadWholeAndSpoilsNothingAfterIt)
{
    // About 60 bytes, three every 200 ms: four seconds for the header.
    StartPrinter({"--chunk", "3", "--gap", "200"});
    const CliResult result = Cli({"--json", "--no-check", "run", Script("header\nenq\ndle\n")});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString();
    EXPECT_TRUE(Find(result, "header")["accepted"].toBool()) << result.out.toStdString();
    // The printer's status bytes carry 0x60 (ENQ) or 0x70 (DLE), after nothing late.
    for (const auto& [command, high] : {std::pair{"enq", 0x60}, std::pair{"dle", 0x70}}) {
        const QJsonObject exchange = Find(result, command);
        EXPECT_EQ(exchange["status"].toObject()["byte"].toInt() & 0xF0, high) << command;
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
    EXPECT_FALSE(Cli({"header"}).out.contains("Pierwsza"));
}

}  // namespace
}  // namespace varmo::test
