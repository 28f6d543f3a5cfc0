// The re-plug on Windows, under Wine: varmo-sim behind COM5 goes away (its
// pseudo-terminal closes, COM5 leads nowhere) and comes back on a new one.
// The exchange tries the port once a second while it is lost, takes the same
// printer back, and leaves a printer with another unique number closed.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>
#include <iostream>
#include <memory>

#include "exchange/PrinterExchange.h"
#include "link/PortLoss.h"
#include "tests/windows/WinePrinter.h"

using namespace varmo;
using varmo::wintest::WinePrinter;

namespace {

bool pumpUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

class ReplugWin : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!wintest::PrinterAvailable())
            GTEST_SKIP() << "no printer: run under scripts/run-under-wine.sh";
        exchange.SetPort(QStringLiteral("COM5"));
        QObject::connect(&exchange, &PrinterExchange::portFailed,
                         [this](const QString&, int code) { lossCodes.push_back(code); });
        QObject::connect(&exchange, &PrinterExchange::printerBack, [this] { ++backs; });
        QObject::connect(&exchange, &PrinterExchange::replugRefused,
                         [this](const QString&) { ++refusals; });
    }

    // The printer known by its unique number, then pulled out.
    std::unique_ptr<WinePrinter> openThenPullOut()
    {
        auto printer = std::make_unique<WinePrinter>(QStringLiteral("COM5"));
        EXPECT_TRUE(exchange.Open());
        EXPECT_TRUE(exchange.Identify().has_value());
        printer->Stop();
        EXPECT_TRUE(pumpUntil([&] { return !lossCodes.empty(); }, 5000));
        EXPECT_FALSE(exchange.IsOpen());
        EXPECT_TRUE(exchange.WatchingForDevice());
        return printer;
    }

    PrinterExchange exchange;
    std::vector<int> lossCodes;
    int backs = 0;
    int refusals = 0;
};

TEST_F(ReplugWin, TheSamePrinterPluggedBackIsTakenBackByItself)
{
    auto printer = openThenPullOut();
    // Gone: a vanished device, "brak urządzenia" on the status line.
    ASSERT_EQ(lossCodes.size(), 1u);
    EXPECT_TRUE(DeviceVanished(lossCodes[0]));
    EXPECT_TRUE(exchange.State().lost);
    EXPECT_EQ(LossStateText(exchange.State().failureCode), "brak urządzenia");
    // Tried while nothing is there: it stays lost, the watch goes on.
    EXPECT_FALSE(pumpUntil([&] { return backs > 0; }, 2500));
    EXPECT_TRUE(exchange.WatchingForDevice());

    printer = std::make_unique<WinePrinter>(QStringLiteral("COM5"));
    QElapsedTimer back;
    back.start();
    ASSERT_TRUE(pumpUntil([&] { return backs > 0; }, 10000))
        << "refused " << refusals << " times; lost " << exchange.State().lost << ", error "
        << exchange.State().failureCode;
    std::cout << "[ replug ] COM5 taken back " << back.elapsed()
              << " ms after the printer came back (goal: within 2000 ms)" << std::endl;
    EXPECT_TRUE(exchange.IsOpen());
    EXPECT_FALSE(exchange.WatchingForDevice());
    EXPECT_FALSE(exchange.State().lost);
    EXPECT_EQ(refusals, 0);
    EXPECT_EQ(lossCodes.size(), 1u);
    EXPECT_TRUE(exchange.Identify().has_value());
}

TEST_F(ReplugWin, AnotherPrinterPluggedInStaysClosed)
{
    auto printer = openThenPullOut();
    printer = std::make_unique<WinePrinter>(QStringLiteral("COM5"),
                                            QStringList{QStringLiteral("--unique"),
                                                        QStringLiteral("ABC99999999")});
    ASSERT_TRUE(pumpUntil([&] { return refusals > 0; }, 10000));
    EXPECT_FALSE(exchange.IsOpen());
    EXPECT_EQ(backs, 0);
    // Still waiting for its own printer, which it takes when that comes.
    EXPECT_TRUE(exchange.WatchingForDevice());
    // That one is pulled out too, and the right one plugged in after it.
    printer->Stop();
    pumpUntil([] { return false; }, 1500);
    printer = std::make_unique<WinePrinter>(QStringLiteral("COM5"));
    ASSERT_TRUE(pumpUntil([&] { return backs > 0; }, 10000));
    EXPECT_TRUE(exchange.IsOpen());
}

}  // namespace
