// The console against varmo-sim: a printer's clock more than an hour from
// the computer's is set from it only after the operator has seen both and
// said yes; the NIP the printer took, on a port typed as a device path,
// kept in the visit book and found by its search.
#include <QLineEdit>
#include <algorithm>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "book/BookPath.h"
#include "book/VisitBook.h"
#include "commands/SettingCommands.h"
#include "console/dialogs/other/ServiceCheckDialog.h"
#include "console/dialogs/other/VisitBookDialog.h"
#include "console/dialogs/settings/TFCOM.h"
#include "console/dialogs/settings/TFSetDate.h"
#include "console/mainwindow/TFMain.h"
#include "tests/console/OwnBookFolder.h"
#include "tests/e2e/E2EHarness.h"

namespace varmo::test {
namespace {

class ClockAndNipConsoleTest : public ConsoleWithPrinter {
protected:
    OwnBookFolder bookFolder_{path(QStringLiteral("data"))};
};

bool asksWithBothClocks(const Shown& shown, const QString& caption)
{
    return shown.question && shown.caption == caption &&
           shown.text.contains(QStringLiteral("Zegar drukarki: ")) &&
           shown.text.contains(QStringLiteral("Zegar komputera: ")) &&
           shown.text.contains(QStringLiteral("spieszy się"));  // the printer is ahead
}

TEST_F(ClockAndNipConsoleTest, AClockTwoHoursOffIsSetFromTheComputerOnlyAfterTheOperatorSaysYes)
{
    StartPrinter({"--unique", "TST00012345", "--clock-offset", "7200"});
    TFMain& main = Start();
    ServiceCheckDialog check(main);
    check.RepeatClick();
    ASSERT_TRUE(check.Result().has_value());
    const Lines attention = check.Result()->Attention();
    EXPECT_TRUE(std::any_of(attention.begin(), attention.end(), [](const std::string& line) {
        return line.find("(może to zegar komputera)") != std::string::npos;
    }));

    // "Popraw zegar" and the clock dialog left at the computer's time: both
    // ask, and a "no" sends nothing.
    ASSERT_TRUE(check.PoprawZegar->isEnabled());
    check.PoprawZegar->click();
    auto& clock = *qobject_cast<TFSetDate*>(forms().FSetDate);
    clock.show();
    clock.BBOK->click();
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_TRUE(asksWithBothClocks(prompts.shown[0], QStringLiteral("Popraw zegar"))) << prompts.shown[0];
    EXPECT_TRUE(asksWithBothClocks(prompts.shown[1], QStringLiteral("Ustawienie zegara"))) << prompts.shown[1];
    EXPECT_FALSE(clock.CountingDown());
    EXPECT_TRUE(check.PoprawZegar->isEnabled());
    clock.BBCancel->click();
    check.RepeatClick();
    ASSERT_TRUE(check.Result()->clockDifference.has_value());
    EXPECT_NEAR(static_cast<double>(*check.Result()->clockDifference), 7200, 2);

    // "Yes": set at the turn of the minute.
    prompts.shown.clear();
    prompts.confirmAnswers = {true};
    check.PoprawZegar->click();
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_TRUE(prompts.shown[1].text.startsWith(QStringLiteral("Zegar ustawiony; różnica teraz ")))
        << prompts.shown[1];
    check.RepeatClick();
    EXPECT_NEAR(static_cast<double>(check.Result()->clockDifference.value_or(9999)), 0, 2);
}

TEST_F(ClockAndNipConsoleTest, TheNipSentOnAPortTypedAsAPathIsInTheBookAndItsSearchFindsThePrinter)
{
    StartPrinter({"--unique", "TST00077777"});
    StoreRaw(QStringLiteral("printer/identify"), QStringLiteral("true"));
    TFMain& main = Start();
    auto& port = *qobject_cast<TFCOM*>(forms().FCOM);
    port.RBCOMCustom->setChecked(true);
    port.EdCOM->setText(printer_->path());
    port.FormClose();
    main.SubmitCommand(std::make_unique<TCmdSetNIP>(false, "526-000-12-46"));
    main.SBSendClick();

    VisitBookDialog visits(main);
    visits.show();
    for (const QString search : {"5260001246", "526-000-12-46"}) {
        SCOPED_TRACE(search.toStdString());
        visits.Szukaj->setText(search);
        EXPECT_EQ(TableColumn(visits.Drukarki, 0), QStringList{"TST00077777"});
    }
    book::VisitBook book(book::DefaultBookPath());
    const std::vector<book::VisitRow> rows = book.Visits(QStringLiteral("TST00077777"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].port, printer_->path());
    EXPECT_TRUE(prompts.shown.empty()) << prompts.shown.front();
}

}  // namespace
}  // namespace varmo::test
