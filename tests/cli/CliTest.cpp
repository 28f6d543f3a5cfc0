// varmo-cli against varmo-sim over a real pseudo-terminal: what each command
// sends and how the answer is shown, the JSON read back, the check of the
// printer's error number, scripts, exit codes and the stored settings.
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <memory>

#include "cli/Script.h"
#include "cli/Verbs.h"
#include "tests/cli/CliFixture.h"

namespace varmo::test {
namespace {


TEST_F(CliTest, ReadCommandsAreAnsweredAndDescribedInPolish)
{
    const struct {
        QStringList args;
        QString sent;
        QString firstAnswerLine;
    } cases[] = {
        {{"header"}, "<ESC>P#u", "Odczytany nagłówek:"},
        {{"error"}, "<ESC>P#n", "Kod ostatniego błędu: 0"},
        {{"cash"}, "<ESC>P23#s", "Informacje kasowe:"},
        {{"cash-current"}, "<ESC>P22#s", "Informacje kasowe - aktualna transakcja:"},
        {{"goods", "Chleb żytni", "a"}, "<ESC>P$gChleb żytni<CR>A/", "Towar nie rejestrowany"},
        {{"clock"}, "<ESC>P#c", "Aktualny czas: 20"},
    };
    StartPrinter();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliResult text = Cli(c.args);
        EXPECT_EQ(text.exitCode, 0) << text.err.toStdString();
        EXPECT_TRUE(text.err.isEmpty());
        EXPECT_TRUE(text.out.startsWith("-> " + c.sent)) << text.out.toStdString();
        EXPECT_TRUE(text.out.contains("\n<- <ESC>P1")) << text.out.toStdString();
        EXPECT_TRUE(text.out.contains("\n   " + c.firstAnswerLine));

        const std::vector<QJsonObject> json = Cli(QStringList{"--json"} + c.args).Objects();
        ASSERT_EQ(json.size(), 1u);
        const QJsonObject& exchange = json[0];
        EXPECT_EQ(exchange["command"].toString(), c.args[0]);
        EXPECT_TRUE(exchange["sent"].toString().startsWith(c.sent));
        EXPECT_TRUE(exchange["accepted"].toBool());
        EXPECT_TRUE(exchange["answered"].toBool());
        EXPECT_GE(exchange["ms"].toInteger(-1), 0);
        EXPECT_EQ(Strings(exchange["received"]).size(), 1);
        EXPECT_TRUE(Strings(exchange["answer"]).value(0).startsWith(c.firstAnswerLine));
        EXPECT_FALSE(Strings(exchange["description"]).isEmpty());
        EXPECT_TRUE(exchange["status"].isNull());
    }
}

TEST_F(CliTest, StatusBytesReadAsFlagsAndCanExpectsNothing)
{
    StartPrinter({"--fiscal", "--no-paper"});
    const std::vector<QJsonObject> enq = Cli({"--json", "enq"}).Objects();
    ASSERT_EQ(enq.size(), 1u);
    const QJsonObject enqFlags = enq[0]["status"].toObject()["flags"].toObject();
    EXPECT_TRUE(enqFlags["FSK"].toBool());
    EXPECT_TRUE(enqFlags["CMD"].toBool());
    EXPECT_FALSE(enqFlags["PAR"].toBool());
    EXPECT_EQ(Strings(enq[0]["answer"]).value(0), "Fiskalna");
    EXPECT_EQ(enq[0]["sent"].toString(), "<$05>");

    const CliResult dle = Cli({"dle"});
    EXPECT_EQ(dle.exitCode, 0);
    EXPECT_TRUE(dle.out.contains("   On-line\n   Brak papieru\n   Mechanizm drukujący OK\n"))
        << dle.out.toStdString();
    const std::vector<QJsonObject> dleJson = Cli({"--json", "dle"}).Objects();
    ASSERT_EQ(dleJson.size(), 1u);
    EXPECT_TRUE(dleJson[0]["status"].toObject()["flags"].toObject()["PE"].toBool());
    // Bits 4 to 7 come set from this printer and mean nothing.
    EXPECT_EQ(dleJson[0]["status"].toObject()["byte"].toInt() & 0x07, 0x06);

    const std::vector<QJsonObject> can = Cli({"--json", "can"}).Objects();
    ASSERT_EQ(can.size(), 1u);
    EXPECT_EQ(can[0]["sent"].toString(), "<$18>");
    EXPECT_FALSE(can[0]["answered"].toBool());
}

// A command that takes no answer is followed by the error number; 0 is
// success, anything else a refusal named on standard error.
TEST_F(CliTest, CommandsWithoutAnswerAreCheckedWithTheErrorNumber)
{
    const struct {
        QStringList args;
        int error;  // the printer's error number afterwards
    } cases[] = {
        {{"set-clock", "2027-03-04", "05:06"}, 0},
        {{"set-clock", "2027-02-30", "10:00"}, 4},
        {{"set-header", "Sklep Żuraw", "ul. Polna 1"}, 0},
        {{"set-rates", "23", "8", "5", "0", "ZW", "-", "-"}, 11},  // unchanged
        {{"set-rates", "23,8,5,0,ZW,-,7"}, 0},
        {{"set-discount", "2"}, 0},
        {{"set-nip", "111-222-33-32"}, 0},
        {{"set-nip", "123"}, 4},
        {{"set-inspection", "2027-01-31", "DO SERWISU"}, 0},
        {{"report-day"}, 0},
        {{"report-period", "2026-01-01", "2026-12-31", "1"}, 0},
        {{"report-numbers", "5", "1", "summary"}, 4},
        {{"report-constants"}, 0},
        {{"receipt-cancel"}, 29},
        {{"receipt-start", "1"}, 0},
        {{"receipt-line", "1", "Towar testowy", "1", "A", "0.01", "0.01"}, 0},
        {{"receipt-end", "01", "1", "0.01"}, 0},
        {{"goods-check-start", "rates"}, 0},
        {{"goods-check-line", "Towar testowy", "A"}, 0},
        {{"goods-check-end"}, 0},
        {{"send", "#j"}, 0},
        {{"send", "--raw", "<ESC>P0$r99<ESC>\\"}, 0},
        {{"send", "--raw", "<ESC>P0$r00<ESC>\\"}, 2},  // a wrong check value
        {{"fiscalise", "111-222-33-32"}, 0},
        {{"fiscalise", "111-222-33-32"}, 13},  // once only
        {{"set-error-mode", "9"}, 4},
        {{"set-error-mode", "3"}, 0},
    };
    StartPrinter();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliResult result = Cli(QStringList{"--json", "--listen", "100"} + c.args);
        const std::vector<QJsonObject> json = result.Objects();
        ASSERT_EQ(json.size(), 2u) << result.out.toStdString();
        EXPECT_EQ(json[0]["command"].toString(), c.args[0]);
        EXPECT_TRUE(json[0]["accepted"].isNull());
        EXPECT_EQ(json[1]["command"].toString(), "error");
        EXPECT_EQ(Strings(json[1]["answer"]).value(0),
                  QStringLiteral("Kod ostatniego błędu: %1").arg(c.error));
        EXPECT_EQ(result.exitCode, c.error == 0 ? 0 : 1);
        if (c.error == 0) {
            EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
        } else {
            EXPECT_TRUE(result.err.startsWith("varmo-cli: " + c.args[0] +
                                              QStringLiteral(": refused by the printer, error %1")
                                                  .arg(c.error)))
                << result.err.toStdString();
            EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
        }
    }
    // A sequence's answer stays with the sequence; and when it comes late, the
    // check waits past it for the error number.
    const std::vector<QJsonObject> sequence = Cli({"--json", "send", "#u"}).Objects();
    ASSERT_EQ(sequence.size(), 2u);
    EXPECT_TRUE(Strings(sequence[0]["received"]).value(0).startsWith("<ESC>P1#U"));
    EXPECT_EQ(Strings(sequence[1]["answer"]).value(0), "Kod ostatniego błędu: 0");
    const CliResult quick = Cli({"--json", "--listen", "0", "send", "#u"});
    EXPECT_EQ(quick.exitCode, 0) << quick.err.toStdString();
    const std::vector<QJsonObject> quickJson = quick.Objects();
    ASSERT_EQ(quickJson.size(), 2u);
    // However late the header's answer comes, the check is not taken in by it.
    EXPECT_EQ(Strings(quickJson[1]["answer"]).value(0), "Kod ostatniego błędu: 0");

    // --no-check sends the command alone and trusts it.
    const std::vector<QJsonObject> unchecked =
        Cli({"--json", "--no-check", "--listen", "0", "set-discount", "1"}).Objects();
    EXPECT_EQ(unchecked.size(), 1u);
}

TEST_F(CliTest, TheCodePageComesFromTheOptionOrTheStoredSetting)
{
    const QString device = StartPrinter();
    cli_.SetEnv(QStringLiteral("VARMO_COM2"), device);
    cli_.Store(QStringLiteral("com"), QStringLiteral("COM2"));
    cli_.Store(QStringLiteral("plStd"), QStringLiteral("win"));
    const QStringList header = {"--json", "--no-check", "--listen", "0", "set-header", "Żółw"};

    const std::vector<QJsonObject> stored = cli_.Run(header).Objects();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]["sent"].toString(), stored[0]["wire"].toString());
    EXPECT_TRUE(stored[0]["sent"].toString().contains("Żółw"));

    const std::vector<QJsonObject> mazovia =
        cli_.Run(QStringList{"--codepage", "maz"} + header).Objects();
    ASSERT_EQ(mazovia.size(), 1u);
    EXPECT_TRUE(mazovia[0]["sent"].toString().contains("Żółw"));
    EXPECT_FALSE(mazovia[0]["wire"].toString().contains("Żółw"));
}

TEST_F(CliTest, FramesOnAMazoviaLineShowTheirPolishLetters)
{
    // The printer keeps Mazovia, as does the line when the console says maz.
    StartPrinter({"--header", "Przykładowo"});
    const CliResult text = Cli({"--codepage", "maz", "header"});
    const QString answer = text.out.section(QStringLiteral("\n<- "), 1).section('\n', 0, 0);
    EXPECT_TRUE(answer.contains("Przykładowo")) << text.out.toStdString();
    const CliResult goods = Cli({"--codepage", "maz", "goods", "Chleb żytni", "A"});
    const QString line = goods.out.section(QStringLiteral("on the line: "), 1).section('\n', 0, 0);
    EXPECT_TRUE(line.contains("Chleb żytni")) << goods.out.toStdString();

    const std::vector<QJsonObject> json = Cli({"--json", "--codepage", "maz", "header"}).Objects();
    ASSERT_FALSE(json.empty());
    EXPECT_TRUE(Strings(json[0]["received"]).value(0).contains("Przykładowo"));
    // Read as Windows-1250 the same bytes are other letters: the code page decides.
    const std::vector<QJsonObject> win = Cli({"--json", "--codepage", "win", "header"}).Objects();
    ASSERT_FALSE(win.empty());
    EXPECT_FALSE(Strings(win[0]["received"]).value(0).contains("Przykładowo"));
}

TEST_F(CliTest, SilentPrinterIsNoAnswer)
{
    StartPrinter({"--silent"});
    for (const QStringList& args : {QStringList{"header"}, QStringList{"enq"}}) {
        const CliResult result = Cli(QStringList{"--timeout", "300"} + args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, "varmo-cli: " + args[0] + ": Brak odpowiedzi\n");
    }
}

TEST_F(CliTest, ScriptStopsAtTheFirstRefusedExpectWithItsLineNumber)
{
    StartPrinter();
    const QString path = Script(QStringLiteral(
        "# a receipt whose total is wrong\n"
        "\n"
        "expect enq\n"
        "receipt-cancel\n"             // refused (29), but not expected: goes on
        "wait 50\n"
        "expect receipt-start 1\n"
        "  expect receipt-line 1 'Towar testowy' 1 A 0.01 0.01\r\n"
        "expect receipt-end 01 1 0.02\n"  // line 8: the total is wrong
        "header\n"));
    const CliResult result = Cli({"--json", "run", path});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.startsWith(
        QStringLiteral("varmo-cli: %1:8: receipt-end: refused by the printer, error 26: ")
            .arg(path)))
        << result.err.toStdString();
    EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(result.err.endsWith('\n'));
    QStringList commands;
    QList<int> lines;
    for (const QJsonObject& exchange : result.Objects()) {
        commands << exchange["command"].toString();
        lines << exchange["line"].toInt();
    }
    // The refused plain line is checked too, so the printer goes on taking
    // frames and its error is not blamed on the next line.
    EXPECT_EQ(commands, (QStringList{"enq", "receipt-cancel", "error", "receipt-start", "error",
                                     "receipt-line", "error", "receipt-end", "error"}));
    EXPECT_EQ(lines, (QList<int>{3, 4, 4, 6, 6, 7, 7, 8, 8}));
}

// In error mode 3 a refusal is followed by the error number unasked, and the
// answer to the check comes after it: neither may pass for the next answer.
TEST_F(CliTest, AnErrorNumberSentUnaskedIsNotTakenForTheNextAnswer)
{
    // In pieces, so the two numbers come apart on the line.
    StartPrinter({"--chunk", "4", "--gap", "20"});
    const QString path = Script(QStringLiteral("expect set-error-mode 3\n"
                                               "set-rates 23 8 5 0 ZW - -\n"
                                               "expect header\n"
                                               "expect set-discount 1\n"));
    for (const QString listen : {"0", "300"}) {
        SCOPED_TRACE(listen.toStdString());
        const CliResult result = Cli({"--json", "--listen", listen, "run", path});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        int numbers = 0;
        for (const QJsonObject& exchange : result.Objects()) {
            if (exchange["line"].toInt() == 2)
                numbers += Strings(exchange["received"]).count("<ESC>P1#E11<ESC>\\");
            if (exchange["command"].toString() == "header") {
                EXPECT_TRUE(exchange["accepted"].toBool());
            }
        }
        EXPECT_EQ(numbers, 2);
    }
}

TEST_F(CliTest, APrinterThatGoesAwayExitsWith3AtItsLine)
{
    StartPrinter();
    const QString path = Script(QStringLiteral("header\nwait 20000\nexpect header\n"));
    const std::unique_ptr<QProcess> process =
        cli_.Start({"--port", printer_->path(), "run", path});
    // Gone once the first answer is in, during the wait.
    QByteArray out;
    while (!out.contains("<- ") && process->waitForReadyRead(10000))
        out += process->readAllStandardOutput();
    ASSERT_TRUE(out.contains("<- "));
    printer_.reset();
    const CliResult result = CliProcess::Finish(*process);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_TRUE(result.err.startsWith(QStringLiteral("varmo-cli: %1:2: ").arg(path)))
        << result.err.toStdString();
    EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
}

TEST_F(CliTest, WrongUsageIsRefusedBeforeThePortOpens)
{
    QTemporaryDir dir;
    const QString badScript = dir.filePath(QStringLiteral("bad.txt"));
    QFile file(badScript);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("header\nexpect cash\nset-rates 23 8 5\n");
    file.close();
    // One line past the bound, and a file that is no text at all.
    const QString longScript = dir.filePath(QStringLiteral("long.txt"));
    QFile longFile(longScript);
    ASSERT_TRUE(longFile.open(QIODevice::WriteOnly));
    longFile.write("header\r\n# " + QByteArray(cli::kMaxScriptLine - 2, 'x') + "\r\nheader " +
                   QByteArray(cli::kMaxScriptLine, 'x') + "\n");
    longFile.close();
    const QString nulScript = dir.filePath(QStringLiteral("nul.txt"));
    QFile nulFile(nulScript);
    ASSERT_TRUE(nulFile.open(QIODevice::WriteOnly));
    nulFile.write(QByteArray("header\nhea\0der\n", 15));
    nulFile.close();
    const struct {
        QStringList args;
        QString error;  // the start of the message
    } cases[] = {
        {{}, "nie podano polecenia"},
        {{"--port"}, "--port wymaga wartości"},
        {{"print"}, "nieznane polecenie \"print\""},
        {{"--verbose", "header"}, "nieznana opcja --verbose"},
        {{"--codepage", "utf8", "header"}, "--codepage: maz albo win"},
        {{"--port", "COM17", "header"}, "--port: \"COM17\" to ani port"},
        {{"--speed", "fast", "header"}, "--speed: \"fast\" nie jest liczbą całkowitą"},
        {{"goods", "Chleb"}, "goods: użycie: goods NAME RATE"},
        {{"goods", "Chleb", "H"}, "rate: \"H\" nie jest literą stawki"},
        {{"set-clock", "2031-01-01", "10:00"}, "set-clock: Nieprawdłowy format"},
        {{"set-clock", "1.1.2027", "10:00"}, "date: \"1.1.2027\" nie jest datą"},
        {{"set-rates", "23", "8", "5"}, "set-rates: potrzeba siedmiu stawek"},
        {{"set-rates", "23,8,5,0,ZW,-,102"}, "rate: \"102\""},
        {{"set-rates", "23,8,5,0,ZW,-,100"}, "rate: \"100\" nie jest stawką (0 do 99, ZW albo -)"},
        {{"set-rates", "23", "8", "5", "0", "101", "-", "-"}, "rate: \"101\""},
        {{"set-header", "Ω"}, "header line: \"Ω\" zawiera znak"},
        {{"receipt-end", "01", "1", "0.001x"}, "total: \"0.001x\" nie jest kwotą"},
        {{"send", "<ESC>P<XX>"}, "sequence: \"<ESC>P<XX>\": Niepoprawna sekwencja"},
        {{"run", badScript}, badScript + ":3: set-rates: potrzeba siedmiu stawek"},
        {{"run", dir.filePath("none.txt")}, dir.filePath("none.txt") + ": "},
        {{"run", longScript}, longScript + ":3: the line is longer than 65536 bytes"},
        {{"run", nulScript}, nulScript + ":2: not a text file"},
        {{"run", "/dev/zero"}, "/dev/zero: a device, not a regular file"},
        // A terminal would take the bytes for a sequence of its own.
        {{"header\x1B[2J\r"}, "nieznane polecenie \"header<ESC>[2J<CR>\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        // The device does not exist: reaching it would exit with 3.
        const CliResult result = cli_.Run(QStringList{"--port", "/nonexistent/tty"} + c.args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.startsWith("varmo-cli: " + c.error)) << result.err.toStdString();
        EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
        EXPECT_TRUE(result.out.isEmpty());
    }
}

TEST_F(CliTest, MissingDeviceExitsWith3AndHelpNamesEveryCommand)
{
    const CliResult missing = cli_.Run({"--port", "/nonexistent/tty", "header"});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_TRUE(missing.err.startsWith(
        "varmo-cli: Nie można otworzyć portu COM1 (/nonexistent/tty): Unable to open com port"))
        << missing.err.toStdString();
    EXPECT_EQ(missing.err.count(QLatin1Char('\n')), 1);

    const CliResult help = cli_.Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const cli::Verb& verb : cli::Verbs())
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  %1 ").arg(verb.name))) << verb.name;
    const CliResult version = cli_.Run({"--version"});
    EXPECT_EQ(version.out, QStringLiteral("varmo-cli " VARMO_VERSION "\n"));
}

}  // namespace
}  // namespace varmo::test

namespace varmo::test {

// The clock's answer carries no true check value: read and checked alike,
// while the header with a spoilt one is refused.
TEST_F(CliTest, TheClockIsReadWhateverItsCheckCharacters)
{
    StartPrinter({QStringLiteral("--bad-checksum")});
    const CliResult clock = Cli({QStringLiteral("clock")});
    EXPECT_EQ(clock.exitCode, 0) << clock.err.toStdString();
    EXPECT_TRUE(clock.out.contains(QStringLiteral("Aktualny czas: "))) << clock.out.toStdString();
    const CliResult header = Cli({QStringLiteral("header")});
    EXPECT_EQ(header.exitCode, 1);
    EXPECT_TRUE(header.err.contains(QStringLiteral("Błędna suma kontrolna odpowiedzi")));
    const CliResult check = Cli({QStringLiteral("--json"), QStringLiteral("check")});
    EXPECT_TRUE(check.out.contains(QStringLiteral("\"differenceSeconds\""))) << check.out.toStdString();
}

}  // namespace varmo::test
