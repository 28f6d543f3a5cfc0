// The main menu: the entries that prepare commands, and the ones whose
// dialogs come later.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QPlainTextEdit>

#include "commands/ReportCommands.h"
#include "commands/TransactionCommands.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "console/dialogs/other/TFEditSeq.h"
#include "console/dialogs/reports/TFReadGoodsStatus.h"
#include "console/dialogs/reports/TFRepDay.h"
#include "console/dialogs/reports/TFRepNoDay.h"
#include "console/dialogs/reports/TFRepPeriodDay.h"
#include "console/dialogs/other/TFTestTrans.h"
#include "protocol/Escaped.h"
#include "tests/console/ConsoleHarness.h"

namespace varmo::test {
namespace {

using MenuTest = ConsoleTest;

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

TEST_F(MenuTest, ReportQueryAndSendingEntriesOpenTheirDialogs)
{
    TFMain& main = Start();
    main.SetServiceMode(true);
    const struct {
        QAction* entry;
        QDialog* dialog;
        QString caption;
    } cases[] = {
        {main.Moliwosprzeday1, forms().FReadGoodsStatus, "Odczyt statusu towaru"},
        {main.Dobowy1, forms().FRepDay, "Raport dobowy"},
        {main.Pamifiskalna1, forms().FRepPeriodDay, "Raport okresowy wg dat"},
        {main.Pamicfiskalnawg1, forms().FRepNoDay, "Raport okresowy wg numerów"},
        {main.Bazatowarowa1, forms().FDatabaseReport, "Kontrola bazy danych"},
        {main.Paragontestowy1, forms().FTestTrans, "Paragon testowy"},
        {main.Dowolnasekwencja1, forms().FEditSeq, "Edycja dowolnej sekwencji"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        QWidget* shown = nullptr;
        QTimer::singleShot(0, &main, [&] {
            shown = QApplication::activeModalWidget();
            if (shown != nullptr)
                shown->close();
        });
        c.entry->trigger();
        EXPECT_EQ(shown, c.dialog);
        EXPECT_EQ(c.dialog->windowTitle(), c.caption);
    }
    // Closing any of them hands nothing over.
    EXPECT_EQ(main.CurrentCommand(), nullptr);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MenuTest, DialogControlsCarryTheirFormNames)
{
    Start();
    const struct {
        QDialog* dialog;
        QStringList names;
    } cases[] = {
        {forms().FRepDay, {"CBSetDate", "ME", "BBOK", "BBCancel"}},
        {forms().FRepPeriodDay, {"MEStart", "MEStop", "RG", "BBOk", "BBCancel"}},
        {forms().FRepNoDay, {"EdStart", "EdStop", "RG", "BBOk", "BBCancel"}},
        {forms().FReadGoodsStatus, {"EdName", "CBRate", "BitBtn1", "BitBtn2"}},
        {forms().FEditSeq,
         {"Memo", "SpeedButton1", "SpeedButton2", "SpeedButton3", "BBOk", "BitBtn2"}},
        {forms().FTestTrans, {"BBOK", "BitBtn2"}},
        {forms().FDatabaseReport,
         {"RG", "DBGrid", "MemoryTable", "SpeedButton1", "SBSave", "SBOpen", "SBSend",
          "BBCancel"}},
    };
    for (const auto& c : cases)
        for (const QString& name : c.names)
            EXPECT_EQ(c.dialog->findChildren<QObject*>(name).size(), 1)
                << c.dialog->windowTitle().toStdString() << ": " << name.toStdString();
}

}  // namespace
}  // namespace varmo::test
