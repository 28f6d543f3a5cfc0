// varmo-cli run as a process: an option put after the command is told where
// it goes, and a port that will not open is busy, forbidden or absent in the
// console's words, in ports, find and any command.
#include <QJsonObject>
#include <QSerialPort>

#include "tests/cli/CliFixture.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

using PortTroubleTest = CliTest;

TEST_F(PortTroubleTest, AnOptionAfterTheCommandIsToldToGoBeforeIt)
{
    PtyPrinter line;
    const QString device = line.path();
    const struct {
        QStringList arguments;
        QString error;  // after "varmo-cli: "
    } cases[] = {
        {{"ports", "--json"}, "ports: opcje podaje się przed poleceniem: varmo-cli --json ports"},
        {{"find", "--port", device, "--speed=9600"},
         "find: opcje podaje się przed poleceniem: varmo-cli --port " + device +
             " --speed=9600 find"},
        {{"--json", "header", "--timeout", "500"},
         "header: opcje podaje się przed poleceniem: varmo-cli --json --timeout 500 header"},
        {{"set-discount", "--no-check", "2"},
         "set-discount: opcje podaje się przed poleceniem: varmo-cli --no-check set-discount 2"},
        // check takes --json after it as its own; only --port moves.
        {{"check", "--json", "--port", device},
         "check: opcje podaje się przed poleceniem: varmo-cli --port " + device + " check --json"},
        // Nothing misplaced: the command's own complaint.
        {{"ports", "COM1"}, "ports: nie przyjmuje parametrów"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliResult result = cli_.Run(c.arguments);
        EXPECT_EQ(result.exitCode, 2);
        // check starts Qt's GUI side, which may say a word of its own first.
        EXPECT_TRUE(result.err.endsWith(QStringLiteral("\nvarmo-cli: ") + c.error + '\n') ||
                    result.err == QStringLiteral("varmo-cli: ") + c.error + '\n')
            << result.err.toStdString();
        EXPECT_TRUE(result.out.isEmpty());
    }
    // The line it offers runs.
    const CliResult ports = cli_.Run({"--json", "ports"});
    EXPECT_EQ(ports.exitCode, 0) << ports.err.toStdString();
}

TEST_F(PortTroubleTest, PortsFindAndCommandsSayWhetherAPortIsBusyOrAbsent)
{
    PtyPrinter line;
    // Another program holds the line, as the shop's own program would.
    QSerialPort otherProgram(line.path());
    ASSERT_TRUE(otherProgram.open(QIODevice::ReadWrite))
        << otherProgram.errorString().toStdString();
    const QString gone = dir_.filePath(QStringLiteral("ttyUSB0"));
    const QString busyWords =
        QStringLiteral("zajęty przez inny program (urządzenie lub zasób jest zajęty)");
    const QString absentWords =
        QStringLiteral("brak urządzenia (nie ma takiego pliku ani katalogu)");
    cli_.SetEnv(QStringLiteral("VARMO_COM5"), line.path());
    cli_.Store(QStringLiteral("devices/COM6"), gone);

    const CliResult text = cli_.Run({"ports"});
    EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains(line.path() + QStringLiteral(" [COM5] – ") + busyWords + "\n"))
        << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(gone + QStringLiteral(" [COM6] – ") + absentWords + "\n"))
        << text.out.toStdString();

    const CliResult json = cli_.Run({"--json", "ports"});
    QStringList troubles;
    for (const QJsonObject& row : json.Objects()) {
        const QString path = row.value(QStringLiteral("path")).toString();
        if (path == line.path() || path == gone)
            troubles << row.value(QStringLiteral("trouble")).toString() + ": " +
                            row.value(QStringLiteral("troubleText")).toString();
    }
    EXPECT_EQ(troubles, (QStringList{"busy: " + busyWords, "absent: " + absentWords}));

    const CliResult find = cli_.Run({"--port", line.path(), "find"});
    EXPECT_EQ(find.exitCode, 1);
    EXPECT_TRUE(find.err.startsWith("find: " + line.path() + ": " + busyWords + "\n"))
        << find.err.toStdString();
    EXPECT_TRUE(find.err.contains("nie otwarto: " + line.path() + ": " + busyWords))
        << find.err.toStdString();

    const struct {
        QString port;
        QString words;
    } opened[] = {{line.path(), busyWords}, {gone, absentWords}};
    for (const auto& c : opened) {
        SCOPED_TRACE(c.port.toStdString());
        const CliResult header = cli_.Run({"--port", c.port, "header"});
        EXPECT_EQ(header.exitCode, 3);
        EXPECT_TRUE(header.err.endsWith(": " + c.words + "\n")) << header.err.toStdString();
    }
}

}  // namespace
}  // namespace varmo::test
