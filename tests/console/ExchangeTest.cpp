// The command exchange of the main window: answers attributed to the current
// command, sending through a real serial port on a pseudo-terminal, and the
// command and answer files.
#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>

#include "commands/SettingCommands.h"
#include "commands/TransactionCommands.h"
#include "commands/UserCommand.h"
#include "console/files/FileIO.h"
#include "protocol/Exception.h"
#include "protocol/Frame.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/FileSizeLimit.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

using ExchangeTest = ConsoleTest;

// What the packet assembler hands over: the frame without ESC P and ESC \.
std::string Inner(const std::string& body) { return body + FrameChecksum(body); }

const std::string kHeaderAnswer = std::string("1#UABC\rDEF") + '\xFF';

TEST_F(ExchangeTest, AnswersAreDescribedByTheCommandThatExpectsThem)
{
    TFMain& main = Start();
    // Before any command: the frame is shown, nothing describes it.
    main.ComDataPacketPacket(Inner("1#E0"));
    EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("<ESC>P1#E098<ESC>\\"));
    EXPECT_EQ(main.MemoR->toPlainText(), QString());

    main.Nagwek2Click();
    main.ComDataPacketPacket(Inner(kHeaderAnswer));
    EXPECT_EQ(main.MemoR->toPlainText(), QStringLiteral("Odczytany nagłówek:\nABC\nDEF"));
    EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("<ESC>P1#UABC<CR>DEF<FF>4D<ESC>\\"));

    // A wrong check value: shown, but not understood.
    main.ComDataPacketPacket(kHeaderAnswer + "00");
    EXPECT_EQ(main.MemoR->toPlainText(), QStringLiteral("Niezrozumiała sekwencja"));
    EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("<ESC>P1#UABC<CR>DEF<FF>00<ESC>\\"));

    // Polish letters of an answer are read in the console's code page; the
    // frame view shows the bytes as they came.
    main.ComDataPacketPacket(Inner(std::string("1#U\x9C\xA2\x64\xA6\r") + '\xFF'));
    EXPECT_EQ(main.MemoR->toPlainText(), QStringLiteral("Odczytany nagłówek:\nŁódź"));
    EXPECT_TRUE(main.RERcv->toPlainText().startsWith(QStringLiteral("<ESC>P1#Uś˘d¦<CR><FF>")));
    main.Windows1Click();
    main.ComDataPacketPacket(Inner(std::string("1#U\xA3\xF3\x64\x9F\r") + '\xFF'));
    EXPECT_EQ(main.MemoR->toPlainText(), QStringLiteral("Odczytany nagłówek:\nŁódź"));
    EXPECT_TRUE(main.RERcv->toPlainText().startsWith(QStringLiteral("<ESC>P1#UŁódź<CR><FF>")));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ExchangeTest, AnAnswerAfterACommandWithoutOneLeavesTheDescriptionAlone)
{
    TFMain& main = Start();
    main.Nagwek2Click();
    main.ComDataPacketPacket(Inner(kHeaderAnswer));
    const QString described = main.MemoR->toPlainText();

    main.Anulowanietransakcji1Click();
    main.ComDataPacketPacket(Inner("1#E21"));
    EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("<ESC>P1#E21AB<ESC>\\"));
    EXPECT_EQ(main.MemoR->toPlainText(), described);
}

TEST_F(ExchangeTest, AnAnswerThatCannotBeDescribedIsAnErrorAndTheConsoleGoesOn)
{
    TFMain& main = Start();
    main.MemoR->setPlainText(QStringLiteral("stary opis"));
    main.Kodbdu1Click();
    // The error number is not a number: the command's own conversion fails.
    main.ComDataPacketPacket("1#E1x");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].error);
    EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("<ESC>P1#E1x<ESC>\\"));
    // No old description beside the new frame.
    EXPECT_EQ(main.MemoR->toPlainText(), QString());

    main.ComDataPacketPacket("1#E12");
    EXPECT_EQ(main.MemoR->toPlainText().section('\n', 0, 0),
              QStringLiteral("Kod ostatniego błędu: 12"));
    EXPECT_EQ(prompts.shown.size(), 1u);
}

// A command whose body cannot be built, as a setting with a field out of range.
class UnbuildableCommand : public TCommand {
public:
    std::string GetBody() const override { throw Exception("Nieprawdłowy format"); }
};

TEST_F(ExchangeTest, ACommandThatCannotBeFramedIsCurrentButShowsNothing)
{
    TFMain& main = Start();
    main.Nagwek2Click();
    main.ConfirmOnPrinter = true;
    EXPECT_THROW(main.SubmitCommand(std::make_unique<UnbuildableCommand>()), Exception);
    EXPECT_NE(dynamic_cast<UnbuildableCommand*>(main.CurrentCommand()), nullptr);
    EXPECT_EQ(main.RESend->toPlainText(), QStringLiteral("<ESC>P#uA9<ESC>\\"));
    EXPECT_EQ(main.Memo->toPlainText(), QStringLiteral("Odczyt nagłówka"));

    // Sending it raises the same error, in the error box this time.
    PtyPrinter printer;
    PointCom1At(printer.path());
    main.SBSendClick();
    EXPECT_EQ(prompts.shown, std::vector<Shown>{ErrorBox(QStringLiteral("Nieprawdłowy format."))});
    Idle(100);
    EXPECT_EQ(printer.received(), "");
}

TEST_F(ExchangeTest, ADescriptionThatFailsLeavesNoOldTextBesideTheNewFrame)
{
    TFMain& main = Start();
    main.SubmitCommand(std::make_unique<TCmdSetNIP>(true, "1112223332"));
    ASSERT_TRUE(main.Memo->toPlainText().contains(QStringLiteral("1112223332")));
    // An inspection in 2031: its frame is built, its description refused.
    EXPECT_THROW(main.SubmitCommand(std::make_unique<TCmdSetInspectionDate>(31, 1, 1, "X")),
                 Exception);
    EXPECT_TRUE(main.RESend->toPlainText().startsWith(QStringLiteral("<ESC>P0;31;1;1$oX<CR>")));
    EXPECT_EQ(main.Memo->toPlainText(), QString());
}

TEST_F(ExchangeTest, SendingFramesInTheCodePageInForceAtThatMoment)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFMain& main = Start();
    // "Łódź" as a body typed by the operator.
    const std::string body = "\xA3\xF3\x64\x9F";
    main.SubmitCommand(TCmdUser::FromBody(body));
    const QString shown = main.RESend->toPlainText();
    EXPECT_EQ(shown.toStdString(), "<ESC>PŁódź" + FrameChecksum(body) + "<ESC>\\");

    main.SBSendClick();
    std::string mazovia = "\x9C\xA2\x64\xA6";
    const std::string sentMaz = FrameOf(mazovia);
    ASSERT_TRUE(printer.waitForReceived(sentMaz.size()));
    EXPECT_EQ(printer.received(), sentMaz);

    main.Windows1Click();
    printer.clearReceived();
    main.SBSendClick();
    ASSERT_TRUE(printer.waitForReceived(body.size() + 6));
    EXPECT_EQ(printer.received(), FrameOf(body));
    // The view was not redrawn by the switch.
    EXPECT_EQ(main.RESend->toPlainText(), shown);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ExchangeTest, TheReminderFollowsEverySendWhileConfirmationIsNeeded)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFMain& main = Start();
    main.Anulowanietransakcji1Click();
    const std::string frame = main.CurrentCommand()->GetFrame();
    main.ConfirmOnPrinter = true;  // as the daily-report dialog leaves it on a fiscal printer
    main.SBSendClick();
    main.SBSendClick();
    ASSERT_TRUE(printer.waitForReceived(2 * frame.size()));
    EXPECT_EQ(printer.received(), frame + frame);
    const Shown reminder = Message(QStringLiteral("Proszę potwierdzić operację na drukarce"),
                                   QStringLiteral("Uwaga"));
    EXPECT_EQ(prompts.shown, (std::vector<Shown>{reminder, reminder}));
}

TEST_F(ExchangeTest, APortThatCannotBeOpenedSendsNothingAndSaysSo)
{
    TFMain& main = Start();  // COM1 leads nowhere
    main.Nagwek2Click();
    main.RERcv->setPlainText(QStringLiteral("x"));
    for (void (TFMain::*handler)() : {&TFMain::SBSendClick, &TFMain::Button3Click,
                                       &TFMain::Button4Click, &TFMain::Button5Click}) {
        prompts.shown.clear();
        (main.*handler)();
        EXPECT_TRUE(CannotOpen(prompts.shown, QStringLiteral("COM1"))) << prompts.shown.size();
    }
    EXPECT_FALSE(main.EnsurePortOpen());
    EXPECT_EQ(main.RESend->toPlainText(), QStringLiteral("<ESC>P#uA9<ESC>\\"));
    EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("x"));
    EXPECT_EQ(main.CommandHistory.Count(), 1u);
}

TEST_F(ExchangeTest, AnAnswerArrivingOnThePortIsDescribed)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFMain& main = Start();
    main.Nagwek2Click();
    main.SBSendClick();
    ASSERT_TRUE(printer.waitForReceived(6));
    // Noise, then the answer in two pieces.
    printer.send("\x06zz\x1BP1#UAB");
    Idle(50);
    printer.send("C\r\xFF" + FrameChecksum(std::string("1#UABC\r\xFF")) + "\x1B\\");
    ASSERT_TRUE(WaitFor([&] { return !main.MemoR->toPlainText().isEmpty(); }));
    EXPECT_EQ(main.MemoR->toPlainText(), QStringLiteral("Odczytany nagłówek:\nABC"));
}

TEST_F(ExchangeTest, ALateAnswerIsReadByTheCommandThatWasSentNotByTheCurrentOne)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFMain& main = Start();
    main.Exchange.SetAnswerWaitMs(300);
    main.Nagwek2Click();
    main.SBSendClick();  // the printer is silent: "Brak odpowiedzi"
    main.Kodbdu1Click();
    printer.send(FrameOf(kHeaderAnswer));
    ASSERT_TRUE(WaitFor([&] { return !main.MemoR->toPlainText().isEmpty(); }));
    EXPECT_EQ(main.MemoR->toPlainText(), QStringLiteral("Odczytany nagłówek:\nABC\nDEF"));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ExchangeTest, APrinterThatGoesAwayIsReportedOnceAndTheConsoleCarriesOn)
{
    auto printer = std::make_unique<PtyPrinter>();
    PointCom1At(printer->path());
    TFMain& main = Start();
    ASSERT_TRUE(main.EnsurePortOpen());
    printer.reset();  // the cable is pulled while nobody talks
    ASSERT_TRUE(WaitFor([&] { return !prompts.shown.empty(); }));
    Idle(200);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].error);
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Utracono połączenie z drukarką na COM1 (urządzenie odłączone). Varmo "
                             "podejmie ją sama po ponownym podłączeniu.\nKomunikat systemu: "
                             "błąd wejścia/wyjścia (błąd %1)")
                  .arg(EIO));
    EXPECT_FALSE(main.ComPort.Connected());
    EXPECT_EQ(main.findChild<QLabel*>(QStringLiteral("LbState"))->text(),
              QStringLiteral("brak urządzenia"));
    // (Reopening is not tried here: the freed terminal's name may already
    // belong to another test running alongside.)
    main.Nagwek2Click();
    EXPECT_EQ(main.Memo->toPlainText(), QStringLiteral("Odczyt nagłówka"));
}

TEST_F(ExchangeTest, ACablePulledAsWykonajWritesIsToldInOneBox)
{
    auto printer = std::make_unique<PtyPrinter>();
    PointCom1At(printer->path());
    TFMain& main = Start();
    ASSERT_TRUE(main.EnsurePortOpen());
    main.Nagwek2Click();
    printer.reset();  // gone before the port has heard of it: the write fails
    main.SBSendClick();
    ASSERT_TRUE(WaitFor([&] { return !prompts.shown.empty(); }));
    Idle(200);
    ASSERT_EQ(prompts.shown.size(), 1u) << prompts.shown.back();
    EXPECT_TRUE(prompts.shown[0].error);
    EXPECT_FALSE(main.ComPort.Connected());
    EXPECT_TRUE(main.Exchange.WatchingForDevice());
}

class CommandFileTest : public ConsoleTest {
protected:
    std::string FileBytes(const QString& name) { return ReadWholeFile(path(name)); }
};

TEST_F(CommandFileTest, SaveThenOpenGivesTheSameFrame)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    TFMain& main = Start();
    const std::string body = "0$f\xA3\xF3\x64\x9F\r\xFF";  // with Polish letters
    main.SubmitCommand(TCmdUser::FromBody(body));
    const std::string raw = main.CurrentCommand()->GetRawFrame();

    prompts.fileAnswers = {path("cmd.txt")};
    main.SBSaveCmdClick();
    EXPECT_EQ(FileBytes("cmd.txt"), raw + "\r\n");
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_TRUE(prompts.fileDialogs[0].save);
    EXPECT_EQ(prompts.fileDialogs[0].defaultExt, QStringLiteral("txt"));
    EXPECT_TRUE(prompts.fileDialogs[0].filter.startsWith(QStringLiteral("Plik tekstowy (*.txt)")));

    main.Nagwek2Click();
    prompts.fileAnswers = {path("cmd.txt")};
    main.SBOpenCmdClick();
    auto* opened = dynamic_cast<TCmdUser*>(main.CurrentCommand());
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->IsSequence());
    EXPECT_EQ(opened->GetRawFrame(), raw);
    EXPECT_EQ(main.Memo->toPlainText(), QStringLiteral("Sekwencja użytkownika"));
    EXPECT_TRUE(main.RESend->toPlainText().contains(QStringLiteral("Łódź")));

    // Sent in Mazovia, with the check value as it was saved.
    main.SBSendClick();
    std::string sent = raw;
    sent.replace(sent.find('\xA3'), 1, "\x9C");
    sent.replace(sent.find('\xF3'), 1, "\xA2");
    sent.replace(sent.find('\x9F'), 1, "\xA6");
    ASSERT_TRUE(printer.waitForReceived(sent.size()));
    EXPECT_EQ(printer.received(), sent);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(CommandFileTest, OpeningDropsTheLastTwoBytesWhateverTheyAre)
{
    const struct {
        std::string file;
        std::string frame;
    } cases[] = {
        {"\x1BP#uA9\x1B\\\r\n", "\x1BP#uA9\x1B\\"},
        {"\x1BP#uA9\x1B\\", "\x1BP#uA9"},
        {"ab", ""},
        {"a", ""},
        {"", ""},
    };
    TFMain& main = Start();
    for (const auto& c : cases) {
        WriteWholeFile(path("in.txt"), c.file);
        prompts.fileAnswers = {path("in.txt")};
        main.SBOpenCmdClick();
        ASSERT_NE(main.CurrentCommand(), nullptr);
        EXPECT_EQ(main.CurrentCommand()->GetRawFrame(), c.frame);
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(CommandFileTest, AFileThatCannotBeReadChangesNothing)
{
    TFMain& main = Start();
    main.Nagwek2Click();
    main.MemoR->setPlainText(QStringLiteral("opis"));
    prompts.fileAnswers = {path("missing.txt")};
    main.SBOpenCmdClick();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].error);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("missing.txt")));
    EXPECT_EQ(main.CommandHistory.Count(), 1u);
    EXPECT_EQ(main.RESend->toPlainText(), QStringLiteral("<ESC>P#uA9<ESC>\\"));
    EXPECT_EQ(main.Memo->toPlainText(), QStringLiteral("Odczyt nagłówka"));

    // A cancelled dialog is nothing at all.
    main.SBOpenCmdClick();
    main.SBSaveCmdClick();
    main.SBSaveAnsClick();
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(main.CommandHistory.Count(), 1u);
}

TEST_F(CommandFileTest, NothingToSaveBeforeTheFirstCommand)
{
    TFMain& main = Start();
    prompts.fileAnswers = {path("cmd.txt")};
    main.SBSaveCmdClick();
    EXPECT_TRUE(prompts.fileDialogs.empty());
    EXPECT_FALSE(QFile::exists(path("cmd.txt")));
}

TEST_F(CommandFileTest, TheAnswerIsSavedAsItIsShown)
{
    TFMain& main = Start();
    main.ComDataPacketPacket(Inner(std::string("1#U\xA3\xF3\x64\x9F\r") + '\xFF'));
    prompts.fileAnswers = {path("answer.txt")};
    main.SBSaveAnsClick();
    EXPECT_EQ(FileBytes("answer.txt"),
              "<ESC>P1#U\xA3\xF3\x64\x9F<CR><FF>" +
                  FrameChecksum(std::string("1#U\xA3\xF3\x64\x9F\r\xFF")) + "<ESC>\\\r\n");
}

TEST_F(CommandFileTest, AFailedSaveLeavesTheOldFileAndSaysSo)
{
    TFMain& main = Start();
    main.Nagwek2Click();
    prompts.fileAnswers = {path("no-such-dir/cmd.txt")};
    main.SBSaveCmdClick();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].error);
    EXPECT_FALSE(QFile::exists(path("no-such-dir/cmd.txt")));

    // The disk is full: both "Zapisz" buttons say so and keep the old file.
    main.ComDataPacketPacket(Inner(kHeaderAnswer));
    const std::string old = "old\r\n";
    for (const bool answerSide : {false, true}) {
        SCOPED_TRACE(answerSide ? "answer" : "command");
        prompts.shown.clear();
        WriteWholeFile(path("saved.txt"), old);
        prompts.fileAnswers = {path("saved.txt")};
        {
            FileSizeLimit full(2);
            ASSERT_TRUE(full.active());
            answerSide ? main.SBSaveAnsClick() : main.SBSaveCmdClick();
        }
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0],
                  ErrorBox(QStringLiteral("Błąd zapisu pliku ") +
                           QDir::toNativeSeparators(path("saved.txt")) + QStringLiteral(": ") +
                           QString::fromLocal8Bit(std::strerror(EFBIG)) + QLatin1Char('.')));
        EXPECT_EQ(FileBytes("saved.txt"), old);
    }
}

TEST_F(CommandFileTest, AnOversizedFileIsRefusedAndChangesNothing)
{
    TFMain& main = Start();
    main.Nagwek2Click();
    WriteWholeFile(path("big.txt"), std::string(kMaxReadFileSize + 1, 'x'));
    prompts.fileAnswers = {path("big.txt")};
    main.SBOpenCmdClick();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0],
              ErrorBox(QStringLiteral("Plik ") + QDir::toNativeSeparators(path("big.txt")) +
                       QStringLiteral(" jest za duży (65537 bajtów, najwyżej 65536)")));
    EXPECT_EQ(main.CommandHistory.Count(), 1u);
    EXPECT_EQ(main.Memo->toPlainText(), QStringLiteral("Odczyt nagłówka"));

    // Right at the limit it is a command like any other.
    WriteWholeFile(path("big.txt"), std::string(kMaxReadFileSize, 'x'));
    prompts.fileAnswers = {path("big.txt")};
    main.SBOpenCmdClick();
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(main.CommandHistory.Count(), 2u);
    EXPECT_EQ(main.CurrentCommand()->GetRawFrame(), std::string(kMaxReadFileSize - 2, 'x'));
}

}  // namespace
}  // namespace varmo::test
