// The program makes its dialogs' controls and the log's view on their first
// showing. Shown, such a form must be what a form made whole at start is:
// the same controls, names, places, states and texts.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>
#include <map>

#include "console/dialogs/other/TFEditSeq.h"
#include "console/dialogs/other/TFTestTrans.h"
#include "console/dialogs/other/TFormAbout.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "console/dialogs/reports/TFReadGoodsStatus.h"
#include "console/dialogs/reports/TFRepDay.h"
#include "console/dialogs/reports/TFRepNoDay.h"
#include "console/dialogs/reports/TFRepPeriodDay.h"
#include "console/dialogs/settings/TFCOM.h"
#include "console/dialogs/settings/TFPass.h"
#include "console/log/ExchangeLogDock.h"
#include "console/widgets/DialogPlacement.h"
#include "tests/console/ConsoleHarness.h"

namespace varmo::test {
namespace {

// One line per control of a shown window. Digits are levelled: the clock
// dialogs show the time of their showing.
QStringList Snapshot(QWidget& window)
{
    QStringList lines{QStringLiteral("%1 %2 %3x%4")
                          .arg(window.objectName(), window.windowTitle())
                          .arg(window.width())
                          .arg(window.height())};
    for (QWidget* control : window.findChildren<QWidget*>()) {
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            text = button->text() + (button->isChecked() ? QStringLiteral(" [x]") : QString());
        else if (auto* label = qobject_cast<QLabel*>(control))
            text = label->text();
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            text = edit->text();
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            text = combo->currentText() + '/' + QString::number(combo->count());
        else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
            text = memo->toPlainText();
        // A hidden control's place is whatever it was last given.
        const bool visible = control->isVisibleTo(&window);
        const QRect place = visible ? control->geometry() : QRect();
        lines << QStringLiteral("%1 %2 %3,%4 %5x%6 %7%8 %9")
                     .arg(QString::fromLatin1(control->metaObject()->className()),
                          control->objectName())
                     .arg(place.x())
                     .arg(place.y())
                     .arg(place.width())
                     .arg(place.height())
                     .arg(control->isEnabled() ? 'e' : '-')
                     .arg(visible ? 'v' : '-')
                     .arg(text.replace(QRegularExpression(QStringLiteral("\\d")), QStringLiteral("9")));
    }
    return lines;
}

class LateFormsTest : public ConsoleTest {
protected:
    std::vector<QDialog*> Dialogs()
    {
        const Forms& f = forms();
        return {f.FSetDate, f.FCOM, f.FRepDay, f.FReadGoodsStatus, f.FRepPeriodDay,
                f.FSetRates, f.FSetHeader, f.FSetNIP, f.FSetInspectionDate, f.FRepNoDay,
                f.FSetErrMode, f.FEditSeq, f.FTestTrans, f.FDatabaseReport, f.FSetDiscMode,
                f.FPass, f.FormAbout};
    }

    // Each dialog shown the way its menu entry shows it, and the log shown
    // by its entry; keyed by the form's caption.
    std::map<QString, QStringList> ShowEverything(TFMain& main)
    {
        std::map<QString, QStringList> seen;
        for (QDialog* dialog : Dialogs()) {
            QTimer::singleShot(0, dialog, [&seen, dialog] {
                seen[dialog->windowTitle()] = Snapshot(*dialog);
                dialog->reject();
            });
            ExecWhereLeft(*dialog);
        }
        main.Dziennik1->trigger();
        Idle(50);
        seen[QStringLiteral("Dziennik")] = Snapshot(*main.Dziennik);
        main.Dziennik1->trigger();
        return seen;
    }
};

TEST_F(LateFormsTest, FormsMadeOnFirstShowingShowWhatWholeFormsShow)
{
    // A stored speed and port, so that the port dialog shows more than its
    // defaults.
    StoreRaw(QStringLiteral("baud"), QStringLiteral("57600"));
    StoreRaw(QStringLiteral("com"), QStringLiteral("COM7"));
    const auto whole = ShowEverything(Start());
    Stop();

    TFMain& main = Start(FormBuild::OnFirstShowing);
    for (QDialog* dialog : Dialogs()) {
        auto* late = dynamic_cast<LateBuiltDialog*>(dialog);
        ASSERT_NE(late, nullptr) << dialog->windowTitle().toStdString();
        EXPECT_FALSE(late->Built()) << dialog->windowTitle().toStdString();
        EXPECT_FALSE(dialog->objectName().isEmpty() && dialog->windowTitle().isEmpty());
    }
    EXPECT_FALSE(main.Dziennik->Built());
    // The store changes after the start: the port dialog still shows what
    // was stored when the program started, as a whole one would.
    StoreRaw(QStringLiteral("baud"), QStringLiteral("2400"));
    const auto late = ShowEverything(main);

    ASSERT_EQ(late.size(), whole.size());
    for (const auto& [caption, lines] : whole) {
        SCOPED_TRACE(caption.toStdString());
        ASSERT_TRUE(late.count(caption));
        EXPECT_EQ(late.at(caption).join('\n').toStdString(), lines.join('\n').toStdString());
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(LateFormsTest, AStoredValueThatCannotBeReadIsToldAtStartAndTheLogKeepsRowsUnseen)
{
    StoreRaw(QStringLiteral("baud"), QStringList{QStringLiteral("1"), QStringLiteral("2")});
    Start();
    const auto whole = prompts.shown;
    Stop();
    prompts.shown.clear();

    TFMain& main = Start(FormBuild::OnFirstShowing);
    EXPECT_EQ(prompts.shown, whole);
    EXPECT_EQ(whole.size(), 2U);  // the main window's, the port dialog's
    // Shown later, the port dialog falls back to 9600 without asking again.
    forms().FCOM->show();
    EXPECT_EQ(forms().FCOM->SelectedSpeed(), 9600);
    EXPECT_EQ(prompts.shown, whole);
    forms().FCOM->reject();

    // Rows that came while the log had no view are all there when it shows.
    for (int frame = 0; frame < 3; ++frame)
        main.Dziennik->PortTrafficSeen({std::chrono::steady_clock::now(), PortDirection::ToPrinter,
                                        PortRoad::Written, "\x1BP#nB2\x1B\\"});
    main.Dziennik->Flush();
    EXPECT_TRUE(main.Dziennik->SelectedRows().empty());
    main.Dziennik1->trigger();
    ASSERT_TRUE(main.Dziennik->Built());
    EXPECT_EQ(main.Dziennik->Table->model()->rowCount(), 3);
}

TEST_F(LateFormsTest, ALogMadeLateKeepsItsPlaceBetweenRunsAsAWholeOneDoes)
{
    // Opened and made taller; hidden in the next run; shown in the third.
    const auto heightsOverThreeRuns = [this](FormBuild build) {
        // A first run: no place kept, the log hidden.
        StoreRaw(QStringLiteral("dziennik/uklad"), QString());
        StoreRaw(QStringLiteral("dziennik/widoczny"), QStringLiteral("0"));
        StoreRaw(QStringLiteral("okno/polozenie"), QString());
        TFMain& first = Start(build);
        first.show();
        first.Dziennik1->trigger();
        Idle(50);
        first.resizeDocks({first.Dziennik}, {300}, Qt::Vertical);
        Idle(50);
        const int left = first.Dziennik->height();
        Stop();
        TFMain& second = Start(build);
        second.show();
        second.Dziennik1->trigger();
        Stop();
        TFMain& third = Start(build);
        third.show();
        third.Dziennik1->trigger();
        Idle(50);
        return std::pair{left, third.Dziennik->height()};
    };
    const auto whole = heightsOverThreeRuns(FormBuild::Now);
    Stop();
    const auto late = heightsOverThreeRuns(FormBuild::OnFirstShowing);
    EXPECT_EQ(late, whole);
}

}  // namespace
}  // namespace varmo::test
