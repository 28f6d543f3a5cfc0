// The status line says why the port will not open in the words varmo-cli
// uses: a missing device, a plain file, a device another program holds.
#include <QFile>
#include <QLabel>
#include <QSerialPort>

#include "console/mainwindow/PortStatusLine.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

using PortStateWordsTest = ConsoleTest;

TEST_F(PortStateWordsTest, TheStatusLineTellsBusyAndAbsentApart)
{
    const QString file = path(QStringLiteral("notes.txt"));
    QFile notes(file);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.close();
    PtyPrinter line;
    QSerialPort otherProgram(line.path());
    ASSERT_TRUE(otherProgram.open(QIODevice::ReadWrite));

    const struct {
        QString device;
        QString shown;
    } cases[] = {
        {path(QStringLiteral("ttyUSB0")),
         QStringLiteral("błąd: brak urządzenia (nie ma takiego pliku ani katalogu)")},
        {file, QStringLiteral("błąd: to nie jest port szeregowy "
                              "(nieodpowiednia operacja dla urządzenia)")},
        {line.path(),
         QStringLiteral("błąd: zajęty przez inny program (urządzenie lub zasób jest zajęty)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device.toStdString());
        PointCom1At(c.device);
        TFMain& main = Start();
        prompts.shown.clear();
        EXPECT_FALSE(main.EnsurePortOpen());
        // The box the console has always shown stays as it is.
        EXPECT_EQ(prompts.shown,
                  std::vector<Shown>{Message(QStringLiteral("COM"),
                                             QStringLiteral("Nie można otworzyć portu"))});
        EXPECT_EQ(main.StatusLine->LbState->text(), c.shown);
        Stop();
    }
}

}  // namespace
}  // namespace varmo::test
