#pragma once
// The console started for real with its COM1 on a running varmo-sim.
#include <QPlainTextEdit>
#include <memory>

#include "tests/console/ConsoleHarness.h"
#include "tests/e2e/SimPrinter.h"

namespace varmo::test {

class ConsoleWithPrinter : public ConsoleTest {
protected:
    // Starts the printer with these options and points COM1 at it.
    void StartPrinter(const QStringList& options = {})
    {
        printer_ = std::make_unique<SimPrinter>(options, path(QStringLiteral("paper.txt")));
        ASSERT_FALSE(printer_->path().isEmpty()) << "varmo-sim did not start";
        PointCom1At(printer_->path());
    }

    // "Wykonaj" on the current command; true when an answer frame came.
    bool SendAndAwaitAnswer(TFMain& main, int limitMs = 10000)
    {
        main.RERcv->clear();
        main.SBSendClick();
        return WaitFor([&] { return !main.RERcv->toPlainText().isEmpty(); }, limitMs);
    }

    QStringList DescriptionLines(const TFMain& main) const
    {
        return main.MemoR->toPlainText().split(QLatin1Char('\n'));
    }

    void TearDown() override
    {
        ConsoleTest::TearDown();
        printer_.reset();
    }

    std::unique_ptr<SimPrinter> printer_;
};

}  // namespace varmo::test
