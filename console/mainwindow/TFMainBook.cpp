// The printer known from the first contact and the visit book: the cash
// information read as the port opens, the printer on the status line, the
// visit followed as printers come and go, and the book's two windows under
// "Inne".
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include "book/Book.h"
#include "console/base/HandlerGuard.h"
#include "console/base/Text.h"
#include "console/dialogs/other/DueDialog.h"
#include "console/dialogs/other/VisitBookDialog.h"
#include "console/dialogs/settings/BookServerDialog.h"
#include "console/mainwindow/TFMain.h"
#include "commands/ReportCommands.h"
#include "protocol/Frame.h"
#include "commands/SettingCommands.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Settings.h"

namespace varmo {

namespace {

// ENQ's bit for "Ostatni rozkaz poprawnie".
constexpr unsigned char kCommandCorrectBit = 0x04;

// What the visit book calls a command that sets something or prints a
// report; nothing for any other.
QString settingName(const TCommand& command)
{
    if (dynamic_cast<const TCmdSetClock*>(&command))
        return QStringLiteral("Zegar");
    if (dynamic_cast<const TCmdSetHeader*>(&command))
        return QStringLiteral("Nagłówek");
    if (dynamic_cast<const TCmdSetRates*>(&command))
        return QStringLiteral("Stawki");
    if (dynamic_cast<const TCmdSetInspectionDate*>(&command))
        return QStringLiteral("Data przeglądu");
    if (dynamic_cast<const TCmdSetNIP*>(&command))
        return QStringLiteral("NIP");
    if (dynamic_cast<const TCmdSetErrMode*>(&command))
        return QStringLiteral("Tryb błędów");
    if (dynamic_cast<const TCmdSetDiscountMode*>(&command))
        return QStringLiteral("Rabat");
    if (dynamic_cast<const TCmdRepDay*>(&command))
        return QStringLiteral("Raport dobowy");
    if (dynamic_cast<const TCmdRepPeriodDay*>(&command) || dynamic_cast<const TCmdRepPeriodNo*>(&command))
        return QStringLiteral("Raport okresowy");
    return {};
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
    Rozpoznawaj1->setChecked(Settings::Read(Settings::IdentifyOnOpen));
    connect(Rozpoznawaj1, &QAction::toggled, this, [](bool on) {
        Guarded([&] { Settings::Write(Settings::IdentifyOnOpen, on); });
    });
    // The server's settings, named apart from "Inne" → "Księga wizyt…", the book itself.
    AddDialogEntry(Ustawienia1, QStringLiteral("Serwer księgi wizyt…"), "KsiegaSerwer1",
                   [](MainServices& main) { return new BookServerDialog(main); });
    // The shared book's state, while a server is set: sent, waiting, or why not.
    BookLabel = Named(new QLabel(statusBar()), "BookLabel");
    BookLabel->hide();
    statusBar()->addPermanentWidget(BookLabel);
    // What the book has not taken is said first, until it goes.
    book_.OnSyncChange([this](const book::SyncState& state) {
        const QString unsaved = book_.UnsavedText();
        BookLabel->setVisible(state.serverSet || !unsaved.isEmpty());
        const QString text = unsaved.isEmpty() ? book::BookStateText(state, true) : unsaved;
        if (BookLabel->text() != text)
            BookLabel->setText(text);
        BookLabel->setToolTip(unsaved.isEmpty() ? book::BookStateText(state)
                                                : unsaved + QStringLiteral(": ") + book_.Problem());
    });
    book_.ServerChanged();
    // A moment after the window shows, the book is looked over for damage
    // off the window's thread; its first use then finds that done.
    QTimer::singleShot(1000, this, [this] { Guarded([&] { book_.LookOverSoon(); }); });
    AddDialogEntry(Inne1, QStringLiteral("Księga wizyt…"), "Ksiegawizyt1",
                   [](MainServices& main) { return new VisitBookDialog(main); });
    AddDialogEntry(Inne1, QStringLiteral("Do przeglądu…"), "Doprzegladu1",
                   [](MainServices& main) { return new DueDialog(main); });
}

void TFMain::IdentifyPrinter()
{
    if (!Settings::Read(Settings::IdentifyOnOpen) || !Exchange.IsOpen() || Exchange.Busy())
        return;
    if (!Exchange.Identify())
        PrinterLabel->setText(QStringLiteral("drukarka nieznana (brak informacji kasowych)"));
}

void TFMain::keepSettingTaken(const TCommand& command)
{
    // Only while a visit goes on: the book is not opened for this, and a
    // console without one asks the printer nothing more than it did.
    const QString what = settingName(command);
    if (what.isEmpty() || !book_.VisitGoingOn() || Exchange.Busy())
        return;
    // The status byte's "last command correct" says whether the printer
    // took it.
    const std::optional<unsigned char> status = Exchange.QueryStatus(kENQ);
    if (!status || (*status & kCommandCorrectBit) == 0)
        return;
    Lines described;
    command.DescribeCommand(described);
    QStringList detail;
    for (const std::string& line : described)
        detail << FromUtf8(line);
    if (const auto* inspection = dynamic_cast<const TCmdSetInspectionDate*>(&command)) {
        book_.RecordInspection(QDate(2000 + inspection->Year(), inspection->Month(), inspection->Day()),
                               FromCp1250(inspection->Message()));
        return;
    }
    const book::SettingRecord setting{QDateTime::currentDateTime(), what,
                                      detail.join(QStringLiteral("; ")), {}, {}};
    // No command reads the NIP back: the one the printer took goes into its record.
    if (const auto* nip = dynamic_cast<const TCmdSetNIP*>(&command)) {
        book_.RecordNip(FromCp1250(nip->Nip()), nip->Fiscalise(), setting);
        return;
    }
    book_.RecordSetting(setting);
}

}  // namespace varmo
