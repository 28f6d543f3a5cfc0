// The console and the virtual printer over a real pseudo-terminal: commands
// from the menu go out on "Wykonaj", answers come back and are described.
#include <QFile>
#include <QLabel>

#include "commands/ReadCommands.h"
#include "commands/SettingCommands.h"
#include "commands/UserCommand.h"
#include "protocol/Escaped.h"
#include "protocol/Frame.h"
#include "protocol/Mazovia.h"
#include "tests/e2e/E2EHarness.h"

namespace varmo::test {
namespace {

using ConsoleAndPrinterTest = ConsoleWithPrinter;

TEST_F(ConsoleAndPrinterTest, EveryReadEntryIsAnsweredAndDescribedInPolish)
{
    const struct {
        void (TFMain::*entry)();
        QString firstLine;
        int lines;  // at least
    } cases[] = {
        {&TFMain::Nagwek2Click, "Odczytany nagłówek:", 3},
        {&TFMain::Kodbdu1Click, "Kod ostatniego błędu: 0", 2},
        {&TFMain::Informacjekasowe1Click, "Informacje kasowe:", 16},
        {&TFMain::Informacjekasoweaktualnatransakcja1Click,
         "Informacje kasowe - aktualna transakcja:", 16},
    };
    StartPrinter();
    TFMain& main = Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstLine.toStdString());
        (main.*c.entry)();
        ASSERT_TRUE(SendAndAwaitAnswer(main));
        EXPECT_TRUE(main.RERcv->toPlainText().startsWith(QStringLiteral("<ESC>P1#")));
        const QStringList lines = DescriptionLines(main);
        EXPECT_EQ(lines.value(0), c.firstLine);
        EXPECT_GE(lines.size(), c.lines);
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ConsoleAndPrinterTest, EnqAndDleShowThePrintersState)
{
    const struct {
        QStringList options;
        bool fiscal;
        QString fsk, onl, pe;
    } cases[] = {
        {{}, false, "Niefiskalna", "On-line", "Jest papier"},
        {{"--fiscal"}, true, "Fiskalna", "On-line", "Jest papier"},
        {{"--no-paper"}, false, "Niefiskalna", "On-line", "Brak papieru"},
        {{"--offline"}, false, "Niefiskalna", "Off-line", "Jest papier"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        StartPrinter(c.options);
        TFMain& main = Start();
        main.Button3Click();
        main.Button4Click();
        EXPECT_EQ(main.Fiscal, c.fiscal);
        EXPECT_EQ(main.LbFSK->text(), c.fsk);
        EXPECT_EQ(main.LbCMD->text(), QStringLiteral("Ostatni rozkaz poprawnie"));
        EXPECT_EQ(main.LbPAR->text(), QStringLiteral("Poza trybem transakcji"));
        EXPECT_EQ(main.LbONL->text(), c.onl);
        EXPECT_EQ(main.LbPE->text(), c.pe);
        EXPECT_EQ(main.LbERR->text(), QStringLiteral("Mechanizm drukujący OK"));
        EXPECT_TRUE(prompts.shown.empty());
        Stop();
    }
}

TEST_F(ConsoleAndPrinterTest, PolishLettersTravelInThePrintersCodePageAndShowInWindows1250)
{
    // "Łódź" as the header, typed as a user sequence body.
    const std::string header = "\xA3\xF3\x64\x9F\r";
    const struct {
        const char* console;
        const char* printer;
    } cases[] = {{"maz", "maz"}, {"win", "win"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.console);
        StartPrinter({"--codepage", c.printer});
        StoreRaw(QStringLiteral("plStd"), QString::fromLatin1(c.console));
        TFMain& main = Start();

        main.SubmitCommand(TCmdUser::FromBody("0$f" + header + '\xFF'));
        // The frame view shows the letters as they are, whatever the wire.
        EXPECT_TRUE(main.RESend->toPlainText().startsWith(QStringLiteral("<ESC>P0$fŁódź<CR><FF>")));
        main.SBSendClick();

        // Read back: the printer stored what it decoded from the wire and
        // answers in its own code page; the console reads it in its own.
        main.Nagwek2Click();
        ASSERT_TRUE(SendAndAwaitAnswer(main));
        auto* read = dynamic_cast<TCmdReadHeader*>(main.CurrentCommand());
        ASSERT_NE(read, nullptr);
        ASSERT_TRUE(read->Accepted());
        EXPECT_EQ(read->HeaderText(), header);
        std::string onWire = header;
        if (std::string(c.printer) == "maz")
            WindowsToMazovia(onWire);
        // The frame view shows the bytes as they came.
        EXPECT_EQ(main.RERcv->toPlainText().toStdString(),
                  EscapedText(FrameOf("1#U" + onWire + "\xFF")));
        EXPECT_TRUE(prompts.shown.empty());
        Stop();
    }
}

TEST_F(ConsoleAndPrinterTest, AnAnswerToASettingCommandLeavesTheDescriptionAlone)
{
    StartPrinter();
    TFMain& main = Start();
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    const QString described = main.MemoR->toPlainText();
    ASSERT_TRUE(described.startsWith(QStringLiteral("Odczytany nagłówek:")));

    // Error mode 3: the printer sends the error number by itself.
    main.SubmitCommand(std::make_unique<TCmdSetErrMode>(3));
    main.SBSendClick();
    // A header line of 49 characters is refused.
    main.SubmitCommand(std::make_unique<TCmdSetHeader>(std::string(49, 'X') + "\r"));
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("<ESC>P1#E12<ESC>\\"));
    EXPECT_EQ(main.MemoR->toPlainText(), described);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ConsoleAndPrinterTest, ACommandFileSavedAndOpenedGoesOutAsTheSameFrame)
{
    StartPrinter();
    TFMain& main = Start();
    main.Informacjekasowe1Click();
    const std::string raw = main.CurrentCommand()->GetRawFrame();
    const QString shown = main.RESend->toPlainText();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    const QString answer = main.RERcv->toPlainText();
    const QString described = main.MemoR->toPlainText();

    prompts.fileAnswers = {path(QStringLiteral("cash.txt")), path(QStringLiteral("cash.txt"))};
    main.SBSaveCmdClick();
    main.Nagwek2Click();
    main.SBOpenCmdClick();
    EXPECT_EQ(main.CurrentCommand()->GetRawFrame(), raw);
    EXPECT_EQ(main.RESend->toPlainText(), shown);

    // The same question gets the same answer; a loaded sequence expects no
    // answer of its own, so the description stays.
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(main.RERcv->toPlainText(), answer);
    EXPECT_EQ(main.MemoR->toPlainText(), described);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ConsoleAndPrinterTest, AnswersOverAnUnevenLine)
{
    const struct {
        QStringList options;
        QString firstLine;
    } cases[] = {
        // Late, in small pieces, after noise: still one answer, understood.
        {{"--chunk", "3", "--gap", "20", "--noise", "--delay", "100"}, "Odczytany nagłówek:"},
        {{"--bad-checksum"}, "Niezrozumiała sekwencja"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        StartPrinter(c.options);
        TFMain& main = Start();
        main.Nagwek2Click();
        ASSERT_TRUE(SendAndAwaitAnswer(main));
        EXPECT_EQ(DescriptionLines(main).value(0), c.firstLine);
        EXPECT_TRUE(prompts.shown.empty());
        Stop();
    }
}

TEST_F(ConsoleAndPrinterTest, APrinterThatWentSilent)
{
    StartPrinter({"--silent"});
    TFMain& main = Start();
    main.Button3Click();
    main.Button4Click();
    const std::vector<Shown> expected{
        Message(QStringLiteral("Brak odpowiedzi"), QStringLiteral("Odczyt statusu drukarki")),
        Message(QStringLiteral("Brak odpowiedzi"), QStringLiteral("COM")),
    };
    EXPECT_EQ(prompts.shown, expected);
    EXPECT_FALSE(main.LbFSK->isEnabled());
    EXPECT_TRUE(main.Fiscal);

    // A command goes out and nothing comes back; the console stays usable.
    main.Nagwek2Click();
    EXPECT_FALSE(SendAndAwaitAnswer(main, 1500));
    EXPECT_EQ(main.MemoR->toPlainText(), QString());
    EXPECT_EQ(prompts.shown.size(), 2u);
}

TEST_F(ConsoleAndPrinterTest, TheEnvironmentPicksThePortsDevice)
{
    StartPrinter();
    // The setting says the printer; the environment says a device that is not
    // there, and the environment wins.
    qputenv("VARMO_COM1", path(QStringLiteral("gone")).toLocal8Bit());
    TFMain& main = Start();
    main.Nagwek2Click();
    main.SBSendClick();
    EXPECT_TRUE(CannotOpen(prompts.shown, QStringLiteral("COM1 (") + path(QStringLiteral("gone"))));
    EXPECT_FALSE(main.ComPort.Connected());

    qputenv("VARMO_COM1", printer_->path().toLocal8Bit());
    prompts.shown.clear();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(DescriptionLines(main).value(0), QStringLiteral("Odczytany nagłówek:"));
    qunsetenv("VARMO_COM1");
}

}  // namespace
}  // namespace varmo::test
