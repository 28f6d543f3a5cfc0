// The setting dialogs pressed on the real forms: what each hands to the main
// window, what it refuses and how, and the menu that opens them.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QTimer>

#include "commands/SettingCommands.h"
#include "console/widgets/MaskEdit.h"
#include "console/base/QtPrompts.h"
#include "console/widgets/RadioGroup.h"
#include "console/dialogs/settings/TFCOM.h"
#include "console/dialogs/settings/TFPass.h"
#include "console/dialogs/settings/TFSetDate.h"
#include "console/dialogs/settings/TFSetDiscMode.h"
#include "console/dialogs/settings/TFSetErrMode.h"
#include "console/dialogs/settings/TFSetServiceVisit.h"
#include "console/dialogs/settings/TFSetNIP.h"
#include "console/dialogs/settings/TFSetRates.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

class SettingDialogsTest : public ConsoleTest {
protected:
    template <typename Dialog>
    Dialog& dialog(QDialog* form)
    {
        auto* typed = qobject_cast<Dialog*>(form);
        EXPECT_NE(typed, nullptr);
        return *typed;
    }

    std::string currentBody(TFMain& main) const
    {
        return main.CurrentCommand() != nullptr ? main.CurrentCommand()->GetBody() : "(none)";
    }
};

// Runs the entry and gives the caption of the modal dialog it showed (closed
// again at once), or nothing.
QString openedBy(QAction* entry)
{
    QString caption;
    QTimer::singleShot(0, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            caption = modal->windowTitle();
            modal->close();
        }
    });
    entry->trigger();
    QCoreApplication::processEvents();
    return caption;
}

TEST_F(SettingDialogsTest, EverySettingEntryOpensItsDialogAndBuildsNothingWhenClosed)
{
    TFMain& main = Start();
    const struct {
        QAction* entry;
        QString caption;
        bool service;
    } cases[] = {
        {main.Ustawczas1, "Ustawienie zegara", false},
        {main.Nagwek1, "Nagłówek", false},
        {main.Stawkipodatkowe1, "Ustawienie stawek podatkowych", false},
        {main.Trybobsugibdw1, "Ustawienie trybu obsługi błędów", false},
        {main.Metodaobliczaniarabatu1, "Metoda obliczania rabatu", false},
        {main.NIPFiskalizacja1, "Ustawienie numeru NIP", true},
        {main.Dataprzegldu1, "Ustawienie daty przeglądu", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        EXPECT_EQ(c.entry->isEnabled(), !c.service);
        EXPECT_EQ(openedBy(c.entry), c.service ? QString() : c.caption);
    }
    main.SetServiceMode(true);
    for (const auto& c : cases)
        EXPECT_EQ(openedBy(c.entry), c.caption);
    EXPECT_EQ(main.CurrentCommand(), nullptr);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SettingDialogsTest, EveryNamedControlCanBeFoundByItsName)
{
    TFMain& main = Start();
    const struct {
        QWidget* form;
        QStringList names;
    } cases[] = {
        {&main, {"Memo", "RESend", "SBSend", "SBSaveCmd", "SBOpenCmd", "MemoR", "RERcv", "SBSaveAns",
                 "CBOpis", "CBAnswer", "Button3", "Button4", "Button5", "LbFSK", "LbERR",
                 "Ustawczas1", "Nagwek1", "NIPFiskalizacja1", "Dowolnasekwencja1", "Oprogramie2"}},
        {forms().FCOM, {"RBCOM1", "RBCOM2", "RBCOMCustom", "EdCOM", "RGBaud", "BitBtn1"}},
        {forms().FPass, {"Label1", "Ed", "BitBtn1", "BitBtn2"}},
        {forms().FSetDate, {"ME", "SpeedButton1", "BBOK", "BBCancel"}},
        {forms().FSetRates, {"ComboBoxA", "ComboBoxD", "ComboBoxG", "SBRead", "BBOK", "BBCancel"}},
        {forms().FSetErrMode, {"RG", "BitBtn1", "BitBtn2"}},
        {forms().FSetDiscMode, {"RB1", "RB2", "BitBtn1", "BitBtn2"}},
        {forms().FSetNIP, {"Ed", "CB", "BitBtn1", "BitBtn2"}},
        {forms().FSetInspectionDate, {"DE", "Ed", "BBOK", "BBCancel"}},
        {forms().FSetHeader, {"Memo", "SpeedButton1", "SpeedButton2", "SpeedButton9",
                              "SpeedButton10", "SpeedButton11", "BBOK", "BBCancel"}},
    };
    // The window a control belongs to: the first dialog or main window above it.
    const auto formOf = [](QObject* control) {
        QObject* up = control->parent();
        while (up != nullptr && qobject_cast<QDialog*>(up) == nullptr &&
               qobject_cast<QMainWindow*>(up) == nullptr)
            up = up->parent();
        return up;
    };
    for (const auto& c : cases) {
        for (const QString& name : c.names) {
            SCOPED_TRACE((c.form->objectName() + '.' + name).toStdString());
            // Exactly one control of the form answers to the name.
            int found = 0;
            for (QObject* control : c.form->findChildren<QObject*>(name))
                found += formOf(control) == c.form ? 1 : 0;
            EXPECT_EQ(found, 1);
        }
    }
}

TEST_F(SettingDialogsTest, ClockPiecesAreReadFromTheirPositions)
{
    TFMain& main = Start();
    auto& date = dialog<TFSetDate>(forms().FSetDate);
    const struct {
        QString typed;
        std::string body;  // empty: an error box
        QString error;
    } cases[] = {
        {"2025-03-05   14:30", TCmdSetClock(25, 3, 5, 14, 30).GetBody(), {}},
        {"2030-12-31   24:00", TCmdSetClock(30, 12, 31, 24, 0).GetBody(), {}},
        // ('_' stands for a position left blank.) Leading blanks are skipped;
        // a digit with a blank after it is no number.
        {"2025-_3-_5   19:_7", TCmdSetClock(25, 3, 5, 19, 7).GetBody(), {}},
        {"2025-03-05   14:3_", {}, "'3 ' is not a valid integer value."},
        {"20__-03-05   14:30", {}, "'  ' is not a valid integer value."},
        // The month comes first, the year last.
        {"20__-1_-05   14:__", {}, "'1 ' is not a valid integer value."},
        // Out of range only when the command builds its frame.
        {"2025-03-05   14:60", "set, refused", "Nieprawdłowy format."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        prompts.shown.clear();
        main.Nagwek2Click();
        date.ME->setText(c.typed);
        date.BBOKClick();
        auto* clock = dynamic_cast<TCmdSetClock*>(main.CurrentCommand());
        EXPECT_EQ(clock != nullptr, !c.body.empty());
        if (clock != nullptr && c.error.isEmpty()) {
            EXPECT_EQ(clock->GetBody(), c.body);
        }
        const std::vector<Shown> expected =
            c.error.isEmpty() ? std::vector<Shown>{} : std::vector<Shown>{ErrorBox(c.error)};
        EXPECT_EQ(prompts.shown, expected);
    }
}

TEST_F(SettingDialogsTest, TheClockFieldShowsTheComputersClockAndKeepsItsHour)
{
    Start();
    auto& date = dialog<TFSetDate>(forms().FSetDate);
    const QString before = QDateTime::currentDateTime().toString("yyyy-MM-dd   HH:mm");
    date.FormShow();
    const QString after = QDateTime::currentDateTime().toString("yyyy-MM-dd   HH:mm");
    EXPECT_TRUE(date.ME->MaskedText() == before || date.ME->MaskedText() == after)
        << date.ME->MaskedText().toStdString();

    // The 20 and the separators stay whatever is typed.
    date.ME->setText(QStringLiteral("1999/12/31 - 23.59"));
    EXPECT_TRUE(date.ME->MaskedText().startsWith(QStringLiteral("20")));
    EXPECT_EQ(date.ME->MaskedText().size(), 18);

    // The operator empties the hour: the field will not let go, and Escape
    // puts back what was there.
    date.FormShow();
    const QString shown = date.ME->MaskedText();
    date.ME->setFocus();
    date.ME->setCursorPosition(13);
    date.ME->del();
    date.ME->setModified(true);
    ASSERT_EQ(date.ME->MaskedText().mid(13, 1), QStringLiteral(" "));
    EXPECT_FALSE(date.ME->ValidateEdit());
    EXPECT_EQ(prompts.shown, std::vector<Shown>{ErrorBox(
                                 "Invalid input value.  Use escape key to abandon changes.")});
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(date.ME, &escape);
    EXPECT_EQ(date.ME->MaskedText(), shown);
    EXPECT_TRUE(date.ME->ValidateEdit());

    // Blank minutes and date pass the field and fail only at "Ustaw".
    date.ME->setText(QStringLiteral("2025-03-05   1"));
    date.ME->setModified(true);
    EXPECT_TRUE(date.ME->ValidateEdit());
}

TEST_F(SettingDialogsTest, RateCodesAndTheFirstFieldThatFails)
{
    PtyPrinter printer;
    printer.answerEnq(0x08);  // fiscal
    PointCom1At(printer.path());
    TFMain& main = Start();
    auto& rates = dialog<TFSetRates>(forms().FSetRates);
    const struct {
        QStringList typed;  // A to G
        std::array<std::int32_t, 7> codes;
        QString error;  // the error box; empty: submitted
    } cases[] = {
        // The first opening: every field empty, every rate not in use.
        {{"", "", "", "", "", "", ""}, {101, 101, 101, 101, 101, 101, 101}, {}},
        {{"22", "7", "3", "0", "zwolniona", "nieaktywna", "100"}, {22, 7, 3, 0, 100, 101, 100}, {}},
        {{" 7", "+5", "", "", "", "", ""}, {7, 5, 101, 101, 101, 101, 101}, {}},
        {{"23", "101", "", "", "", "", ""}, {}, "Niepoprawna wartość stawki B."},
        {{"23", "8", "-1", "", "", "", ""}, {}, "Niepoprawna wartość stawki C."},
        {{"23", "8", "5", "7 ", "", "", ""}, {}, "Niepoprawna wartość stawki D."},
        {{"23", "8", "5", "0", "Zwolniona", "", ""}, {}, "Niepoprawna wartość stawki E."},
        // Several wrong: only the first is reported.
        {{"23", "8", "5", "0", "ZW", "x", "y"}, {}, "Niepoprawna wartość stawki E."},
        {{"23", "8", "5", "0", "zwolniona", "nieaktywna", "abc"}, {}, "Niepoprawna wartość stawki G."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.join('|').toStdString());
        prompts.shown.clear();
        main.Nagwek2Click();
        main.Fiscal = false;
        const auto fields = rates.Fields();
        for (std::size_t i = 0; i < fields.size(); ++i)
            fields[i]->setEditText(c.typed.at(static_cast<qsizetype>(i)));
        rates.BBOKClick();
        if (c.error.isEmpty()) {
            EXPECT_EQ(currentBody(main), TCmdSetRates(c.codes).GetBody());
            // The printer said fiscal: the operator will be reminded.
            EXPECT_TRUE(main.Fiscal);
            EXPECT_TRUE(main.ConfirmOnPrinter);
            EXPECT_TRUE(prompts.shown.empty());
        } else {
            EXPECT_EQ(currentBody(main), "#u");
            EXPECT_FALSE(main.ConfirmOnPrinter);
            EXPECT_EQ(prompts.shown, std::vector<Shown>{ErrorBox(c.error)});
        }
    }

    // A printer that says nothing leaves Fiscal as it was.
    printer.answerEnq(std::nullopt);
    main.Fiscal = false;
    rates.BBOKClick();
    EXPECT_FALSE(main.ConfirmOnPrinter);
}

TEST_F(SettingDialogsTest, TheSimpleDialogsHandOverWhatTheyShow)
{
    TFMain& main = Start();
    auto& errMode = dialog<TFSetErrMode>(forms().FSetErrMode);
    auto& discMode = dialog<TFSetDiscMode>(forms().FSetDiscMode);
    auto& nip = dialog<TFSetNIP>(forms().FSetNIP);
    auto& inspection = dialog<TFSetInspectionDate>(forms().FSetInspectionDate);

    // As they are at the first opening.
    errMode.BitBtn1Click();
    EXPECT_EQ(currentBody(main), "0#e");
    discMode.BitBtn1Click();
    EXPECT_EQ(currentBody(main), "1$r");
    EXPECT_EQ(inspection.DE->date(), QDate::currentDate());
    EXPECT_EQ(inspection.Ed->text(), QStringLiteral("DO SERWISU"));
    EXPECT_EQ(nip.Ed->maxLength(), 13);
    EXPECT_FALSE(nip.CB->isChecked());

    errMode.RG->SetItemIndex(3);
    errMode.BitBtn1Click();
    EXPECT_EQ(currentBody(main), "3#e");
    discMode.RB2->setChecked(true);
    discMode.BitBtn1Click();
    EXPECT_EQ(currentBody(main), "0$r");

    nip.Ed->setText(QStringLiteral("111-222-33-32 and more"));
    EXPECT_EQ(nip.Ed->text(), QStringLiteral("111-222-33-32"));
    nip.Ed->setText(QStringLiteral(" 1112223332 "));
    nip.CB->setChecked(true);
    nip.BitBtn1Click();
    EXPECT_EQ(currentBody(main), TCmdSetNIP(true, "1112223332").GetBody());

    inspection.DE->setDate(QDate(2025, 3, 5));
    inspection.BBOKClick();
    EXPECT_EQ(currentBody(main), "0;25;3;5$oDO SERWISU\r");
    inspection.Ed->setText(QStringLiteral(" Serwis Łódź "));
    inspection.BBOKClick();
    EXPECT_EQ(currentBody(main), "0;25;3;5$oSerwis \xA3\xF3" "d\x9F\r");
    EXPECT_TRUE(prompts.shown.empty());

    // Before 2000 the years since then wrap round, and the command refuses them.
    inspection.DE->setDate(QDate(1999, 12, 31));
    inspection.BBOKClick();
    EXPECT_EQ(currentBody(main), "0;65535;12;31$oSerwis \xA3\xF3" "d\x9F\r");
    EXPECT_EQ(prompts.shown, std::vector<Shown>{ErrorBox("Nieprawdłowy format.")});
}

TEST_F(SettingDialogsTest, TheInspectionDateOffersTheDayItIsShownOnUntilOneIsChosen)
{
    Start();
    auto& inspection = dialog<TFSetInspectionDate>(forms().FSetInspectionDate);
    QDate today(2026, 12, 7);
    inspection.Today = [&] { return today; };
    const auto shownDate = [&] {
        inspection.show();
        const QDate shown = inspection.DE->date();
        inspection.BBCancel->click();
        return shown;
    };
    EXPECT_EQ(shownDate(), QDate(2026, 12, 7));
    // Left running past midnight with nothing chosen: the new day.
    today = today.addDays(1);
    EXPECT_EQ(shownDate(), QDate(2026, 12, 8));
    // A date the operator picked stays, whatever day it is.
    inspection.show();
    inspection.DE->setDate(QDate(2027, 3, 5));
    inspection.BBCancel->click();
    today = today.addDays(1);
    EXPECT_EQ(shownDate(), QDate(2027, 3, 5));
}

TEST_F(SettingDialogsTest, OkButtonsCloseWhateverTheirHandlerDid)
{
    TFMain& main = Start();
    main.SetServiceMode(true);
    auto& date = dialog<TFSetDate>(forms().FSetDate);
    auto& rates = dialog<TFSetRates>(forms().FSetRates);
    auto& inspection = dialog<TFSetInspectionDate>(forms().FSetInspectionDate);
    const struct {
        QAction* entry;
        std::function<void()> spoil;
        QPushButton* ok;
        QString error;
    } cases[] = {
        {main.Ustawczas1, [&] { date.ME->setText(QStringLiteral("20__-03-05   14:30")); }, date.BBOK,
         "'  ' is not a valid integer value."},
        {main.Stawkipodatkowe1, [&] { rates.ComboBoxC->setEditText(QStringLiteral("x")); },
         rates.BBOK, "Niepoprawna wartość stawki C."},
        {main.Dataprzegldu1, [&] { inspection.DE->setDate(QDate(2031, 1, 1)); }, inspection.BBOK,
         "Nieprawdłowy format."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error.toStdString());
        prompts.shown.clear();
        bool shown = false;
        QTimer::singleShot(0, [&] {
            shown = QApplication::activeModalWidget() != nullptr;
            c.spoil();
            c.ok->click();
        });
        c.entry->trigger();
        EXPECT_TRUE(shown);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(prompts.shown, std::vector<Shown>{ErrorBox(c.error)});
    }
    // What was typed is still there at the next opening.
    EXPECT_EQ(rates.ComboBoxC->currentText(), QStringLiteral("x"));
}

TEST_F(SettingDialogsTest, ThePortDialogsCustomNameKeepsCom3UnlessAnotherNameWasStored)
{
    const struct {
        const char* stored;  // nullptr: nothing stored
        QString edCom;
    } cases[] = {{"COM1", "COM3"}, {"COM2", "COM3"}, {"COM7", "COM7"}, {nullptr, "COM3"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(none)");
        StoreRaw(QStringLiteral("com"), c.stored ? QString::fromLatin1(c.stored) : QString());
        Start();
        EXPECT_EQ(forms().FCOM->EdCOM->text(), c.edCom);
        Stop();
    }
}

TEST(MessageBoxes, AreWideEnoughForTheirCaption)
{
    QtPrompts real;
    const QString caption = QStringLiteral("Nie można otworzyć portu");
    int width = 0;
    int needed = 0;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            QFont bold = box->font();
            bold.setBold(true);
            needed = QFontMetrics(bold).horizontalAdvance(caption);
            width = box->width();
            box->accept();
        }
    });
    real.message(QStringLiteral("COM"), caption);
    ASSERT_GT(needed, 0);
    EXPECT_GT(width, needed + 100);
}

}  // namespace
}  // namespace varmo::test
