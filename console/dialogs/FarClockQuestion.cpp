#include "console/dialogs/FarClockQuestion.h"

#include "console/base/Prompts.h"
#include "console/base/Text.h"
#include "exchange/ServiceCheck.h"

namespace varmo {

bool OperatorTrustsComputerClock(const ClockReading& reading, const QString& caption)
{
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    const QString text =
        QStringLiteral("Zegar drukarki: %1\nZegar komputera: %2\nRóżnica: %3.\n\n"
                       "Zegary różnią się o ponad godzinę; może to zegar komputera jest błędny. "
                       "Ustawić zegar drukarki według komputera?")
            .arg(reading.printer.toString(format), reading.computer.toString(format),
                 FromUtf8(ClockDifferenceText(reading.Difference())));
    return CurrentPrompts().confirm(text, caption);
}

}  // namespace varmo
