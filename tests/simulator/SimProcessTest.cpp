// varmo-sim itself: started as a process, reached through a real serial port
// on its pseudo-terminal, stopped by a signal.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <functional>

#include "commands/ReadCommands.h"
#include "commands/TransactionCommands.h"
#include "protocol/CodePage.h"
#include "protocol/Frame.h"

using namespace varmo;

namespace {

constexpr int kPatienceMs = 10'000;  // generous: only a broken simulator waits this long

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "test_simulator";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// A running varmo-sim and the device it printed on its first line.
class Simulator {
public:
    explicit Simulator(const QStringList& args)
    {
        ensureApplication();
        process_.setProgram(VARMO_SIM_PATH);
        process_.setArguments(args);
        process_.start();
        if (!process_.waitForStarted(kPatienceMs))
            return;
        QElapsedTimer timer;
        timer.start();
        while (!process_.canReadLine() && timer.elapsed() < kPatienceMs)
            process_.waitForReadyRead(100);
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }

    ~Simulator()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(kPatienceMs);
        }
    }

    const QString& Device() const { return device_; }
    QProcess& Process() { return process_; }

    // Sends the signal and returns the exit code of a clean exit, -1 otherwise.
    int StopWith(int signal)
    {
        ::kill(static_cast<pid_t>(process_.processId()), signal);
        if (!process_.waitForFinished(kPatienceMs) || process_.exitStatus() != QProcess::NormalExit)
            return -1;
        return process_.exitCode();
    }

private:
    QProcess process_;
    QString device_;
};

bool openPort(QSerialPort& port, const QString& path)
{
    port.setPortName(path);
    port.setBaudRate(9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return port.open(QIODevice::ReadWrite);
}

bool endsFrame(const std::string& bytes)
{
    return bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, kFrameStop) == 0;
}

// Writes the bytes and reads until done says the answer is complete, or
// until waitMs has passed.
std::string exchange(QSerialPort& port, const std::string& bytes,
                     const std::function<bool(const std::string&)>& done, int waitMs = kPatienceMs)
{
    port.write(bytes.data(), static_cast<qint64>(bytes.size()));
    port.waitForBytesWritten(kPatienceMs);
    std::string received;
    QElapsedTimer timer;
    timer.start();
    while (!done(received) && timer.elapsed() < waitMs) {
        port.waitForReadyRead(20);
        const QByteArray chunk = port.readAll();
        received.append(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    }
    return received;
}

std::string status(QSerialPort& port, char control)
{
    return exchange(port, std::string(1, control), [](const std::string& r) { return !r.empty(); });
}

std::string frameAnswer(QSerialPort& port, const TCommand& command)
{
    return exchange(port, command.GetFrame(), endsFrame);
}

}  // namespace

TEST(SimProcess, ServesTheConsoleThroughItsLinkAndStopsCleanly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath("printer");
    const QString paper = dir.filePath("roll.txt");
    QFile::link("/nonexistent", link);  // a stale link from an earlier run
    Simulator sim({"--link", link, "--paper", paper});
    ASSERT_TRUE(sim.Device().startsWith("/dev/")) << sim.Device().toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.Device());

    SetConsoleCodePage("maz");
    QSerialPort port;
    ASSERT_TRUE(openPort(port, link)) << port.errorString().toStdString();
    EXPECT_EQ(status(port, kENQ), "\x65");
    EXPECT_EQ(status(port, kDLE), "\x74");
    TCmdReadHeader header;
    EXPECT_TRUE(header.AcceptAnswer(frameAnswer(port, header)));
    EXPECT_EQ(header.HeaderText().rfind("SKLEP TESTOWY", 0), 0u);

    // The console closes the port and opens it again: the printer is still there.
    port.close();
    ASSERT_TRUE(openPort(port, sim.Device()));
    const TCmdTransStart start(1);
    const TCmdTransLine line(1, "Towar testowy", kAmountOne, 'A', 100, 100);
    const TCmdTransConfirm confirm("01", "1", 100);
    for (const TCommand* step : {static_cast<const TCommand*>(&start), static_cast<const TCommand*>(&line),
                                 static_cast<const TCommand*>(&confirm)}) {
        port.write(QByteArray::fromStdString(step->GetFrame()));
        port.waitForBytesWritten(kPatienceMs);
    }
    TCmdReadCashInfo info(false);
    ASSERT_TRUE(info.AcceptAnswer(frameAnswer(port, info)));
    EXPECT_EQ(info.Info().lastReceipt, 1);

    QElapsedTimer timer;
    timer.start();
    QByteArray printed;
    while (!printed.contains("Kasa 01 Kasjer 1") && timer.elapsed() < kPatienceMs) {
        QFile roll(paper);
        if (roll.open(QIODevice::ReadOnly))
            printed = roll.readAll();
        QThread::msleep(10);
    }
    EXPECT_TRUE(printed.contains("Towar testowy")) << printed.toStdString();
    EXPECT_TRUE(printed.contains("SKLEP TESTOWY \"POD WAGA\""));

    EXPECT_EQ(sim.StopWith(SIGTERM), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the link goes with the printer";
}

TEST(SimProcess, InterruptEndsItAndPaperGoesToStandardOutput)
{
    Simulator sim({"--codepage", "win", "--fiscal", "--header", "Żabka|Kraków", "--rates",
                   "22,7,3,0,ZW,-,-"});
    SetConsoleCodePage("win");
    QSerialPort port;
    ASSERT_TRUE(openPort(port, sim.Device()));
    EXPECT_EQ(status(port, kENQ), "\x6D") << "fiscal";
    TCmdReadHeader header;
    ASSERT_TRUE(header.AcceptAnswer(frameAnswer(port, header)));
    EXPECT_EQ(header.HeaderText(), "\xAF\x61\x62ka\rKrak\xF3w\r");
    TCmdReadCashInfo info(true);
    ASSERT_TRUE(info.AcceptAnswer(frameAnswer(port, info)));
    EXPECT_TRUE(info.Info().fiscal);
    EXPECT_EQ(info.Info().rates, (std::array<std::int32_t, 7>{22, 7, 3, 0, 100, 101, 101}));

    port.write(QByteArray::fromStdString(TCmdTransStart(1).GetFrame()));
    port.waitForBytesWritten(kPatienceMs);
    EXPECT_EQ(status(port, kENQ), "\x6F") << "in a receipt";
    EXPECT_EQ(sim.StopWith(SIGINT), 0);
    const QByteArray printed = sim.Process().readAllStandardOutput();
    EXPECT_TRUE(printed.contains("PARAGON FISKALNY")) << printed.toStdString();
}

TEST(SimProcess, LineFaultsAsATechnicianMeetsThem)
{
    SetConsoleCodePage("maz");
    {
        Simulator sim({"--silent"});
        QSerialPort port;
        ASSERT_TRUE(openPort(port, sim.Device()));
        EXPECT_EQ(exchange(port, "\x05", [](const std::string& r) { return !r.empty(); }, 700), "");
        TCmdReadHeader header;
        EXPECT_EQ(exchange(port, header.GetFrame(), endsFrame, 700), "");
    }
    {
        Simulator sim({"--bad-checksum", "--noise"});
        QSerialPort port;
        ASSERT_TRUE(openPort(port, sim.Device()));
        TCmdReadHeader header;
        const std::string answer = frameAnswer(port, header);
        const std::size_t start = answer.find(kFrameStart);
        ASSERT_NE(start, std::string::npos);
        EXPECT_GT(start, 0u) << "noise before the frame";
        EXPECT_FALSE(header.AcceptAnswer(answer.substr(start)));
        TCmdReadErrCode error;
        const std::string code = frameAnswer(port, error);
        EXPECT_TRUE(error.AcceptAnswer(code.substr(code.find(kFrameStart))));
    }
    {
        Simulator sim({"--baud", "1200"});
        QSerialPort port;
        ASSERT_TRUE(openPort(port, sim.Device()));
        TCmdReadHeader header;
        QElapsedTimer timer;
        timer.start();
        const std::string answer = frameAnswer(port, header);
        const qint64 took = timer.elapsed();
        EXPECT_TRUE(header.AcceptAnswer(answer));
        // Ten bits a byte at 1200 baud: 8.33 ms for each byte of the answer.
        EXPECT_GE(took, static_cast<qint64>(answer.size()) * 8);
    }
    {
        Simulator sim({"--no-paper", "--offline"});
        QSerialPort port;
        ASSERT_TRUE(openPort(port, sim.Device()));
        EXPECT_EQ(status(port, kDLE), "\x72") << "off-line, out of paper";
        TCmdReadHeader header;
        EXPECT_EQ(exchange(port, header.GetFrame(), endsFrame, 700), "");
    }
}

TEST(SimProcess, HelpAndWrongOptions)
{
    ensureApplication();
    QProcess help;
    help.start(VARMO_SIM_PATH, {"--help"});
    ASSERT_TRUE(help.waitForFinished(kPatienceMs));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().contains("--bad-checksum"));

    QProcess wrong;
    wrong.start(VARMO_SIM_PATH, {"--rates", "1,2"});
    ASSERT_TRUE(wrong.waitForFinished(kPatienceMs));
    EXPECT_EQ(wrong.exitCode(), 2);
    EXPECT_TRUE(wrong.readAllStandardError().contains("--rates"));
    EXPECT_TRUE(wrong.readAllStandardOutput().isEmpty()) << "no device line when it does not start";
}
