// The main menu: entries, order and captions as the operator knows them, the
// entries that prepare commands, and the ones whose dialogs come later.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "commands/ReportCommands.h"
#include "commands/TransactionCommands.h"
#include "protocol/Escaped.h"
#include "tests/console/ConsoleHarness.h"

namespace varmo::test {
namespace {

using MenuTest = ConsoleTest;

// "-" for a separator, "> " before the entries of a submenu.
QStringList Captions(const QMenu* menu, const QString& indent = QString())
{
    QStringList captions;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            captions << indent + QStringLiteral("-");
        } else {
            captions << indent + action->text();
            if (action->menu())
                captions << Captions(action->menu(), indent + QStringLiteral("> "));
        }
    }
    return captions;
}

TEST_F(MenuTest, EveryEntryInItsPlace)
{
    TFMain& main = Start();
    QStringList top;
    for (const QAction* action : main.menuBar()->actions())
        top << action->text();
    EXPECT_EQ(top, (QStringList{"Ustawienia", "Odczyt", "Raporty", "Inne", "O programie"}));

    EXPECT_EQ(Captions(main.Ustawienia1),
              (QStringList{"Port COM", "Standard znaków", "> Mazovia", "> Windows",
                           "Odblokuj funkcje serwisowe", "-", "Zegar", "Nagłówek",
                           "Stawki podatkowe", "Tryb obsługi błędów", "Metoda obliczania rabatu",
                           "-", "NIP/Fiskalizacja", "Data przeglądu"}));
    EXPECT_EQ(Captions(main.Odczyt1),
              (QStringList{"Nagłówek", "Kod błędu", "Informacje kasowe",
                           "Informacje kasowe - aktualna transakcja", "Możliwość sprzedaży"}));
    EXPECT_EQ(Captions(main.Raporty1),
              (QStringList{"Dobowy", "Pamięć fiskalna - wg dat",
                           "Pamięc fiskalna - wg numerów raportów ", "Baza towarowa",
                           "Opisy stałe"}));
    EXPECT_EQ(Captions(main.Inne1),
              (QStringList{"Paragon testowy", "Dowolna sekwencja", "-", "Anulowanie transakcji"}));
    EXPECT_EQ(main.Oprogramie2->menu(), nullptr);  // a top-level entry of its own
}

TEST_F(MenuTest, EntriesPrepareTheirCommandWithoutSendingIt)
{
    const struct {
        void (TFMain::*handler)();
        std::string rawFrame;
        QString description;
    } cases[] = {
        {&TFMain::Nagwek2Click, "\x1BP#uA9\x1B\\", "Odczyt nagłówka"},
        {&TFMain::Kodbdu1Click, "\x1BP#nB2\x1B\\", "Odczyt kodu błędu"},
        {&TFMain::Informacjekasowe1Click, "\x1BP23#sAE\x1B\\",
         "Odczyt informacji kasowych - ostatnia transakcja"},
        {&TFMain::Informacjekasoweaktualnatransakcja1Click, "\x1BP22#sAF\x1B\\",
         "Odczyt informacji kasowych"},
        {&TFMain::Opisystae1Click, TCmdConstDesc().GetRawFrame(), ""},
        {&TFMain::Anulowanietransakcji1Click, TCmdTransCancel().GetRawFrame(), ""},
    };
    TFMain& main = Start();
    main.MemoR->setPlainText(QStringLiteral("poprzednia odpowiedź"));
    main.RERcv->setPlainText(QStringLiteral("<ESC>P1#E0<ESC>\\"));
    for (const auto& c : cases) {
        SCOPED_TRACE(EscapedText(c.rawFrame));
        main.ConfirmOnPrinter = true;
        (main.*c.handler)();
        ASSERT_NE(main.CurrentCommand(), nullptr);
        EXPECT_EQ(main.CurrentCommand()->GetRawFrame(), c.rawFrame);
        EXPECT_EQ(main.RESend->toPlainText().toStdString(), EscapedText(c.rawFrame));
        if (!c.description.isEmpty()) {
            EXPECT_EQ(main.Memo->toPlainText(), c.description);
        }
        EXPECT_FALSE(main.Memo->toPlainText().isEmpty());
        EXPECT_FALSE(main.ConfirmOnPrinter);  // every hand-over clears it
        // The answer side is left alone, and nothing went to the port.
        EXPECT_EQ(main.MemoR->toPlainText(), QStringLiteral("poprzednia odpowiedź"));
        EXPECT_EQ(main.RERcv->toPlainText(), QStringLiteral("<ESC>P1#E0<ESC>\\"));
        EXPECT_FALSE(main.ComPort.Connected());
    }
    EXPECT_EQ(main.CommandHistory.Count(), std::size(cases));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MenuTest, EntriesOfDialogsNotBuiltYetDoNothing)
{
    TFMain& main = Start();
    main.Nagwek2Click();
    TCommand* before = main.CurrentCommand();
    const QString shown = main.RESend->toPlainText();
    main.SetServiceMode(true);
    for (QAction* entry :
         {main.Ustawczas1, main.Nagwek1, main.Stawkipodatkowe1, main.Trybobsugibdw1,
          main.Metodaobliczaniarabatu1, main.NIPFiskalizacja1, main.Dataprzegldu1,
          main.Moliwosprzeday1, main.Dobowy1, main.Pamifiskalna1, main.Pamicfiskalnawg1,
          main.Bazatowarowa1, main.Paragontestowy1, main.Dowolnasekwencja1}) {
        SCOPED_TRACE(entry->text().toStdString());
        EXPECT_TRUE(entry->isEnabled());
        entry->trigger();
    }
    EXPECT_EQ(main.CurrentCommand(), before);
    EXPECT_EQ(main.RESend->toPlainText(), shown);
    EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
}  // namespace varmo::test
