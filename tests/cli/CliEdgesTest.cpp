// varmo-cli at the edges of the field: an answer still on its way, a port
// that cannot be opened, a file size limit.
#include <sys/resource.h>

#include <cerrno>
#include <csignal>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "cli/Script.h"
#include "cli/Verbs.h"
#include "tests/cli/CliFixture.h"


namespace varmo::test {
namespace {

TEST_F(CliTest, AnAnswerStillOnItsWayIsNeverTakenByTheNextLine)
{
    // The header's answer starts coming after its time-out, while the clock
    // waits: it is the header's, told by its code, and never the clock's.
    StartPrinter({"--delay", "500", "--chunk", "4", "--gap", "30"});
    const QString path = Script(QStringLiteral("header\nclock\nwait 1500\nenq\n"));
    const CliResult result =
        Cli({"--json", "--no-check", "--timeout", "450", "run", path});
    QStringList clockReceived;
    QString clockLate;
    for (const QJsonObject& exchange : result.Objects()) {
        if (exchange["command"].toString() == "clock") {
            clockReceived = Strings(exchange["received"]);
            clockLate = exchange["late"].toString();
        }
    }
    for (const QString& frame : clockReceived)
        EXPECT_TRUE(frame.startsWith(QStringLiteral("<ESC>P1#C"))) << frame.toStdString();
    EXPECT_TRUE(clockLate.startsWith(QStringLiteral("<ESC>P1#U"))) << clockLate.toStdString();
}

TEST_F(CliTest, ACopyOfAnAnswerNeverPassesForARefusalsNumber)
{
    // The copy of the first number is still coming when the header goes out;
    // the printer refuses a line of 60 characters with error 12.
    StartPrinter({"--twice", "--chunk", "4", "--gap", "30"});
    const QString path =
        Script(QStringLiteral("error\nexpect set-header %1\n").arg(QString(60, QLatin1Char('H'))));
    const CliResult result = Cli({"run", path});
    EXPECT_EQ(result.exitCode, 1) << result.out.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("error 12"))) << result.err.toStdString();

    // A frame over what the printer takes is refused before it goes out.
    const CliResult tooLong = Cli({"send", "<ESC>P" + QString(2100, QLatin1Char('x')) + "<ESC>\\"});
    EXPECT_EQ(tooLong.exitCode, 2) << tooLong.err.toStdString();
    EXPECT_TRUE(tooLong.err.contains(QStringLiteral("2048"))) << tooLong.err.toStdString();
}

TEST_F(CliTest, AScriptStoppedByASignalEndsTheGoodsReportAndSaysWhere)
{
    StartPrinter();
    QString text = QStringLiteral("goods-check-start locked\n");
    // Long enough that the signal comes in the middle of it.
    for (int i = 1; i <= 100000; ++i)
        text += QStringLiteral("goods-check-line Towar%1 A\n").arg(i);
    const QString path = Script(text);
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        const std::unique_ptr<QProcess> run =
            cli_.Start({QStringLiteral("--port"), printer_->path(), QStringLiteral("run"), path});
        ASSERT_TRUE(run->waitForReadyRead(10000));
        QThread::msleep(100);  // some goods on their way
        ::kill(static_cast<pid_t>(run->processId()), signal);
        const CliResult result = cli_.Finish(*run);
        EXPECT_EQ(result.exitCode, 128 + signal);
        EXPECT_TRUE(result.err.contains(QStringLiteral("goods went out, and the goods report was ended")))
            << result.err.toStdString();
        // Out of the report: a new one may start, where one left open gives error 82.
        EXPECT_EQ(Cli({"goods-check-start", "locked"}).exitCode, 0);
        EXPECT_EQ(Cli({"goods-check-end"}).exitCode, 0);
    }
}

TEST_F(CliTest, APrintersSecondCopyIsNeverTakenForTheNextAnswerInThisRunOrTheNext)
{
    // Each copy in pieces: the second is still coming when the next line asks,
    // and the last one when the run ends.
    StartPrinter({"--twice", "--chunk", "8", "--gap", "15"});
    const QString path = Script(QStringLiteral("expect header\nexpect clock\nexpect header\n"));
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        const CliResult result = Cli({"--json", "--no-check", "run", path});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        for (const QJsonObject& exchange : result.Objects()) {
            const QString own = exchange["command"].toString() == "clock"
                                    ? QStringLiteral("<ESC>P1#C")
                                    : QStringLiteral("<ESC>P1#U");
            for (const QString& frame : Strings(exchange["received"]))
                EXPECT_TRUE(frame.startsWith(own)) << frame.toStdString();
        }
    }
}

TEST_F(CliTest, APortThatCannotBeOpenedIsNamedWithTheSystemsReason)
{
    QTemporaryDir dir;
    const struct {
        QString device;
        int error;
        const char* reason;  // as the console's status line says it
    } cases[] = {
        {"/nonexistent/tty", ENOENT, "brak urządzenia (nie ma takiego pliku ani katalogu)"},
        {dir.path(), EISDIR, "to nie jest port szeregowy (to jest katalog)"},
        {"/dev/null", ENOTTY,
         "to nie jest port szeregowy (nieodpowiednia operacja dla urządzenia)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device.toStdString());
        const CliResult result = cli_.Run({"--port", c.device, "header"});
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_TRUE(result.err.endsWith(QStringLiteral("(błąd systemu %1): ").arg(c.error) +
                                        QString::fromUtf8(c.reason) + "\n"))
            << result.err.toStdString();
    }
}

// ulimit -f with the signal at its default: output past the limit fails, the
// program goes on and ends as it would have.
TEST_F(CliTest, NoProgramIsKilledByTheFileSizeLimit)
{
    for (const char* program : {VARMO_CLI_PATH, VARMO_SIM_PATH, VARMO_CONSOLE_PATH}) {
        SCOPED_TRACE(program);
        const QString out = dir_.filePath(QStringLiteral("out.txt"));
        QProcess process;
        process.setStandardOutputFile(out);
        process.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 8;
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        process.start(QString::fromLatin1(program), {QStringLiteral("--help")});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(QFileInfo(out).size(), 8);
    }
}

}  // namespace
}  // namespace varmo::test
