#pragma once
// Completed receipts on a test printer, built from the console's commands.
#include <gtest/gtest.h>

#include <vector>

#include "commands/TransactionCommands.h"
#include "TestPrinter.h"

namespace varmo::test {

// Opens a receipt, sends the lines and confirms it with their total; every
// step must be taken without an error.
inline void Sell(TestPrinter& printer, const std::vector<SaleLine>& lines)
{
    printer.Send(TCmdTransStart(static_cast<std::int32_t>(lines.size())));
    ASSERT_EQ(printer.Error(), 0);
    Amount total = 0;
    std::int32_t number = 0;
    for (const SaleLine& line : lines) {
        printer.Send(TCmdTransLine(++number, line.name, line.quantity, line.rate, line.price,
                                   line.gross));
        ASSERT_EQ(printer.Error(), 0) << line.name;
        total += line.gross;
    }
    printer.Send(TCmdTransConfirm("01", "Anna", total));
    ASSERT_EQ(printer.Error(), 0);
}

}  // namespace varmo::test
