// A date typed after a click replaces the date: the real inspection-date and
// clock dialogs shown, a mouse click at a place in the field, eight digits
// typed as keys, then Tab.
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "commands/SettingCommands.h"
#include "console/dialogs/settings/TFSetDate.h"
#include "console/dialogs/settings/TFSetServiceVisit.h"
#include "console/dialogs/reports/TFRepDay.h"
#include "console/widgets/MaskEdit.h"
#include "tests/console/ConsoleHarness.h"

namespace varmo::test {
namespace {

// A click of the operator's mouse at the point of the field's text before
// this place; the cursor is where the field then puts it (a masked field
// moves it off its fixed blanks).
void clickAt(QLineEdit* edit, int place)
{
    const int middle = edit->height() / 2;
    for (int x = 0; x < edit->width(); ++x) {
        if (edit->cursorPositionAt(QPoint(x, middle)) == place) {
            QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(x, middle));
            EXPECT_TRUE(edit->hasFocus() || edit->parentWidget()->hasFocus());
            return;
        }
    }
    FAIL() << "no point of the field puts the cursor at " << place;
}

// Keys typed where the focus is, as the keyboard sends them.
void type(const QString& keys)
{
    for (const QChar key : keys)
        QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
}

using DateTypingTest = ConsoleTest;

TEST_F(DateTypingTest, EightDigitsAfterAClickAnywhereInTheInspectionDateGiveThatDate)
{
    Start();
    auto& dialog = *qobject_cast<TFSetInspectionDate*>(forms().FSetInspectionDate);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QLineEdit* text = dialog.DE->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);

    // "2025-03-05": the start, inside the year, its end, the month, the
    // day, past the end.
    for (const int place : {0, 2, 4, 6, 9, 10}) {
        SCOPED_TRACE("clicked at " + std::to_string(place));
        dialog.DE->setDate(QDate(2025, 3, 5));
        clickAt(text, place);
        type(QStringLiteral("20261207"));
        EXPECT_EQ(dialog.DE->date(), QDate(2026, 12, 7));
        // Tab leaves for the message, whatever part of the date it was in.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dialog.Ed);
    }

    // As when the dialog opens with the year selected: typed through.
    dialog.DE->setFocus(Qt::TabFocusReason);
    type(QStringLiteral("20270115"));
    EXPECT_EQ(dialog.DE->date(), QDate(2027, 1, 15));

    // A second date typed after another click, with no other key between.
    clickAt(text, 7);
    type(QStringLiteral("20280229"));
    EXPECT_EQ(dialog.DE->date(), QDate(2028, 2, 29));
    dialog.BBCancel->click();
}

TEST_F(DateTypingTest, EightDigitsAfterAClickAnywhereInTheClockGiveThatDateAndKeepTheTime)
{
    Start();
    auto& dialog = *qobject_cast<TFSetDate*>(forms().FSetDate);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    MaskEdit* field = dialog.ME;

    const struct {
        int place;  // "2025-03-05   10:11", counted from 0
        QString typed;
        QString shown;
    } cases[] = {
        {0, "20261207", "2026-12-07   10:11"},
        {3, "20261207", "2026-12-07   10:11"},   // inside the year
        {5, "20261207", "2026-12-07   10:11"},   // the month
        {8, "261207", "2026-12-07   10:11"},     // the year's last two digits
        {11, "20261207", "2026-12-07   10:11"},  // between the date and the time
        {13, "20261207", "2026-12-07   10:11"},  // the hour
        {16, "20261207", "2026-12-07   10:11"},  // the minutes
        {18, "20261207", "2026-12-07   10:11"},  // past the end
        // The time is typed where the mouse put the cursor.
        {13, "1415", "2025-03-05   14:15"},
        {16, "45", "2025-03-05   10:45"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("clicked at " + std::to_string(c.place) + ", typed " + c.typed.toStdString());
        field->SetBaseText(QStringLiteral("2025-03-05   10:11"));
        clickAt(field, c.place);
        type(c.typed);
        EXPECT_EQ(field->MaskedText(), c.shown);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), field);
    }

    // What was typed goes to the printer.
    field->SetBaseText(QStringLiteral("2025-03-05   10:11"));
    clickAt(field, 18);
    type(QStringLiteral("20261207"));
    dialog.BBOKClick();
    ASSERT_NE(forms().FMain->CurrentCommand(), nullptr);
    EXPECT_EQ(forms().FMain->CurrentCommand()->GetBody(),
              TCmdSetClock(26, 12, 7, 10, 11).GetBody());
    dialog.BBCancel->click();
}

// A digit clicked and digits typed over it, no more than its part has
// left: those digits alone change. An hour no clock has stays for the
// clock's own check when it is set.
TEST_F(DateTypingTest, DigitsTypedOverAClickedDigitReplaceThoseDigitsAlone)
{
    Start();
    auto& dialog = *qobject_cast<TFSetDate*>(forms().FSetDate);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    MaskEdit* field = dialog.ME;
    const struct {
        int place;  // "2025-03-05   19:41", counted from 0
        QString typed;
        QString shown;
    } cases[] = {
        {13, "1", "2025-03-05   19:41"},   // the hour's first digit, the same
        {13, "2", "2025-03-05   29:41"},   // no such hour: refused when set
        {14, "5", "2025-03-05   15:41"},   // the hour's second digit
        {13, "07", "2025-03-05   07:41"},  // the whole hour
        {17, "6", "2025-03-05   19:46"},   // the minutes' last digit
        {9, "8", "2025-03-08   19:41"},    // the day's last digit
        {5, "1", "2025-13-05   19:41"},    // the month's first: no such month yet
        {3, "6", "2026-03-05   19:41"},    // the year's last digit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("clicked at " + std::to_string(c.place) + ", typed " + c.typed.toStdString());
        field->SetBaseText(QStringLiteral("2025-03-05   19:41"));
        clickAt(field, c.place);
        type(c.typed);
        EXPECT_EQ(field->MaskedText(), c.shown);
    }

    // The hour 29 goes nowhere; the clock's check says so.
    field->SetBaseText(QStringLiteral("2025-03-05   19:41"));
    clickAt(field, 13);
    type(QStringLiteral("2"));
    dialog.BBOKClick();
    EXPECT_EQ(prompts.shown, std::vector<Shown>{ErrorBox(QStringLiteral("Nieprawdłowy format."))});
    dialog.BBCancel->click();
}

// Dates as people write them, after a click anywhere in the field or after
// Ctrl+A: separators step over the field's own, a dot puts the day first.
TEST_F(DateTypingTest, DatesTypedAsWrittenGiveThatDateInEveryDateField)
{
    Start();
    auto& clock = *qobject_cast<TFSetDate*>(forms().FSetDate);
    clock.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&clock));
    const struct {
        int place;  // -1: Ctrl+A
        QString typed;
        QString shown;  // from "2025-03-05   10:11"
    } cases[] = {
        {0, "2026-12-09 08:30", "2026-12-09   08:30"},
        {-1, "2026-12-09 08:30", "2026-12-09   08:30"},
        {13, "2026-12-09 08:30", "2026-12-09   08:30"},  // begun in the hour
        {5, "2026-12-09", "2026-12-09   10:11"},
        {-1, "2026-12-09", "2026-12-09     :  "},
        {0, "09.12.2026", "2026-12-09   10:11"},
        {8, "9.1.2027 7:05", "2027-01-09   07:05"},
        {-1, "202612090830", "2026-12-09   08:30"},
        {0, "26-12-09", "2026-12-09   10:11"},
        {13, "8:30", "2025-03-05   08:30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("at " + std::to_string(c.place) + ", typed " + c.typed.toStdString());
        clock.ME->SetBaseText(QStringLiteral("2025-03-05   10:11"));
        clickAt(clock.ME, c.place < 0 ? 0 : c.place);
        if (c.place < 0)
            QTest::keyClick(clock.ME, Qt::Key_A, Qt::ControlModifier);
        type(c.typed);
        EXPECT_EQ(clock.ME->MaskedText(), c.shown);
    }
    clock.BBCancel->click();

    auto& day = *qobject_cast<TFRepDay*>(forms().FRepDay);
    day.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&day));
    day.CBSetDate->click();
    for (const QString typed : {"2026-12-09", "09.12.2026", "20261209"}) {
        SCOPED_TRACE(typed.toStdString());
        clickAt(day.ME, 4);
        QTest::keyClick(day.ME, Qt::Key_A, Qt::ControlModifier);
        type(typed);
        EXPECT_EQ(day.ME->displayText(), QStringLiteral("2026-12-09"));
    }
    day.BBCancel->click();

    auto& inspection = *qobject_cast<TFSetInspectionDate*>(forms().FSetInspectionDate);
    inspection.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&inspection));
    QLineEdit* text = inspection.DE->findChild<QLineEdit*>();
    for (const QString typed : {"2026-12-09", "09.12.2026"}) {
        SCOPED_TRACE(typed.toStdString());
        inspection.DE->setDate(QDate(2025, 3, 5));
        clickAt(text, 6);
        type(typed);
        EXPECT_EQ(inspection.DE->date(), QDate(2026, 12, 9));
    }
    inspection.BBCancel->click();
}

TEST_F(DateTypingTest, AnImpossibleDateIsRefusedInWordsAndNothingIsHandedOver)
{
    Start();
    const Shown refusal = Message(QStringLiteral("Nieproprawna data"), QStringLiteral("Błąd edycji"));
    auto& clock = *qobject_cast<TFSetDate*>(forms().FSetDate);
    for (const QString date : {"2026-02-30", "2026-00-10", "2026-13-01"}) {
        SCOPED_TRACE(date.toStdString());
        clock.ME->SetBaseText(date + QStringLiteral("   10:11"));
        clock.BBOK->click();
        EXPECT_EQ(forms().FMain->CurrentCommand(), nullptr);
        EXPECT_EQ(prompts.shown, std::vector<Shown>{refusal});
        prompts.shown.clear();
    }

    auto& day = *qobject_cast<TFRepDay*>(forms().FRepDay);
    day.CBSetDate->setChecked(true);
    day.ME->setText(QStringLiteral("2026-04-31"));
    day.BBOKClick();
    EXPECT_EQ(forms().FMain->CurrentCommand(), nullptr);
    EXPECT_EQ(prompts.shown, std::vector<Shown>{refusal});
    prompts.shown.clear();

    auto& inspection = *qobject_cast<TFSetInspectionDate*>(forms().FSetInspectionDate);
    inspection.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&inspection));
    inspection.DE->setDate(QDate(2025, 3, 5));
    clickAt(inspection.DE->findChild<QLineEdit*>(), 0);
    type(QStringLiteral("30.02.2026"));
    EXPECT_EQ(inspection.DE->date(), QDate(2025, 3, 5));
    EXPECT_EQ(prompts.shown, std::vector<Shown>{refusal});
    inspection.BBCancel->click();
}

}  // namespace
}  // namespace varmo::test
