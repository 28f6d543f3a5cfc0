// Start-up and exit: what the main window and the port dialog make of the
// stored settings, and what goes back to the store.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStringList>

#include "console/widgets/RadioGroup.h"
#include "console/dialogs/settings/TFCOM.h"
#include "tests/console/ConsoleHarness.h"

namespace varmo::test {
namespace {

using StartupTest = ConsoleTest;

QString SelectedBaudItem(const TFCOM& dialog)
{
    const int index = dialog.RGBaud->ItemIndex();
    return index < 0 ? QString() : dialog.RGBaud->Items().at(index);
}

TEST_F(StartupTest, FirstRunWithNothingStored)
{
    TFMain& main = Start();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Varmo - Ferwen s.c."));
    EXPECT_EQ(main.CodePage, QStringLiteral("maz"));
    EXPECT_EQ(ConsoleCodePage(), "maz");
    EXPECT_TRUE(main.Mazovia1->isChecked());
    EXPECT_FALSE(main.Windows1->isChecked());
    EXPECT_EQ(main.ComPort.Port(), QStringLiteral("COM1"));
    EXPECT_EQ(main.ComPort.CustomBaudRate(), 9600);
    EXPECT_FALSE(main.ComPort.Connected());
    EXPECT_FALSE(main.NIPFiskalizacja1->isEnabled());
    EXPECT_FALSE(main.Dataprzegldu1->isEnabled());
    EXPECT_FALSE(main.Dowolnasekwencja1->isEnabled());
    EXPECT_EQ(main.Odblokujfunkcjeserwisowe1->text(), QStringLiteral("Odblokuj funkcje serwisowe"));
    EXPECT_TRUE(main.Fiscal);
    EXPECT_FALSE(main.ConfirmOnPrinter);
    EXPECT_EQ(main.CurrentCommand(), nullptr);
    EXPECT_EQ(main.ComDataPacket.StartString(), "\x1BP");
    EXPECT_EQ(main.ComDataPacket.StopString(), "\x1B\\");

    // The port dialog: COM1, the port the status line names, and 9600.
    TFCOM& dialog = *forms().FCOM;
    EXPECT_TRUE(dialog.RBCOM1->isChecked());
    EXPECT_EQ(dialog.EdCOM->text(), QStringLiteral("COM3"));
    EXPECT_FALSE(dialog.EdCOM->isEnabled());
    EXPECT_EQ(SelectedBaudItem(dialog), QStringLiteral("9600"));

    // "Wykonaj" with no command does nothing at all, not even try the port.
    main.SBSendClick();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(main.ComPort.Connected());
}

TEST_F(StartupTest, StoredValuesAsTheMainWindowAndThePortDialogReadThem)
{
    const struct {
        const char* baud;      // nullptr: not stored
        const char* com;
        int portBaud;
        QString portName;
        QString dialogBaud;
        QString dialogChoice;  // "COM1", "COM2" or the custom name
    } cases[] = {
        {nullptr, nullptr, 9600, "COM1", "9600", "COM1"},
        {"1200", "COM1", 1200, "COM1", "9600", "COM1"},
        {"19200", "COM2", 19200, "COM2", "19200", "COM2"},
        {"abc", "com1", 9600, "COM1", "9600", "com1"},
        {"", "", 9600, "COM1", "9600", "COM1"},
        {" 115200", "COM5", 115200, "COM5", "115200", "COM5"},
        {"+4800", "COM17", 4800, "COM1", "4800", "COM17"},
        {"96 00", "3", 9600, "COM3", "9600", "3"},
        {"99999999999", "LPT1", 9600, "COM1", "9600", "LPT1"},
        // No line runs at these.
        {"0", "COM2", 9600, "COM2", "9600", "COM2"},
        {"-9600", "COM1", 9600, "COM1", "9600", "COM1"},
        {" -0", "COM1", 9600, "COM1", "9600", "COM1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("baud=") + (c.baud ? c.baud : "(none)") +
                     " com=" + (c.com ? c.com : "(none)"));
        if (c.baud)
            StoreRaw(QStringLiteral("baud"), QString::fromLatin1(c.baud));
        if (c.com)
            StoreRaw(QStringLiteral("com"), QString::fromLatin1(c.com));

        TFMain& main = Start();
        EXPECT_EQ(main.ComPort.CustomBaudRate(), c.portBaud);
        EXPECT_EQ(main.ComPort.Port(), c.portName);

        TFCOM& dialog = *forms().FCOM;
        EXPECT_EQ(SelectedBaudItem(dialog), c.dialogBaud);
        if (c.dialogChoice == QLatin1String("COM1")) {
            EXPECT_TRUE(dialog.RBCOM1->isChecked());
        } else if (c.dialogChoice == QLatin1String("COM2")) {
            EXPECT_TRUE(dialog.RBCOM2->isChecked());
        } else {
            EXPECT_TRUE(dialog.RBCOMCustom->isChecked());
            EXPECT_EQ(dialog.EdCOM->text(), c.dialogChoice);
        }
        // The name field is for the custom choice only.
        EXPECT_EQ(dialog.EdCOM->isEnabled(), dialog.RBCOMCustom->isChecked());
        Stop();
        EXPECT_TRUE(prompts.shown.empty());
    }
}

TEST_F(StartupTest, TheCodePageComesBackAsItWasLeft)
{
    const struct {
        const char* stored;  // nullptr: not stored
        QString codePage;
        bool mazoviaChecked;
    } cases[] = {
        {nullptr, "maz", true},
        {"", "maz", true},
        {"maz", "maz", true},
        {"win", "win", false},
        {"MAZ", "MAZ", false},  // not "maz", so no conversion
        {"latin2", "latin2", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(none)");
        if (c.stored)
            StoreRaw(QStringLiteral("plStd"), QString::fromLatin1(c.stored));
        TFMain& main = Start();
        EXPECT_EQ(main.CodePage, c.codePage);
        EXPECT_EQ(ConsoleCodePage(), c.codePage.toStdString());
        EXPECT_EQ(main.Mazovia1->isChecked(), c.mazoviaChecked);
        EXPECT_EQ(main.Windows1->isChecked(), !c.mazoviaChecked);
        Stop();
        // Written back at exit as it was (an empty value as "maz").
        EXPECT_EQ(StoredRaw(QStringLiteral("plStd")).toString(), c.codePage);
    }
}

TEST_F(StartupTest, ChoosingWindowsSurvivesARestart)
{
    TFMain& first = Start();
    first.Windows1Click();
    EXPECT_EQ(first.CodePage, QStringLiteral("win"));
    EXPECT_EQ(ConsoleCodePage(), "win");
    EXPECT_TRUE(first.Windows1->isChecked());
    Stop();
    EXPECT_EQ(StoredRaw(QStringLiteral("plStd")).toString(), QStringLiteral("win"));

    TFMain& second = Start();
    EXPECT_TRUE(second.Windows1->isChecked());
    EXPECT_EQ(ConsoleCodePage(), "win");
    second.Mazovia1Click();
    EXPECT_TRUE(second.Mazovia1->isChecked());
    EXPECT_FALSE(second.Windows1->isChecked());
    Stop();
    EXPECT_EQ(StoredRaw(QStringLiteral("plStd")).toString(), QStringLiteral("maz"));
}

TEST_F(StartupTest, AStoredValueThatIsNotTextCostsOnlyItsOwnStep)
{
    // Someone edited the store by hand: lists are not text.
    StoreRaw(QStringLiteral("plStd"), QStringList{QStringLiteral("maz"), QStringLiteral("win")});
    StoreRaw(QStringLiteral("baud"), QStringList{QStringLiteral("1"), QStringLiteral("2")});
    StoreRaw(QStringLiteral("com"), QStringLiteral("COM2"));

    TFMain& main = Start();
    // The main window reports both, the port dialog its baud once more; the
    // quote ending each message sorts before ".", so no full stop.
    const std::vector<Shown> expected{
        ErrorBox(QStringLiteral("Invalid data type for 'plStd'")),
        ErrorBox(QStringLiteral("Invalid data type for 'baud'")),
        ErrorBox(QStringLiteral("Invalid data type for 'baud'")),
    };
    EXPECT_EQ(prompts.shown, expected);
    EXPECT_EQ(main.CodePage, QStringLiteral("maz"));
    EXPECT_EQ(main.ComPort.CustomBaudRate(), 9600);
    EXPECT_EQ(main.ComPort.Port(), QStringLiteral("COM2"));
    EXPECT_FALSE(main.NIPFiskalizacja1->isEnabled());
    EXPECT_FALSE(main.ServiceUnlocked);
    EXPECT_TRUE(forms().FCOM->RBCOM2->isChecked());
    EXPECT_EQ(SelectedBaudItem(*forms().FCOM), QStringLiteral("9600"));
}

#ifndef _WIN32  // a folder without write permission and a FIFO: POSIX only
TEST_F(StartupTest, AStoreThatRefusesWritesIsReportedOnceInPolishNamingTheFolder)
{
    const QString organisation = path(QStringLiteral("Ferwen s.c."));
    const QString told = QStringLiteral("Nie można zapisać ustawień w folderze „%1”: nie zostaną "
                                        "zapamiętane do następnego uruchomienia.")
                             .arg(QDir::toNativeSeparators(organisation));
    // Whether the port dialog is closed on the way or not, one box in the run.
    for (const bool portDialog : {false, true}) {
        SCOPED_TRACE(portDialog);
        prompts.shown.clear();
        TFMain& main = Start();
        main.Windows1Click();
        // The store's directory turns into a file: nothing can be written now.
        QDir(organisation).removeRecursively();
        QFile::remove(organisation);
        QFile blocker(organisation);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        if (portDialog) {
            forms().FCOM->RBCOM2->setChecked(true);
            forms().FCOM->FormClose();
            forms().FCOM->FormClose();
            ASSERT_EQ(prompts.shown.size(), 1u);
        }

        Stop();
        const std::vector<Shown> expected{ErrorBox(told)};
        EXPECT_EQ(prompts.shown, expected);
        ASSERT_TRUE(QFile::remove(organisation));
        CloseSettingsStore();
        OpenSettingsStore();
    }
}

TEST_F(StartupTest, ASettingsFileThatIsAFifoIsToldOnceAndTheDefaultsApply)
{
    const QString organisation = path(QStringLiteral("Ferwen s.c."));
    const QString file = organisation + QStringLiteral("/Varmo.ini");
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_EQ(mkfifo(file.toLocal8Bit().constData(), 0600), 0);
    CloseSettingsStore();
    OpenSettingsStore();

    // Nothing waits on the FIFO: the window comes up on the defaults.
    TFMain& main = Start();
    EXPECT_EQ(main.CodePage, QStringLiteral("maz"));
    EXPECT_EQ(main.ComPort.CustomBaudRate(), 9600);
    EXPECT_EQ(main.ComPort.Port(), QStringLiteral("COM1"));
    EXPECT_FALSE(main.ServiceUnlocked);
    Stop();
    const std::vector<Shown> expected{ErrorBox(
        QStringLiteral("Nie można otworzyć pliku ustawień „%1”: to potok (FIFO), a nie zwykły "
                       "plik; program użyje ustawień domyślnych i nie zapamięta zmian.")
            .arg(QDir::toNativeSeparators(file)))};
    EXPECT_EQ(prompts.shown, expected);
    EXPECT_FALSE(QFileInfo(file).isFile());
    ASSERT_TRUE(QFile::remove(file));
}
#endif

}  // namespace
}  // namespace varmo::test
