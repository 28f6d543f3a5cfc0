// The printer known from the first contact and the visit book: the cash
// information read as the port opens, the printer on the status line, the
// visit followed as printers come and go, and the book's two windows under
// "Inne".
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "console/base/HandlerGuard.h"
#include "console/base/Text.h"
#include "console/dialogs/other/DueDialog.h"
#include "console/dialogs/other/VisitBookDialog.h"
#include "console/mainwindow/TFMain.h"
#include "console/widgets/ObjectNames.h"
#include "link/SettingsStore.h"

namespace varmo {

namespace {

// printer/identify: true unless set to false.
bool identifyOnOpen()
{
    return ReadSetting(QStringLiteral("printer/identify")).trimmed().toLower() != QStringLiteral("false");
}

QString printerText(const CashInfo& cash)
{
    return FromCp1250(cash.uniqueNumber) +
           (cash.fiscal ? QStringLiteral(", fiskalna") : QStringLiteral(", niefiskalna"));
}

}  // namespace

void TFMain::buildBook()
{
    PrinterLabel = Named(new QLabel(statusBar()), "PrinterLabel");
    statusBar()->addPermanentWidget(PrinterLabel);
    connect(&Exchange, &PrinterExchange::printerIdentified, this, [this](const CashInfo& cash) {
        Guarded([&] {
            PrinterLabel->setText(printerText(cash));
            book_.PrinterMet(cash, Exchange.PortName());
        });
    });
    connect(&Exchange, &PrinterExchange::stateChanged, this, [this](const PortState& state) {
        // Closed on purpose, not lost under a re-plug: the visit is over.
        if (state.open || state.failureCode != 0)
            return;
        Guarded([&] {
            PrinterLabel->clear();
            book_.PortClosed();
        });
    });
    // "Ustawienia": whether the port's opening reads the cash information.
    Ustawienia1->addSeparator();
    Rozpoznawaj1 = Ustawienia1->addAction(QStringLiteral("Rozpoznawaj drukarkę po otwarciu portu"));
    Rozpoznawaj1->setObjectName(QStringLiteral("Rozpoznawaj1"));
    Rozpoznawaj1->setCheckable(true);
    Rozpoznawaj1->setChecked(identifyOnOpen());
    connect(Rozpoznawaj1, &QAction::toggled, this, [](bool on) {
        Guarded([&] { WriteSetting(QStringLiteral("printer/identify"), on ? QStringLiteral("true") : QStringLiteral("false")); });
    });
    AddDialogEntry(Inne1, QStringLiteral("Księga wizyt…"), "Ksiegawizyt1",
                   [](MainServices& main) { return new VisitBookDialog(main); });
    AddDialogEntry(Inne1, QStringLiteral("Do przeglądu…"), "Doprzegladu1",
                   [](MainServices& main) { return new DueDialog(main); });
}

void TFMain::IdentifyPrinter()
{
    if (!identifyOnOpen() || !Exchange.IsOpen() || Exchange.Busy())
        return;
    if (!Exchange.Identify())
        PrinterLabel->setText(QStringLiteral("drukarka nieznana (brak informacji kasowych)"));
}

}  // namespace varmo
