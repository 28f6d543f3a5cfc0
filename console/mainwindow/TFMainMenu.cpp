// The main window's menu: its entries in their order, and what each does.
#include <QActionGroup>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>

#include "commands/ReadCommands.h"
#include "commands/ReportCommands.h"
#include "commands/TransactionCommands.h"
#include "console/base/HandlerGuard.h"
#include "console/base/Prompts.h"
#include "console/dialogs/settings/TFCOM.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "console/dialogs/other/TFEditSeq.h"
#include "console/mainwindow/TFMain.h"
#include "console/dialogs/settings/TFPass.h"
#include "console/dialogs/reports/TFReadGoodsStatus.h"
#include "console/dialogs/reports/TFRepDay.h"
#include "console/dialogs/reports/TFRepNoDay.h"
#include "console/dialogs/reports/TFRepPeriodDay.h"
#include "console/dialogs/other/TFTestTrans.h"
#include "console/dialogs/other/TFormAbout.h"

namespace varmo {

namespace {

template <typename Handler>
QAction* entry(QMenu* menu, const QString& caption, TFMain* window, Handler handler)
{
    QAction* action = menu->addAction(caption);
    QObject::connect(action, &QAction::triggered, window, handler);
    return action;
}

}  // namespace

void TFMain::buildMenu()
{
    QMenuBar* bar = menuBar();

    Ustawienia1 = bar->addMenu(QStringLiteral("Ustawienia"));
    PortCOM1 = entry(Ustawienia1, QStringLiteral("Port COM"), this, &TFMain::PortCOM1Click);
    Standardznakw1 = Ustawienia1->addMenu(QStringLiteral("Standard znaków"));
    Mazovia1 = entry(Standardznakw1, QStringLiteral("Mazovia"), this, &TFMain::Mazovia1Click);
    Windows1 = entry(Standardznakw1, QStringLiteral("Windows"), this, &TFMain::Windows1Click);
    auto* codePages = new QActionGroup(this);
    for (QAction* action : {Mazovia1, Windows1}) {
        action->setCheckable(true);
        codePages->addAction(action);
    }
    Odblokujfunkcjeserwisowe1 = entry(Ustawienia1, QStringLiteral("Odblokuj funkcje serwisowe"),
                                      this, &TFMain::Odblokujfunkcjeserwisowe1Click);
    Ustawienia1->addSeparator();
    Ustawczas1 = entry(Ustawienia1, QStringLiteral("Zegar"), this, &TFMain::Ustawczas1Click);
    Nagwek1 = entry(Ustawienia1, QStringLiteral("Nagłówek"), this, &TFMain::Nagwek1Click);
    Stawkipodatkowe1 = entry(Ustawienia1, QStringLiteral("Stawki podatkowe"), this,
                             &TFMain::Stawkipodatkowe1Click);
    Trybobsugibdw1 = entry(Ustawienia1, QStringLiteral("Tryb obsługi błędów"), this,
                           &TFMain::Trybobsugibdw1Click);
    Metodaobliczaniarabatu1 = entry(Ustawienia1, QStringLiteral("Metoda obliczania rabatu"), this,
                                    &TFMain::Metodaobliczaniarabatu1Click);
    Ustawienia1->addSeparator();
    NIPFiskalizacja1 = entry(Ustawienia1, QStringLiteral("NIP/Fiskalizacja"), this,
                             &TFMain::NIPFiskalizacja1Click);
    Dataprzegldu1 = entry(Ustawienia1, QStringLiteral("Data przeglądu"), this,
                          &TFMain::Dataprzegldu1Click);

    Odczyt1 = bar->addMenu(QStringLiteral("Odczyt"));
    Nagwek2 = entry(Odczyt1, QStringLiteral("Nagłówek"), this, &TFMain::Nagwek2Click);
    Kodbdu1 = entry(Odczyt1, QStringLiteral("Kod błędu"), this, &TFMain::Kodbdu1Click);
    Informacjekasowe1 = entry(Odczyt1, QStringLiteral("Informacje kasowe"), this,
                              &TFMain::Informacjekasowe1Click);
    Informacjekasoweaktualnatransakcja1 =
        entry(Odczyt1, QStringLiteral("Informacje kasowe - aktualna transakcja"), this,
              &TFMain::Informacjekasoweaktualnatransakcja1Click);
    Moliwosprzeday1 = entry(Odczyt1, QStringLiteral("Możliwość sprzedaży"), this,
                            &TFMain::Moliwosprzeday1Click);

    Raporty1 = bar->addMenu(QStringLiteral("Raporty"));
    Dobowy1 = entry(Raporty1, QStringLiteral("Dobowy"), this, &TFMain::Dobowy1Click);
    Pamifiskalna1 = entry(Raporty1, QStringLiteral("Pamięć fiskalna - wg dat"), this,
                          &TFMain::Pamifiskalna1Click);
    // The trailing blank belongs to the caption.
    Pamicfiskalnawg1 = entry(Raporty1, QStringLiteral("Pamięc fiskalna - wg numerów raportów "),
                             this, &TFMain::Pamicfiskalnawg1Click);
    Bazatowarowa1 = entry(Raporty1, QStringLiteral("Baza towarowa"), this,
                          &TFMain::Bazatowarowa1Click);
    Opisystae1 = entry(Raporty1, QStringLiteral("Opisy stałe"), this, &TFMain::Opisystae1Click);

    Inne1 = bar->addMenu(QStringLiteral("Inne"));
    Paragontestowy1 = entry(Inne1, QStringLiteral("Paragon testowy"), this,
                            &TFMain::Paragontestowy1Click);
    Dowolnasekwencja1 = entry(Inne1, QStringLiteral("Dowolna sekwencja"), this,
                              &TFMain::Dowolnasekwencja1Click);
    Inne1->addSeparator();
    Anulowanietransakcji1 = entry(Inne1, QStringLiteral("Anulowanie transakcji"), this,
                                  &TFMain::Anulowanietransakcji1Click);

    Oprogramie2 = bar->addAction(QStringLiteral("O programie"));
    connect(Oprogramie2, &QAction::triggered, this, &TFMain::Oprogramie2Click);
}

QAction* TFMain::AddDialogEntry(QMenu* menu, const QString& caption, const char* name,
                                std::function<QDialog*(MainServices&)> make)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this,
            [this, make = std::move(make), dialog = static_cast<QDialog*>(nullptr)]() mutable {
                Guarded([&] {
                    if (dialog == nullptr) {
                        dialog = make(*this);
                        dialog->setParent(this, dialog->windowFlags());
                    }
                    showModal(dialog);
                });
            });
    return action;
}

void TFMain::PortCOM1Click()
{
    Guarded([&] { showModal(forms_.FCOM); });
}

void TFMain::Mazovia1Click()
{
    Guarded([&] { SetCodePage(QStringLiteral("maz")); });
}

void TFMain::Windows1Click()
{
    Guarded([&] { SetCodePage(QStringLiteral("win")); });
}

void TFMain::Odblokujfunkcjeserwisowe1Click()
{
    Guarded([&] {
        if (ServiceUnlocked) {
            SetServiceMode(false);
            CurrentPrompts().message(QStringLiteral("Funkcje serwisowe zostały zablokowane"),
                                     QStringLiteral("Funkcje serwisowe"));
        } else {
            showModal(forms_.FPass);
        }
    });
}

void TFMain::Ustawczas1Click()
{
    Guarded([&] { showModal(forms_.FSetDate); });
}

void TFMain::Nagwek1Click()
{
    Guarded([&] { showModal(forms_.FSetHeader); });
}

void TFMain::Stawkipodatkowe1Click()
{
    Guarded([&] { showModal(forms_.FSetRates); });
}

void TFMain::Trybobsugibdw1Click()
{
    Guarded([&] { showModal(forms_.FSetErrMode); });
}

void TFMain::Metodaobliczaniarabatu1Click()
{
    Guarded([&] { showModal(forms_.FSetDiscMode); });
}

void TFMain::NIPFiskalizacja1Click()
{
    // A service entry: nothing while the service functions are locked.
    Guarded([&] {
        if (ServiceUnlocked)
            showModal(forms_.FSetNIP);
    });
}

void TFMain::Dataprzegldu1Click()
{
    // A service entry: nothing while the service functions are locked.
    Guarded([&] {
        if (ServiceUnlocked)
            showModal(forms_.FSetInspectionDate);
    });
}

void TFMain::Nagwek2Click()
{
    Guarded([&] { SubmitCommand(std::make_unique<TCmdReadHeader>()); });
}

void TFMain::Kodbdu1Click()
{
    Guarded([&] { SubmitCommand(std::make_unique<TCmdReadErrCode>()); });
}

void TFMain::Informacjekasowe1Click()
{
    Guarded([&] { SubmitCommand(std::make_unique<TCmdReadCashInfo>(false)); });
}

void TFMain::Informacjekasoweaktualnatransakcja1Click()
{
    Guarded([&] { SubmitCommand(std::make_unique<TCmdReadCashInfo>(true)); });
}

void TFMain::Moliwosprzeday1Click()
{
    Guarded([&] { showModal(forms_.FReadGoodsStatus); });
}

void TFMain::Dobowy1Click()
{
    Guarded([&] { showModal(forms_.FRepDay); });
}

void TFMain::Pamifiskalna1Click()
{
    Guarded([&] { showModal(forms_.FRepPeriodDay); });
}

void TFMain::Pamicfiskalnawg1Click()
{
    Guarded([&] { showModal(forms_.FRepNoDay); });
}

void TFMain::Bazatowarowa1Click()
{
    Guarded([&] { showModal(forms_.FDatabaseReport); });
}

void TFMain::Opisystae1Click()
{
    Guarded([&] { SubmitCommand(std::make_unique<TCmdConstDesc>()); });
}

void TFMain::Paragontestowy1Click()
{
    Guarded([&] { showModal(forms_.FTestTrans); });
}

void TFMain::Dowolnasekwencja1Click()
{
    // A service entry: nothing while the service functions are locked.
    Guarded([&] {
        if (ServiceUnlocked)
            showModal(forms_.FEditSeq);
    });
}

void TFMain::Anulowanietransakcji1Click()
{
    Guarded([&] { SubmitCommand(std::make_unique<TCmdTransCancel>()); });
}

void TFMain::Oprogramie2Click()
{
    Guarded([&] { showModal(forms_.FormAbout); });
}

}  // namespace varmo
