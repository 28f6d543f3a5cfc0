// The search for the printer at the exchange's level: the order of the
// speeds, varmo-sim listening at one speed only, ports that vanish or that
// another program holds.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QThread>
#include <QTemporaryDir>

#include "commands/ReadCommands.h"
#include "exchange/PrinterExchange.h"
#include "exchange/PrinterSearch.h"
#include "link/SerialError.h"
#include "protocol/Frame.h"
#include "tests/console/PtyPrinter.h"
#include "tests/e2e/SimPrinter.h"

namespace varmo {
namespace {

using test::PtyPrinter;
using test::SimPrinter;

TEST(PrinterSearchTest, TheStoredSpeedGoesFirstThen9600ThenTheRest)
{
    const struct {
        std::int32_t stored;
        std::vector<std::int32_t> order;
    } cases[] = {
        {38400, {38400, 9600, 2400, 4800, 19200, 57600, 115200}},
        {9600, {9600, 2400, 4800, 19200, 38400, 57600, 115200}},
        // A speed the dialog does not list is still tried first.
        {1200, {1200, 9600, 2400, 4800, 19200, 38400, 57600, 115200}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrinterSearch::SpeedOrder(c.stored, PrinterSearch::LineSpeeds()), c.order)
            << c.stored;
}

TEST(PrinterSearchTest, TheTypedPortGoesFirstThenTheStoredOneThenTheListsEachOnce)
{
    auto device = [](const char* path, QStringList comNames, bool missing = false) {
        SerialDevice d;
        d.path = QString::fromLatin1(path);
        d.comNames = std::move(comNames);
        d.missing = missing;
        return d;
    };
    const std::vector<SerialDevice> devices = {
        device("/dev/ttyS0", {}),
        device("/dev/pts/3", {QStringLiteral("COM2")}),
        device("/dev/pts/4", {QStringLiteral("COM1")}),
        device("/tmp/gone", {QStringLiteral("COM4")}, true),
    };
    // Where the COM names lead, as the list says.
    qputenv("VARMO_COM1", "/dev/pts/4");
    qputenv("VARMO_COM2", "/dev/pts/3");
    qputenv("VARMO_COM4", "/tmp/gone");
    const struct {
        QString typed;
        QString stored;
        QStringList order;
    } cases[] = {
        {"COM1", "", {"COM1", "/dev/ttyS0", "COM2"}},
        // An empty custom name is COM1, as the port takes it; stored COM1 is
        // the same port and goes once.
        {"", "COM1", {"COM1", "/dev/ttyS0", "COM2"}},
        // A typed path that no list knows, then the stored port.
        {"/dev/ttyUSB9", "COM2", {"/dev/ttyUSB9", "COM2", "/dev/ttyS0", "COM1"}},
        // A typed path that COM2 leads to: the device once, as typed.
        {"/dev/pts/3", "COM1", {"/dev/pts/3", "COM1", "/dev/ttyS0"}},
        // Typed and stored are tried even where nothing is there.
        {"COM4", "COM9", {"COM4", "COM9", "/dev/ttyS0", "COM2", "COM1"}},
    };
    for (const auto& c : cases) {
        QStringList order;
        for (const SearchPort& port : PrinterSearch::PortOrder(devices, c.typed, c.stored))
            order << port.port;
        EXPECT_EQ(order, c.order) << c.typed.toStdString() << " " << c.stored.toStdString();
    }
    for (const char* name : {"VARMO_COM1", "VARMO_COM2", "VARMO_COM4"})
        qunsetenv(name);
}

class PrinterAtOneSpeed : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SimPrinter printer{{QStringLiteral("--speed"), QStringLiteral("38400")},
                       dir.filePath(QStringLiteral("paper.txt"))};
};

TEST(PrinterAtOneSpeedTest, AtAnyOtherSpeedTheLineGivesNoise)
{
    QTemporaryDir dir;
    // Answers late, so that the line's speed can change under an answer.
    SimPrinter printer{{QStringLiteral("--speed"), QStringLiteral("38400"),
                        QStringLiteral("--delay"), QStringLiteral("250")},
                       dir.filePath(QStringLiteral("paper.txt"))};
    ASSERT_FALSE(printer.path().isEmpty());
    PrinterExchange exchange;
    exchange.SetPort(printer.path());
    for (const std::int32_t speed : {9600, 115200, 38400}) {
        SCOPED_TRACE(speed);
        exchange.SetSpeed(speed);
        ASSERT_TRUE(exchange.Open());
        TCmdReadHeader read;
        const bool answered = exchange.QueryStatus(kENQ, 1000).has_value() &&
                              exchange.DirectRead(read, [] {}, 1000) == ReplyKind::Answered;
        EXPECT_EQ(answered, speed == 38400);
    }
    exchange.Close();

    // An answer sent while the line runs at another speed arrives garbled.
    QSerialPort line(printer.path());
    ASSERT_TRUE(line.open(QIODevice::ReadWrite));
    line.setBaudRate(38400);
    const std::string frame = TCmdReadHeader().GetFrame();
    line.write(frame.data(), static_cast<qint64>(frame.size()));
    line.waitForBytesWritten(1000);
    QThread::msleep(100);  // the printer has heard the frame, its answer is still to come
    line.setBaudRate(9600);
    std::string came;
    for (QDeadlineTimer until(1500); !until.hasExpired();)
        if (line.waitForReadyRead(50))
            came += line.readAll().toStdString();
    EXPECT_FALSE(came.empty());
    EXPECT_EQ(came.find("1#U"), std::string::npos);
    TCmdReadHeader garbled;
    EXPECT_FALSE(garbled.AcceptAnswer(came));
}

TEST_F(PrinterAtOneSpeed, TheSearchSkipsWhatIsNoPrinterAndNamesWhatIsHeld)
{
    ASSERT_FALSE(printer.path().isEmpty());
    PtyPrinter enqOnly;  // a status byte, then noise for a frame
    enqOnly.answerEnq(0x60);
    enqOnly.answerFrames(std::string("\x1BPxx\x1B\\"));
    const QString gone = dir.filePath(QStringLiteral("unplugged"));
    const std::vector<std::int32_t> speeds = PrinterSearch::SpeedOrder(9600, PrinterSearch::LineSpeeds());

    PrinterSearch search;
    std::vector<std::pair<QString, std::int32_t>> tried;
    QObject::connect(&search, &PrinterSearch::trying,
                     [&](const QString& port, const QString&, std::int32_t speed) {
                         tried.emplace_back(port, speed);
                     });
    const SearchResult found =
        search.Run({{gone, gone}, {enqOnly.path(), enqOnly.path()}, {printer.path(), printer.path()}},
                   speeds, PrinterExchange::kAnswerWaitMs);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.port, printer.path());
    EXPECT_EQ(found.speed, 38400);
    // The vanished one is named absent, with its error number.
    ASSERT_EQ(found.unopened.size(), 1u);
    EXPECT_EQ(found.unopened[0].port, gone);
    EXPECT_EQ(PortTroubleOf(found.unopened[0].code), PortTrouble::Absent);
    EXPECT_TRUE(found.Busy().isEmpty());
    // Every speed on the port that is no printer; the vanished one not at all.
    ASSERT_EQ(tried.size(), speeds.size() + 5);
    EXPECT_EQ(tried.front(), std::make_pair(enqOnly.path(), 9600));

    // Held by another program: named, never taken.
    QSerialPort holder(printer.path());
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    const SearchResult held = search.Run({{printer.path(), printer.path()}}, speeds,
                                         PrinterExchange::kAnswerWaitMs);
    EXPECT_FALSE(held.found);
    EXPECT_EQ(held.Busy(), QStringList{printer.path()});
    EXPECT_TRUE(held.tried.empty());
}

}  // namespace
}  // namespace varmo
