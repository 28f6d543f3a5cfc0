// varmo-cli and what it reads and writes beside the line: a script or a
// settings file that is no regular file, a text report on a disk without
// room, and the printer's control bytes on the way to a terminal.
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "cli/Failure.h"
#include "cli/Script.h"
#include "tests/cli/CliFixture.h"
#include "tests/console/NotAFile.h"
#include "tests/console/SmallTmpfs.h"

namespace varmo::test {
namespace {

std::string contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
}

void writeOld(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("the visit before\n");
}

// What a terminal would act on: a byte below 0x20 other than LF, DEL, or a
// C1 control (U+0080 to U+009F); the first one found, or -1.
int firstControl(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n') || (u >= 0x7F && u <= 0x9F))
            return u;
    }
    return -1;
}

const char* englishKind(const NotAFile& file)
{
    const std::string what = file.what;
    return what == "fifo"     ? "a pipe (FIFO), not a regular file"
           : what == "folder" ? "a folder, not a file"
                              : "a device, not a regular file";
}

}  // namespace

TEST_F(CliTest, AScriptThatIsNoRegularFileIsRefusedAtOnceWithExit2)
{
    for (const NotAFile& file : MakeNotAFiles(dir_)) {
        SCOPED_TRACE(file.what);
        FifoWatchdog watchdog(file.path, 5000);
        const CliResult result = cli_.Run({"--port", "/nonexistent/tty", "run", file.path});
        EXPECT_FALSE(watchdog.Stop()) << "varmo-cli waited on the FIFO";
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, QStringLiteral("varmo-cli: %1: %2\n").arg(file.path, englishKind(file)));
        EXPECT_TRUE(result.out.isEmpty());
    }
}

TEST_F(CliTest, ASettingsFileThatIsNoRegularFileIsNamedAndTheDefaultsApply)
{
    StartPrinter();
    const QString settings = cli_.SettingsFile();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settings).absolutePath()));
    ASSERT_EQ(mkfifo(settings.toLocal8Bit().constData(), 0600), 0);
    FifoWatchdog watchdog(settings, 5000);
    const CliResult result = Cli({"header"});
    EXPECT_FALSE(watchdog.Stop()) << "varmo-cli waited on the settings FIFO";
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.err, QStringLiteral("varmo-cli: Nie można otworzyć pliku ustawień „%1”: to "
                                         "potok (FIFO), a nie zwykły plik; program użyje ustawień "
                                         "domyślnych i nie zapamięta zmian\n")
                              .arg(settings));
    EXPECT_TRUE(result.out.contains(QStringLiteral("SKLEP TESTOWY")));
}

// A stored value that is a list is no setting varmo-cli can use: a settings
// problem, with an exit status of its own (never 1, the printer's refusal).
TEST_F(CliTest, ASettingOfAnotherTypeIsASettingsProblemWithExit4)
{
    StartPrinter();
    const QString settings = cli_.SettingsFile();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settings).absolutePath()));
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\nbaud=9600, 19200\n");
    file.close();
    const CliResult result = Cli({"header"});
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_EQ(result.err, QStringLiteral("varmo-cli: błąd ustawień: Invalid data type for 'baud'\n"));
    EXPECT_TRUE(result.out.isEmpty());
}

// The run reads the file again, a line at a time, and gets the lines it
// checked; a file that changed size between the two is refused.
TEST_F(CliTest, AScriptIsCheckedWholeThenReadAgainLineByLine)
{
    // A byte order mark first, as some editors write.
    const QString path = Script(QChar(0xFEFF) + QStringLiteral("header\r\n# komentarz\n\n  wait 5\r\n"
                                                               "expect clock\n"));
    cli::CheckedScript script = cli::ReadScript(path);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        script.Rewind();
        std::vector<std::pair<int, std::string>> lines;
        cli::ScriptLine line;
        while (script.Next(line))
            lines.emplace_back(line.number, line.text);
        EXPECT_EQ(lines, (std::vector<std::pair<int, std::string>>{
                             {1, "header"}, {4, "wait 5"}, {5, "expect clock"}}));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("enq\n");
    file.close();
    try {
        script.Rewind();
        FAIL() << "a changed script was run";
    } catch (const cli::CliFailure& failure) {
        EXPECT_EQ(failure.Code(), cli::ExitCode::Usage);
        EXPECT_EQ(std::string(failure.what()),
                  path.toStdString() + ": the script changed while it was checked");
    }
}

// ulimit -f as the issue saw it: the report cut short or empty, exit 0. Now
// exit 1, the reason on standard error, and the old report as it was.
TEST_F(CliTest, ATextReportOverTheFileSizeLimitLeavesTheOldOneAndExits1)
{
    StartPrinter();
    const QString report = dir_.filePath(QStringLiteral("r.txt"));
    ASSERT_EQ(Cli({"check", "--no-book", "--text", report}).exitCode, 0);
    const auto size = static_cast<rlim_t>(QFileInfo(report).size());
    ASSERT_GT(size, 1024u);
    // Room as ulimit -f 1 leaves, and for all but the last byte. (With none
    // at all the port's lock file cannot be written, and the port stays shut.)
    for (const rlim_t room : {rlim_t{1024}, size - 1}) {
        SCOPED_TRACE(room);
        writeOld(report);
        cli_.SetChildSetup([room] {
            // As a shell's ulimit leaves it: the signal at its default.
            signal(SIGXFSZ, SIG_DFL);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = room;
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        // (Nor can the book grow past the limit: the report alone, without
        // the visit's part, as it was measured.)
        const CliResult result = Cli({"check", "--no-book", "--text", report});
        cli_.SetChildSetup({});
        EXPECT_EQ(result.exitCode, 1);
        // (Qt may say a word of its own on the offscreen platform first.)
        EXPECT_TRUE(result.err.endsWith(QStringLiteral("varmo-cli: check: Błąd zapisu pliku %1: %2\n")
                                            .arg(report, QString::fromLocal8Bit(std::strerror(EFBIG)))))
            << result.err.toStdString();
        EXPECT_EQ(contents(report), "the visit before\n");
        EXPECT_EQ(QDir(dir_.path()).entryList({"r.txt*"}, QDir::Files | QDir::Hidden),
                  QStringList{"r.txt"});
    }
}

TEST_F(CliTest, ATextReportOntoAFullDiskLeavesTheOldOneAndExits1)
{
    SmallTmpfs disk;
    if (!disk.Unavailable().empty())
        GTEST_SKIP() << disk.Unavailable();
    StartPrinter();
    const QString report = disk.path("r.txt");
    writeOld(report);
    ASSERT_TRUE(disk.FillUp());
    const CliResult result = Cli({"check", "--text", report});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.endsWith(QStringLiteral("varmo-cli: check: Błąd zapisu pliku %1: %2\n")
                                        .arg(report, QString::fromLocal8Bit(std::strerror(ENOSPC)))))
        << result.err.toStdString();
    EXPECT_EQ(contents(report), "the visit before\n");
    EXPECT_EQ(QDir(disk.path("")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"filler", "r.txt"}));
}

// A header that would clear the screen, retitle the window, ring the bell
// and start a C1 sequence: read by header and by check, as text and as JSON.
TEST_F(CliTest, ControlBytesFromThePrinterReachTheTerminalOnlyEscaped)
{
    // Windows-1250 on the line, so that 0x90 reaches varmo-cli as it is (a
    // Mazovia line would read it as the letter Ę).
    StartPrinter({"--codepage", "win", "--raw-header",
                  "<ESC>[2J<ESC>]0;przejęte<$07>|<$90>x<$7F>y<$1B>[31m|zwykła linia"});
    const struct {
        QStringList arguments;
        QStringList shown;  // what must be there, escaped
    } cases[] = {
        {{"header"}, {"<ESC>[2J<ESC>]0;przejęte<$07>", "<$90>x<$7F>y<ESC>[31m", "zwykła linia"}},
        {{"--json", "header"}, {"<ESC>[2J<ESC>]0;przejęte<$07>", "<$90>x<$7F>y<ESC>[31m"}},
        {{"check"}, {"<ESC>[2J<ESC>]0;przejęte<$07>", "<$90>x<$7F>y<ESC>[31m", "zwykła linia"}},
        {{"--json", "check"}, {"<ESC>[2J<ESC>]0;przejęte<$07>", "<$90>x<$7F>y<ESC>[31m"}},
        {{"--json", "run", Script("expect header\n")}, {"<ESC>[2J<ESC>]0;przejęte<$07>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliResult result = Cli(QStringList{"--codepage", "win"} + c.arguments);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(firstControl(result.out), -1) << result.out.toStdString();
        EXPECT_EQ(firstControl(result.err), -1) << result.err.toStdString();
        for (const QString& shown : c.shown)
            EXPECT_TRUE(result.out.contains(shown)) << shown.toStdString() << "\n"
                                                    << result.out.toStdString();
    }
}

}  // namespace varmo::test
