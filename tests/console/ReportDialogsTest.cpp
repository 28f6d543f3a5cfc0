// The report and query dialogs: what each hands over for what the operator
// typed, the messages that keep a dialog open, and the daily report's
// follow-up status query.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "commands/ReadCommands.h"
#include "console/widgets/DateMask.h"
#include "console/widgets/MaskEdit.h"
#include "console/widgets/RadioGroup.h"
#include "console/dialogs/reports/TFReadGoodsStatus.h"
#include "console/dialogs/reports/TFRepDay.h"
#include "console/dialogs/reports/TFRepNoDay.h"
#include "console/dialogs/reports/TFRepPeriodDay.h"
#include "console/dialogs/settings/TFSetDate.h"
#include "protocol/Frame.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

using ReportDialogsTest = ConsoleTest;

std::string Body(const TFMain& main)
{
    return main.CurrentCommand() == nullptr ? "(none)" : main.CurrentCommand()->GetBody();
}

TEST_F(ReportDialogsTest, TypedDatesAreReadPieceByPiece)
{
    Start();
    TFRepDay& dialog = *forms().FRepDay;
    EXPECT_EQ(MaskedDateText(dialog.ME), QStringLiteral("20  -  -  "));
    EXPECT_FALSE(dialog.ME->isEnabled());
    dialog.CBSetDate->click();
    EXPECT_TRUE(dialog.ME->isEnabled());

    const struct {
        QString typed;
        QString shown;
    } cases[] = {
        {"2024-05-07", "2024-05-07"},
        // The mask's blank marks a digit left unfilled.
        {"2023-_1-31", "2023- 1-31"},
        {"2024-5", "2024-5 -  "},
    };
    for (const auto& c : cases) {
        dialog.ME->setText(c.typed);
        EXPECT_EQ(MaskedDateText(dialog.ME), c.shown) << c.typed.toStdString();
    }
    dialog.ME->setText(QStringLiteral("2024-05-07"));
    EXPECT_EQ(DatePiece(dialog.ME, 3), 24);
    EXPECT_EQ(DatePiece(dialog.ME, 6), 5);
    EXPECT_EQ(DatePiece(dialog.ME, 9), 7);
}

TEST_F(ReportDialogsTest, AWholeYearTypedOverTheFixed20GivesTheSameDate)
{
    Start();
    TFRepDay& day = *forms().FRepDay;
    day.CBSetDate->click();
    auto* clock = qobject_cast<TFSetDate*>(forms().FSetDate)->ME;
    const struct {
        QLineEdit* field;
        QString before;
        std::function<QString()> shown;
        QString typedYear, typedRest, expected;
    } fields[] = {
        {clock, "2025-03-04   10:11", [&] { return clock->MaskedText(); }, "2026", "12071014",
         "2026-12-07   10:14"},
        {day.ME, "2025-03-04", [&] { return MaskedDateText(day.ME); }, "2026", "1207",
         "2026-12-07"},
        {forms().FRepPeriodDay->MEStart, "", [&] {
             return MaskedDateText(forms().FRepPeriodDay->MEStart); }, "2030", "0101",
         "2030-01-01"},
    };
    for (const auto& f : fields) {
        // The whole year or its last two digits, from the field's start or
        // over all of it selected.
        const QString years[] = {f.typedYear, f.typedYear.mid(2)};
        for (const QString& year : years) {
            for (const bool selected : {false, true}) {
                SCOPED_TRACE(year.toStdString() + (selected ? " over a selection" : " from the start"));
                f.field->setText(f.before);
                if (selected)
                    f.field->selectAll();
                else
                    f.field->setCursorPosition(0);
                QTest::keyClicks(f.field, year + f.typedRest);
                EXPECT_EQ(f.shown().toStdString(), f.expected.toStdString());
            }
        }
    }
}

TEST_F(ReportDialogsTest, DailyReport)
{
    PtyPrinter printer;
    printer.answerEnq(0x08);  // fiscal
    PointCom1At(printer.path());
    TFMain& main = Start();
    TFRepDay& dialog = *forms().FRepDay;
    dialog.show();

    // Ticked with the date left empty: refused, and the dialog stays.
    dialog.CBSetDate->setChecked(true);
    dialog.BBOKClick();
    EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Nieproprawna data", "Błąd edycji")});
    EXPECT_EQ(main.CurrentCommand(), nullptr);
    EXPECT_TRUE(dialog.isVisible());

    // 2031 passes the dialog and fails at the hand-over; still open.
    prompts.shown.clear();
    dialog.ME->setText(QStringLiteral("2031-01-01"));
    dialog.BBOKClick();
    EXPECT_EQ(prompts.shown, std::vector<Shown>{ErrorBox("Nieprawdłowy format.")});
    EXPECT_TRUE(dialog.isVisible());

    prompts.shown.clear();
    dialog.ME->setText(QStringLiteral("2024-05-07"));
    dialog.BBOKClick();
    EXPECT_EQ(Body(main), "1;24;05;07#r");
    EXPECT_FALSE(main.ConfirmOnPrinter);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(printer.received(), "") << "a dated report asks nothing";

    // Not ticked: whatever the field holds, today's report, then the status
    // query, and a fiscal printer wants the report confirmed on its keypad.
    main.Fiscal = false;
    dialog.show();
    dialog.CBSetDate->setChecked(false);
    dialog.ME->setText(QStringLiteral("20xx"));
    dialog.BBOKClick();
    EXPECT_EQ(Body(main), "#r");
    EXPECT_EQ(printer.received(), "\x05");
    EXPECT_TRUE(main.Fiscal);
    EXPECT_TRUE(main.ConfirmOnPrinter);
    EXPECT_FALSE(dialog.isVisible());

    // A printer that does not answer leaves the last known state.
    printer.answerEnq(std::nullopt);
    dialog.BBOKClick();
    EXPECT_TRUE(main.ConfirmOnPrinter);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ReportDialogsTest, PeriodicReportByDates)
{
    TFMain& main = Start();
    TFRepPeriodDay& dialog = *forms().FRepPeriodDay;
    EXPECT_EQ(dialog.RG->ItemIndex(), 0);
    EXPECT_EQ(dialog.RG->Items().size(), 6);
    dialog.show();

    const struct {
        QString start, stop;
        int item;
        std::string body;  // empty: refused with the message
    } cases[] = {
        {"2024-01-01", "2024-03-31", 2, "24;01;01;24;03;31;6#o"},
        // A start after the stop goes as typed; the printer judges it.
        {"2024-05-01", "2023-_1-31", 5, "24;05;01;23;01;31;97#o"},
        {"2024-05-01", "", 0, ""},
        {"", "2024-05-01", 0, ""},
        {"2024-05-01", "2024-05-3_", 0, ""},  // "3 " is not a number
        {"2024-05-01", "2024-05-31", -1, "24;05;01;24;05;31;0#o"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start.toStdString() + " " + c.stop.toStdString());
        prompts.shown.clear();
        dialog.show();
        const std::size_t before = main.CommandHistory.Count();
        dialog.MEStart->setText(c.start);
        dialog.MEStop->setText(c.stop);
        dialog.RG->SetItemIndex(c.item);
        dialog.BBOkClick();
        if (c.body.empty()) {
            // Text and caption the other way round than in the daily report.
            EXPECT_EQ(prompts.shown, std::vector<Shown>{Message("Błąd edycji", "Niepoprawna data")});
            EXPECT_EQ(main.CommandHistory.Count(), before);
            EXPECT_TRUE(dialog.isVisible());
        } else {
            EXPECT_TRUE(prompts.shown.empty());
            EXPECT_EQ(Body(main), c.body);
            EXPECT_FALSE(dialog.isVisible());
        }
    }
}

TEST_F(ReportDialogsTest, PeriodicReportByNumbers)
{
    TFMain& main = Start();
    TFRepNoDay& dialog = *forms().FRepNoDay;
    EXPECT_EQ(dialog.RG->ItemIndex(), 0);
    const struct {
        QString start, stop;
        int item;
        std::string body;  // empty: refused with the message
    } cases[] = {
        {"5", "9", 1, "17#o5/9/"},
        {" 12", "  20", 0, "16#o12/20/"},
        {"+3", "3", 0, "16#o3/3/"},
        {"", "9", 0, ""},
        {"5", "   ", 0, ""},
        {"5 ", "9", 0, ""},
        {"1x", "9", 0, ""},
        {"99999999999", "9", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start.toStdString() + "/" + c.stop.toStdString());
        prompts.shown.clear();
        dialog.show();
        const std::size_t before = main.CommandHistory.Count();
        dialog.EdStart->setText(c.start);
        dialog.EdStop->setText(c.stop);
        dialog.RG->SetItemIndex(c.item);
        dialog.BBOkClick();
        if (c.body.empty()) {
            EXPECT_EQ(prompts.shown,
                      std::vector<Shown>{Message("Błąd edycji", "Nieproprawny numer raportu")});
            EXPECT_EQ(main.CommandHistory.Count(), before);
            EXPECT_TRUE(dialog.isVisible());
        } else {
            EXPECT_TRUE(prompts.shown.empty());
            EXPECT_EQ(Body(main), c.body);
            EXPECT_FALSE(dialog.isVisible());
        }
    }
}

TEST_F(ReportDialogsTest, GoodsStatusQuery)
{
    TFMain& main = Start();
    TFReadGoodsStatus& dialog = *forms().FReadGoodsStatus;
    EXPECT_EQ(dialog.CBRate->currentText(), QStringLiteral("A"));
    EXPECT_EQ(dialog.CBRate->count(), 7);
    const struct {
        QString name, rate;
        TCmdReadGoodsStatus expected;
    } cases[] = {
        {"Chleb", "B", {"Chleb", 'B'}},
        {"Chleb", "Bx", {"Chleb", 'B'}},
        {"  Masło ", "g", {"  Mas\xB3o ", 'g'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate.toStdString());
        dialog.show();
        dialog.EdName->setText(c.name);
        dialog.CBRate->setCurrentText(c.rate);
        dialog.BitBtn1Click();
        EXPECT_EQ(Body(main), c.expected.GetBody());
        EXPECT_NE(dynamic_cast<TCmdReadGoodsStatus*>(main.CurrentCommand()), nullptr);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_TRUE(prompts.shown.empty());

    // Typed into the list and confirmed with Enter: taken, not added.
    dialog.show();
    dialog.CBRate->lineEdit()->clear();
    QTest::keyClicks(dialog.CBRate->lineEdit(), QStringLiteral("Bx"));
    QTest::keyClick(dialog.CBRate->lineEdit(), Qt::Key_Return);
    if (dialog.isVisible())
        dialog.BitBtn1Click();
    EXPECT_EQ(main.CurrentCommand()->GetBody(), TCmdReadGoodsStatus("  Mas\xB3o ", 'B').GetBody());
    QStringList offered;
    for (int i = 0; i < dialog.CBRate->count(); ++i)
        offered << dialog.CBRate->itemText(i);
    EXPECT_EQ(offered, QStringList({"A", "B", "C", "D", "E", "F", "G"}));

    // No rate letter at all: nothing to ask about.
    const std::size_t before = main.CommandHistory.Count();
    dialog.show();
    dialog.CBRate->setCurrentText(QString());
    dialog.BitBtn1Click();
    EXPECT_EQ(prompts.shown,
              std::vector<Shown>{Message("Podaj stawkę (A-G)", "Odczyt statusu towaru")});
    EXPECT_EQ(main.CommandHistory.Count(), before);
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace varmo::test
