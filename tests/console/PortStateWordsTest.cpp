// The status line says why the port will not open in the words varmo-cli
// uses: a missing device, a plain file, a device another program holds.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFile>
#include <QLabel>
#include <QSerialPort>

#include "console/mainwindow/PortStatusLine.h"
#include "console/mainwindow/TFMain.h"
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
    // Held as a terminal program holds it, by root too: in exclusive mode,
    // or under the lock such programs take.
    PtyPrinter exclusiveLine;
    PtyPrinter lockedLine;
    const int exclusive = ::open(QFile::encodeName(exclusiveLine.path()).constData(), O_RDWR | O_NOCTTY);
    const int locked = ::open(QFile::encodeName(lockedLine.path()).constData(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::ioctl(exclusive, TIOCEXCL), 0);
    ASSERT_EQ(::flock(locked, LOCK_EX), 0);
    const QString busy =
        QStringLiteral("błąd: zajęty przez inny program (urządzenie lub zasób jest zajęty)");
    const QString absent = QStringLiteral("błąd: brak urządzenia (nie ma takiego pliku ani katalogu)");

    const struct {
        QString device;
        QString shown;
    } cases[] = {
        {path(QStringLiteral("ttyUSB0")),
         QStringLiteral("błąd: brak urządzenia (nie ma takiego pliku ani katalogu)")},
        {file, QStringLiteral("błąd: to nie jest port szeregowy "
                              "(nieodpowiednia operacja dla urządzenia)")},
        {line.path(), busy},
        {exclusiveLine.path(), busy},
        {lockedLine.path(), busy},
        {path(QString(40, QLatin1Char('d')) + "/" + QString(230, QLatin1Char('e'))), absent},
        {path(QStringLiteral("tty\nUSB0")), absent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device.toStdString());
        PointCom1At(c.device);
        TFMain& main = Start();
        prompts.shown.clear();
        EXPECT_FALSE(main.EnsurePortOpen());
        // The box names the port, on one line, and what stands in the way.
        const QString device = QString(c.device).replace(QLatin1Char('\n'), QStringLiteral("<$0A>"));
        EXPECT_EQ(prompts.shown,
                  std::vector<Shown>{Message(QStringLiteral("Nie można otworzyć portu COM1 (%1): %2")
                                                 .arg(device, c.shown.mid(6)),
                                             QStringLiteral("Nie można otworzyć portu"))});
        EXPECT_EQ(main.StatusLine->LbState->text(), c.shown);
        EXPECT_FALSE(main.StatusLine->LbPort->text().contains(QLatin1Char('\n')));
        Stop();
    }
    ::close(exclusive);
    ::close(locked);
}

// News too long for the room the window leaves ends in "…", never a word
// cut in the middle; the whole of it is in the tooltip.
TEST_F(PortStateWordsTest, NewsOnTheStatusLineIsShortenedWithAnEllipsisAndWholeInItsTooltip)
{
    TFMain& main = Start();
    main.show();
    const QString whole = QStringLiteral("Wysłano: Ustawienie daty przeglądu 2026-12-09, "
                                         "komunikat DO SERWISU TEL 123 456 789");
    const struct {
        int width;
        bool shortened;
    } cases[] = {{2400, false}, {700, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        main.resize(c.width, main.height());
        main.StatusLine->Sent(QStringLiteral("Ustawienie daty przeglądu 2026-12-09, komunikat DO "
                                             "SERWISU TEL 123 456 789"));
        Idle(100);
        ElidedLabel* news = main.StatusLine->LbNoAnswer;
        EXPECT_EQ(news->text(), whole);
        EXPECT_EQ(news->toolTip(), whole);
        const QString shown = news->ShownText();
        if (c.shortened) {
            EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(whole.startsWith(shown.chopped(1))) << shown.toStdString();
            EXPECT_LE(news->fontMetrics().horizontalAdvance(shown), news->contentsRect().width());
        } else {
            EXPECT_EQ(shown, whole);
        }
    }
}

}  // namespace
}  // namespace varmo::test
