// Start-up and exit of the main window, the code page and the service lock.
#include <QAction>

#include "console/base/HandlerGuard.h"
#include "console/mainwindow/PortStatusLine.h"
#include "console/mainwindow/TFMain.h"
#include "link/SettingsStore.h"
#include "link/StoredLink.h"
#include "protocol/CodePage.h"
#include "protocol/Frame.h"

namespace varmo {

void TFMain::FormCreate()
{
    // ComDataPacket cuts between ESC P and ESC \ from the exchange's making.
    // Each step stands alone: a stored value that cannot be read costs only
    // its own step (after the error box), never the ones after it, and above
    // all never the service lock.
    SetCodePage(QStringLiteral("maz"));
    Guarded([&] { SetCodePage(StoredCodePage()); });
    Guarded([&] { ComPort.SetCustomBaudRate(StoredBaud()); });
    Guarded([&] { ComPort.SetPort(StoredPortName()); });
    Fiscal = true;
    ConfirmOnPrinter = false;
    SetServiceMode(false);
}

void TFMain::FormDestroy()
{
    Guarded([&] { StoreCodePage(CodePage); });
}

void TFMain::SetCodePage(const QString& value)
{
    if (value == QLatin1String("maz"))
        Mazovia1->setChecked(true);
    else
        Windows1->setChecked(true);
    // Kept as it is, also an unknown value: it sends like "win" and goes back
    // to the store unchanged at exit.
    CodePage = value;
    SetConsoleCodePage(value.toStdString());
    StatusLine->ShowCodePage(CodePage);
}

void TFMain::SetServiceMode(bool unlocked)
{
    for (QAction* entry : {NIPFiskalizacja1, Dataprzegldu1, Dowolnasekwencja1})
        entry->setEnabled(unlocked);
    Odblokujfunkcjeserwisowe1->setText(unlocked ? QStringLiteral("Zablokuj funkcje serwisowe")
                                                : QStringLiteral("Odblokuj funkcje serwisowe"));
    ServiceUnlocked = unlocked;
}

}  // namespace varmo
