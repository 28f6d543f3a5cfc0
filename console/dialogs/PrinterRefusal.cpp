#include "console/dialogs/PrinterRefusal.h"

#include <QStringList>

#include "commands/ReadCommands.h"
#include "console/dialogs/settings/DirectRead.h"
#include "console/base/Prompts.h"
#include "console/dialogs/MainServices.h"
#include "exchange/PrinterExchange.h"
#include "console/base/Text.h"

namespace varmo {

namespace {

// The printer takes the last frame in before its status tells of it.
constexpr std::int32_t kSettleMs = 100;
constexpr unsigned char kLastCommandCorrect = 0x04;  // CMD in the ENQ byte

}  // namespace

bool TellIfRefused(MainServices& main, const QString& caption)
{
    // A printer that sends its error number by itself has done so by now:
    // that frame goes to the main window, not into the status byte.
    if (!main.Printer().PauseBetweenFrames(kSettleMs))
        return false;
    const std::optional<unsigned char> status = main.QueryPrinterStatus(false);
    if (!status || (*status & kLastCommandCorrect) != 0)
        return false;
    TCmdReadErrCode read;
    bool told = false;
    DirectRead(
        main, read,
        [&] {
            if (read.ErrorNumber() == 0)
                return;
            Lines lines;
            read.DescribeAnswer(lines);
            QStringList text;
            for (const std::string& line : lines)
                if (!line.empty())
                    text << FromUtf8(line);
            CurrentPrompts().message(text.join(QLatin1Char('\n')), caption);
            told = true;
        },
        QStringLiteral("Drukarka nie wykonała ostatniego rozkazu, a kodu błędu nie udało się "
                       "odczytać"),
        caption);
    // DirectRead has told of an unreadable number itself.
    return told || !read.Accepted();
}

}  // namespace varmo
