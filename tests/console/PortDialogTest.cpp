// The port dialog: what closing it does to the port and the store, and the
// port kept closed while it is shown.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "console/widgets/RadioGroup.h"
#include "console/dialogs/settings/TFCOM.h"
#include "console/mainwindow/PortStatusLine.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

using PortDialogTest = ConsoleTest;

TEST_F(PortDialogTest, ClosingAppliesAndStoresTheChoice)
{
    const struct {
        const char* storedBaud;  // nullptr: not stored
        const char* storedCom;
        const char* customName;  // typed into EdCOM before closing; nullptr: untouched
        QString portName;
        int portBaud;
        QString com;
        QString baud;
    } cases[] = {
        // First run, closed without a change: COM1, as shown.
        {nullptr, nullptr, nullptr, "COM1", 9600, "COM1", "9600"},
        // A speed the list does not hold runs until the dialog is closed.
        {"1200", "COM2", nullptr, "COM2", 9600, "COM2", "9600"},
        {"38400", "com1", nullptr, "COM1", 38400, "com1", "38400"},
        {nullptr, nullptr, "COM5", "COM5", 9600, "COM5", "9600"},
        {nullptr, nullptr, "COM17", "COM1", 9600, "COM17", "9600"},
        {nullptr, nullptr, "COM16", "COM16", 9600, "COM16", "9600"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.customName ? c.customName : c.storedCom ? c.storedCom : "(none)");
        StoreRaw(QStringLiteral("baud"), c.storedBaud ? QString::fromLatin1(c.storedBaud) : QString());
        StoreRaw(QStringLiteral("com"), c.storedCom ? QString::fromLatin1(c.storedCom) : QString());
        TFMain& main = Start();
        TFCOM& dialog = *forms().FCOM;
        if (c.customName) {
            dialog.RBCOMCustom->setChecked(true);
            dialog.EdCOM->setText(QString::fromLatin1(c.customName));
        }
        dialog.FormClose();
        EXPECT_EQ(main.ComPort.Port(), c.portName);
        EXPECT_EQ(main.ComPort.CustomBaudRate(), c.portBaud);
        EXPECT_EQ(StoredRaw(QStringLiteral("com")).toString(), c.com);
        EXPECT_EQ(StoredRaw(QStringLiteral("baud")).toString(), c.baud);
        Stop();

        // The next start reads what the dialog stored.
        TFMain& again = Start();
        EXPECT_EQ(again.ComPort.Port(), c.portName);
        EXPECT_EQ(again.ComPort.CustomBaudRate(), c.portBaud);
        Stop();
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PortDialogTest, TheFirstDialogShowsThePortTheStatusLineNames)
{
    TFMain& main = Start();
    TFCOM& dialog = *forms().FCOM;
    dialog.FormShow();
    EXPECT_TRUE(main.StatusLine->LbPort->text().startsWith(QStringLiteral("COM1")));
    EXPECT_TRUE(dialog.RBCOM1->isChecked());
    EXPECT_FALSE(dialog.EdCOM->isEnabled());
    EXPECT_EQ(dialog.SelectedPortName(), QStringLiteral("COM1"));
    EXPECT_TRUE(dialog.LbFound->isHidden());
}

TEST_F(PortDialogTest, TheChoiceMadeInTheDialogIsWhatCloses)
{
    TFMain& main = Start();
    TFCOM& dialog = *forms().FCOM;
    dialog.RBCOM2->setChecked(true);
    EXPECT_FALSE(dialog.EdCOM->isEnabled());
    dialog.RGBaud->SetItemIndex(6);
    EXPECT_EQ(dialog.SelectedSpeed(), 115200);
    EXPECT_EQ(dialog.SelectedPortName(), QStringLiteral("COM2"));
    dialog.FormClose();
    EXPECT_EQ(main.ComPort.Port(), QStringLiteral("COM2"));
    EXPECT_EQ(main.ComPort.CustomBaudRate(), 115200);
    EXPECT_EQ(StoredRaw(QStringLiteral("baud")).toString(), QStringLiteral("115200"));

    // The dialog keeps the operator's last choice, not the stored values.
    StoreRaw(QStringLiteral("com"), QStringLiteral("COM1"));
    dialog.FormShow();
    EXPECT_TRUE(dialog.RBCOM2->isChecked());
}

TEST_F(PortDialogTest, ShowingTheDialogClosesAnOpenPortEvenWhenNothingChanges)
{
    PtyPrinter printer;
    PointCom1At(printer.path());
    StoreRaw(QStringLiteral("com"), QStringLiteral("COM1"));
    TFMain& main = Start();
    ASSERT_TRUE(main.EnsurePortOpen());
    ASSERT_TRUE(main.ComPort.Connected());

    bool closedWhileShown = false;
    QTimer::singleShot(0, forms().FCOM, [&] {
        closedWhileShown = !main.ComPort.Connected();
        forms().FCOM->BitBtn1->click();
    });
    main.PortCOM1Click();

    EXPECT_TRUE(closedWhileShown);
    EXPECT_TRUE(main.ComPort.Connected());  // OK opens it again at once
    EXPECT_EQ(StoredRaw(QStringLiteral("com")).toString(), QStringLiteral("COM1"));
    EXPECT_EQ(StoredRaw(QStringLiteral("baud")).toString(), QStringLiteral("9600"));
    EXPECT_TRUE(main.EnsurePortOpen());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(PortDialogTest, OkOpensThePortAndTheStatusLineSaysWhereItStands)
{
    PtyPrinter line;
    const QString unplugged = path(QStringLiteral("ttyUSB0"));
    const struct {
        QString typed;
        QString place;
        QString state;
    } cases[] = {
        {QStringLiteral("COM1"), QStringLiteral("COM1 (%1)").arg(line.path()),
         QStringLiteral("otwarty")},
        // Named by its device: the device once.
        {line.path(), line.path(), QStringLiteral("otwarty")},
        {unplugged, unplugged,
         QStringLiteral("błąd: brak urządzenia (nie ma takiego pliku ani katalogu)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        PointCom1At(line.path());
        TFMain& main = Start();
        TFCOM& dialog = *forms().FCOM;
        dialog.FormShow();
        dialog.SelectPort(c.typed);
        dialog.FormClose();
        EXPECT_EQ(main.ComPort.Connected(), c.state == QStringLiteral("otwarty"));
        EXPECT_EQ(main.StatusLine->LbPort->text(), c.place);
        EXPECT_EQ(main.StatusLine->LbState->text(), c.state);
        Stop();
    }
    EXPECT_TRUE(prompts.shown.empty());  // the line tells it; no box before a command
}

TEST_F(PortDialogTest, EveryWayOfClosingStoresTheChoice)
{
    Start();
    TFCOM& dialog = *forms().FCOM;
    dialog.RBCOMCustom->setChecked(true);
    dialog.EdCOM->setText(QStringLiteral("COM7"));
    // The window's close box, as the operator would use it.
    QTimer::singleShot(0, &dialog, [&] { dialog.close(); });
    dialog.exec();
    EXPECT_EQ(StoredRaw(QStringLiteral("com")).toString(), QStringLiteral("COM7"));
}

}  // namespace
}  // namespace varmo::test
