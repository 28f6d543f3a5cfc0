// The port dialog's device list and its search for the printer against
// varmo-sim listening at one speed, and the port taken back by itself when
// its device comes back after a re-plug.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTimer>

#include "console/dialogs/settings/SearchProgress.h"
#include "console/dialogs/settings/TFCOM.h"
#include "console/mainwindow/PortStatusLine.h"
#include "tests/console/PtyPrinter.h"
#include "link/StoredLink.h"
#include "tests/e2e/E2EHarness.h"

namespace varmo::test {
namespace {

using PortSearchTest = ConsoleWithPrinter;

int DeviceIndex(const TFCOM& dialog, const QString& path)
{
    for (std::size_t i = 0; i < dialog.Devices().size(); ++i)
        if (dialog.Devices()[i].path == path)
            return static_cast<int>(i) + 1;  // item 0 stands for a device not listed
    return -1;
}

TEST_F(PortSearchTest, FindsThePrinterAtItsSpeedPastPortsThatAreNoPrinter)
{
    // COM2 answers ENQ with a byte but the header read with noise, COM1 says
    // nothing, COM3 is the printer, listening at 38400 only.
    PtyPrinter noisy;
    noisy.answerEnq(0x60);
    noisy.answerFrames(std::string("\x1BP\x7F\x13"));
    PtyPrinter silent;
    PointCom1At(silent.path());
    StoreRaw(QStringLiteral("devices/COM2"), noisy.path());
    StoreRaw(QStringLiteral("com"), QStringLiteral("COM2"));
    SimPrinter printer({QStringLiteral("--speed"), QStringLiteral("38400")},
                       path(QStringLiteral("paper.txt")));
    ASSERT_FALSE(printer.path().isEmpty());
    StoreRaw(QStringLiteral("devices/COM3"), printer.path());
    StoreRaw(QStringLiteral("devices/COM4"), path(QStringLiteral("unplugged")));

    TFMain& main = Start();
    TFCOM& dialog = *forms().FCOM;
    dialog.FormShow();
    // Every mapped device is offered, the one that names nothing as missing,
    // and the COM name chosen shows where it leads.
    for (const QString& device : {silent.path(), noisy.path(), printer.path()})
        EXPECT_GT(DeviceIndex(dialog, device), 0) << device.toStdString();
    const int unplugged = DeviceIndex(dialog, path(QStringLiteral("unplugged")));
    ASSERT_GT(unplugged, 0);
    EXPECT_TRUE(dialog.Devices()[unplugged - 1].missing);
    EXPECT_EQ(dialog.CBDevice->currentIndex(), DeviceIndex(dialog, noisy.path()));

    dialog.BtnFindPrinterClick();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(dialog.RBCOMCustom->isChecked());
    EXPECT_EQ(dialog.EdCOM->text(), QStringLiteral("COM3"));
    EXPECT_EQ(dialog.SelectedSpeed(), 38400);
    EXPECT_EQ(dialog.CBDevice->currentIndex(), DeviceIndex(dialog, printer.path()));
    EXPECT_FALSE(main.ComPort.Connected());

    // OK stores what was found, and the printer answers there.
    dialog.FormClose();
    EXPECT_EQ(StoredRaw(QStringLiteral("com")).toString(), QStringLiteral("COM3"));
    EXPECT_EQ(StoredRaw(QStringLiteral("baud")).toString(), QStringLiteral("38400"));
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(DescriptionLines(main).front(), QStringLiteral("Odczytany nagłówek:"));
}

TEST_F(PortSearchTest, TheDeviceListAndATypedPathPointThePortAtADevice)
{
    StartPrinter();  // COM1
    PtyPrinter other;
    StoreRaw(QStringLiteral("devices/COM2"), other.path());
    TFMain& main = Start();
    TFCOM& dialog = *forms().FCOM;
    dialog.FormShow();
    EXPECT_EQ(dialog.CBDevice->currentIndex(), DeviceIndex(dialog, printer_->path()));

    // Chosen from the list: COM1 now leads to the other device.
    dialog.RBCOM1->setChecked(true);
    dialog.CBDeviceChoose(DeviceIndex(dialog, other.path()));
    EXPECT_EQ(StoredRaw(QStringLiteral("devices/COM1")).toString(), other.path());
    EXPECT_EQ(dialog.CBDevice->currentIndex(), DeviceIndex(dialog, other.path()));

    // A device path typed as the custom name is that device, also after the
    // next start (no COM name leads to it any more: it is shown, not listed).
    dialog.RBCOMCustom->setChecked(true);
    dialog.EdCOM->setText(printer_->path());
    EXPECT_EQ(dialog.CBDevice->currentIndex(), 0);
    EXPECT_EQ(dialog.CBDevice->currentText(), printer_->path());
    dialog.FormClose();
    EXPECT_EQ(main.ComPort.State().device, printer_->path().toStdString());
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    Stop();
    TFMain& again = Start();
    EXPECT_EQ(again.ComPort.Port(), printer_->path());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PortSearchTest, ATypedPathIsTriedFirstAndOkOpensItThere)
{
    // The stored port leads to a line that records what it hears; the
    // printer listens at 57600 behind a path no list knows.
    PtyPrinter stored;
    PointCom1At(stored.path());
    StoreRaw(QStringLiteral("com"), QStringLiteral("COM1"));
    SimPrinter printer({QStringLiteral("--speed"), QStringLiteral("57600")},
                       path(QStringLiteral("paper.txt")));
    ASSERT_FALSE(printer.path().isEmpty());
    TFMain& main = Start();
    TFCOM& dialog = *forms().FCOM;
    dialog.FormShow();
    dialog.SelectPort(printer.path());

    // What the progress box names while it is up.
    QStringList shown;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (auto* progress = dialog.findChild<SearchProgress*>())
            if (shown.isEmpty() || shown.back() != progress->Label->text())
                shown << progress->Label->text();
    });
    look.start(10);
    dialog.BtnFindPrinterClick();
    look.stop();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(dialog.EdCOM->text(), printer.path());
    EXPECT_EQ(dialog.SelectedSpeed(), 57600);
    // Said on the dialog until OK.
    EXPECT_FALSE(dialog.LbFound->isHidden());
    EXPECT_EQ(dialog.LbFound->text(),
              QStringLiteral("Znaleziono drukarkę: %1, 57600 bd").arg(printer.path()));
    EXPECT_TRUE(stored.received().empty());  // found before the stored port
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.front(), QStringLiteral("Szukanie drukarki: %1, 9600 bd").arg(printer.path()));

    // OK opens the port there: the status line says so, the device once.
    dialog.FormClose();
    dialog.FormShow();  // shown again, the dialog has no news
    EXPECT_TRUE(dialog.LbFound->isHidden());
    dialog.FormClose();
    EXPECT_TRUE(main.ComPort.Connected());
    EXPECT_EQ(main.StatusLine->LbState->text(), QStringLiteral("otwarty"));
    EXPECT_EQ(main.StatusLine->LbPort->text(), printer.path());
    EXPECT_EQ(main.StatusLine->LbSpeed->text(), QStringLiteral("57600 bd"));
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(DescriptionLines(main).front(), QStringLiteral("Odczytany nagłówek:"));
}

TEST_F(PortSearchTest, NothingAnsweringSaysWhatWasTriedAndWhatWouldNotOpen)
{
    PtyPrinter silent;
    PointCom1At(silent.path());
    SimPrinter deaf({QStringLiteral("--speed"), QStringLiteral("1200")},
                    path(QStringLiteral("paper.txt")));
    StoreRaw(QStringLiteral("devices/COM2"), deaf.path());
    StoreRaw(QStringLiteral("devices/COM3"), QStringLiteral("/dev/null"));
    PtyPrinter held;
    QSerialPort otherProgram(held.path());
    ASSERT_TRUE(otherProgram.open(QIODevice::ReadWrite));
    StoreRaw(QStringLiteral("devices/COM4"), held.path());
    const QString unplugged = path(QStringLiteral("ttyUSB0"));
    Start();
    TFCOM& dialog = *forms().FCOM;
    dialog.SelectPort(unplugged);
    dialog.SelectSpeed(19200);
    dialog.FormShow();
    EXPECT_LT(DeviceIndex(dialog, QStringLiteral("/dev/null")), 0);  // never offered

    dialog.BtnFindPrinterClick();
    ASSERT_EQ(prompts.shown.size(), 1u);
    const QStringList lines = prompts.shown[0].text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("Nie znaleziono drukarki"));
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("Szukaj drukarki"));
    // The stored port first (the typed one is not there), every speed once.
    const QString tried = QStringLiteral("Sprawdzono: COM1 (%1), ").arg(silent.path());
    EXPECT_TRUE(lines[1].startsWith(tried)) << lines[1].toStdString();
    for (const QString& part :
         {QStringLiteral("COM2 (%1)").arg(deaf.path()),
          QStringLiteral(" przy 19200, 9600, 2400, 4800, 38400, 57600, 115200 bd; nie otwarto: "),
          unplugged + QStringLiteral(": brak urządzenia (nie ma takiego pliku ani katalogu)"),
          QStringLiteral("COM4 (%1): zajęty przez inny program").arg(held.path())})
        EXPECT_TRUE(lines[1].contains(part)) << part.toStdString() << "\n" << lines[1].toStdString();
    EXPECT_FALSE(lines[1].contains(QStringLiteral("/dev/null")));
    EXPECT_EQ(dialog.EdCOM->text(), unplugged);
    EXPECT_EQ(dialog.SelectedSpeed(), 19200);
}

// The line under the search button tells this search's outcome, never the
// last one's: a printer found, then gone, then back behind the same path.
TEST_F(PortSearchTest, TheDialogSaysWhatThisSearchFound)
{
    const QString link = path(QStringLiteral("printer-link"));
    PointCom1At(link);
    StoreRaw(QStringLiteral("com"), QStringLiteral("COM1"));
    Start();
    TFCOM& dialog = *forms().FCOM;
    dialog.FormShow();
    std::unique_ptr<SimPrinter> printer;
    const QString found = QStringLiteral("Znaleziono drukarkę: %1, 9600 bd").arg(link);
    const struct {
        bool printerThere;
        QString told;
    } searches[] = {
        {true, found},
        {false, QStringLiteral("Nie znaleziono drukarki")},
        {true, found},
    };
    for (const auto& search : searches) {
        SCOPED_TRACE(search.told.toStdString());
        QFile::remove(link);
        printer.reset();
        if (search.printerThere) {
            printer = std::make_unique<SimPrinter>(QStringList{}, path(QStringLiteral("paper.txt")));
            ASSERT_TRUE(QFile::link(printer->path(), link));
        }
        dialog.SelectPort(link);
        dialog.BtnFindPrinterClick();
        EXPECT_FALSE(dialog.LbFound->isHidden());
        EXPECT_EQ(dialog.LbFound->text(), search.told);
    }
    QFile::remove(link);
}

using ReplugTest = ConsoleWithPrinter;

TEST_F(ReplugTest, ThePortIsTakenBackWhenItsDeviceComesBack)
{
    // COM1 is a symbolic link, as a stable device name is.
    const QString link = path(QStringLiteral("printer-link"));
    auto printer = std::make_unique<SimPrinter>(QStringList{}, path(QStringLiteral("paper1.txt")));
    ASSERT_TRUE(QFile::link(printer->path(), link));
    PointCom1At(link);
    TFMain& main = Start();
    PortStatusLine& line = *main.StatusLine;
    main.Button3Click();
    ASSERT_EQ(line.LbState->text(), QStringLiteral("otwarty"));

    // Pulled out: the link goes with the device.
    printer.reset();
    QFile::remove(link);
    ASSERT_TRUE(WaitFor([&] { return line.LbState->text() == QStringLiteral("brak urządzenia"); }));
    EXPECT_TRUE(main.Exchange.WatchingForDevice());
    Idle(1500);
    EXPECT_FALSE(main.ComPort.Connected());

    // Put back, as a new printer behind the same name: no click needed.
    printer = std::make_unique<SimPrinter>(QStringList{}, path(QStringLiteral("paper2.txt")));
    ASSERT_TRUE(QFile::link(printer->path(), link));
    ASSERT_TRUE(WaitFor([&] { return line.LbState->text() == QStringLiteral("otwarty"); }));
    EXPECT_FALSE(main.Exchange.WatchingForDevice());
    const std::size_t boxes = prompts.shown.size();
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(prompts.shown.size(), boxes);  // nothing asked of the operator
    QFile::remove(link);
}

TEST_F(ReplugTest, WhatComesBackIsTakenOnlyWhenItIsThePrinter)
{
    const QString link = path(QStringLiteral("printer-link"));
    auto printer = std::make_unique<SimPrinter>(QStringList{}, path(QStringLiteral("paper.txt")));
    ASSERT_TRUE(QFile::link(printer->path(), link));
    PointCom1At(link);
    TFMain& main = Start();
    PortStatusLine& line = *main.StatusLine;
    // The cash information tells the printer's unique number.
    main.Informacjekasowe1Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    printer.reset();
    QFile::remove(link);
    ASSERT_TRUE(WaitFor([&] { return main.Exchange.WatchingForDevice(); }));

    // A silent device, another printer (at the same speed or another): none
    // is taken, and the status line says something else is there.
    PtyPrinter silent;
    const struct {
        const char* what;
        QStringList options;  // of a printer; none: the silent device
    } others[] = {
        {"silent", {}},
        {"another printer", {QStringLiteral("--unique"), QStringLiteral("ABC99999999")}},
        {"another printer at another speed",
         {QStringLiteral("--unique"), QStringLiteral("ABC99999999"), QStringLiteral("--speed"),
          QStringLiteral("19200")}},
    };
    for (const auto& other : others) {
        SCOPED_TRACE(other.what);
        std::unique_ptr<SimPrinter> impostor;
        QString device = silent.path();
        if (!other.options.isEmpty()) {
            impostor = std::make_unique<SimPrinter>(other.options, path(QStringLiteral("other.txt")));
            device = impostor->path();
        }
        ASSERT_TRUE(QFile::link(device, link));
        ASSERT_TRUE(WaitFor([&] { return line.LbState->text().contains(QStringLiteral("inne urządzenie")); }, 15000));
        Idle(1500);
        EXPECT_FALSE(main.ComPort.Connected());
        EXPECT_TRUE(main.Exchange.WatchingForDevice());
        QFile::remove(link);
        Idle(1200);  // the watch sees the path empty again
        line.PortStateChanged(main.Exchange.State());  // the next verdict starts from a clean line
    }

    // The printer itself comes back (a new process, the same printer), set
    // to another speed: taken back at it, and the speed is kept.
    printer = std::make_unique<SimPrinter>(QStringList{QStringLiteral("--speed"), QStringLiteral("57600")},
                                           path(QStringLiteral("paper2.txt")));
    QElapsedTimer back;
    back.start();
    ASSERT_TRUE(QFile::link(printer->path(), link));
    ASSERT_TRUE(WaitFor([&] { return line.LbState->text() == QStringLiteral("otwarty"); }, 15000));
    RecordProperty("taken_back_ms", static_cast<int>(back.elapsed()));
    std::cout << "[ replug ] the printer taken back " << back.elapsed() << " ms after it appeared\n";
    EXPECT_EQ(line.LbSpeed->text(), QStringLiteral("57600 bd"));
    EXPECT_EQ(StoredBaud(), 57600);
    main.Nagwek2Click();
    EXPECT_TRUE(SendAndAwaitAnswer(main));
    QFile::remove(link);
}

TEST_F(ReplugTest, EachLossIsToldOnceAndItsBoxGoesWhenThePrinterIsBack)
{
    const QString link = path(QStringLiteral("printer-link"));
    auto printer = std::make_unique<SimPrinter>(QStringList{}, path(QStringLiteral("paper.txt")));
    ASSERT_TRUE(QFile::link(printer->path(), link));
    PointCom1At(link);
    TFMain& main = Start();
    main.Button3Click();
    ASSERT_TRUE(main.ComPort.Connected());
    constexpr int kLosses = 20;
    for (int loss = 1; loss <= kLosses; ++loss) {
        SCOPED_TRACE(loss);
        printer.reset();
        QFile::remove(link);
        ASSERT_TRUE(WaitFor([&] { return prompts.lossOnScreen; }));
        printer = std::make_unique<SimPrinter>(QStringList{}, path(QStringLiteral("paper.txt")));
        ASSERT_TRUE(QFile::link(printer->path(), link));
        ASSERT_TRUE(WaitFor([&] { return main.ComPort.Connected() && !prompts.lossOnScreen; }, 10000));
    }
    // Never more than the one box up, each gone by itself.
    EXPECT_EQ(prompts.lossClosed, kLosses);
    EXPECT_EQ(prompts.shown.size(), static_cast<std::size_t>(kLosses));
    QFile::remove(link);
}

}  // namespace
}  // namespace varmo::test
