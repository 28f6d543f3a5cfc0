// The service check window against varmo-sim: the table as it fills, what is
// marked red, the report saved through the prompts, and a printer that is
// off by an hour, silent, or gone half-way.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "commands/SettingCommands.h"
#include "console/dialogs/other/ServiceCheckDialog.h"
#include "console/mainwindow/TFMain.h"
#include "exchange/ServiceCheck.h"
#include "tests/e2e/E2EHarness.h"

namespace varmo::test {

namespace {

class ServiceCheckTest : public ConsoleWithPrinter {
protected:
    // Column 0 of every row painted red: what the window marks for attention.
    static QStringList RedSteps(const ServiceCheckDialog& dialog)
    {
        QStringList red;
        for (int row = 0; row < dialog.Steps->rowCount(); ++row)
            if (dialog.Steps->item(row, 0)->foreground().color() == QColor(255, 0, 0))
                red << dialog.Steps->item(row, 0)->text();
        return red;
    }

    static QString Cell(const ServiceCheckDialog& dialog, int row, int column)
    {
        return dialog.Steps->item(row, column)->text();
    }

    QString Saved(ServiceCheckDialog& dialog, const QString& name)
    {
        prompts.fileAnswers = {path(name)};
        dialog.Save->click();
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

}  // namespace

TEST_F(ServiceCheckTest, AHealthyPrinterFillsTheTableAndTheReportCarriesItsHeader)
{
    StartPrinter({QStringLiteral("--header"), QStringLiteral("PIEKARNIA ŁAN|Rynek 5")});
    TFMain& main = Start();
    ServiceCheckDialog dialog(main);
    dialog.RepeatClick();

    ASSERT_EQ(dialog.Steps->rowCount(), 6);
    EXPECT_EQ(Cell(dialog, 0, 1).split(QLatin1Char('\n')).first(), QStringLiteral("Niefiskalna"));
    EXPECT_EQ(Cell(dialog, 4, 0), QStringLiteral("Nagłówek"));
    EXPECT_EQ(Cell(dialog, 4, 1), QStringLiteral("PIEKARNIA ŁAN\nRynek 5"));
    EXPECT_TRUE(Cell(dialog, 5, 1).contains(QStringLiteral("A: 23   B: 8")));
    EXPECT_TRUE(RedSteps(dialog).isEmpty());
    EXPECT_TRUE(dialog.Save->isEnabled());
    // The panel shows what the check read.
    EXPECT_EQ(main.LbFSK->text(), QStringLiteral("Niefiskalna"));

    const QString text = Saved(dialog, QStringLiteral("r.txt"));
    EXPECT_TRUE(text.contains(QStringLiteral("  PIEKARNIA ŁAN\n  Rynek 5\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Program: Varmo ")));
    EXPECT_TRUE(Saved(dialog, QStringLiteral("r.pdf")).startsWith(QStringLiteral("%PDF-")));
    EXPECT_TRUE(prompts.shown.empty());

    // A folder that is not there: the error box, and no file of any name.
    prompts.fileAnswers = {path(QStringLiteral("missing/r.pdf"))};
    dialog.Save->click();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown.front().error);
    EXPECT_TRUE(prompts.shown.front().text.startsWith(QStringLiteral("Nie można utworzyć pliku ")));
    EXPECT_FALSE(QDir(path(QStringLiteral("missing"))).exists());
}

TEST_F(ServiceCheckTest, AClockAnHourOffIsMarkedForCorrection)
{
    StartPrinter();
    TFMain& main = Start();
    const QDateTime hourAhead = QDateTime::currentDateTime().addSecs(3600);
    const QDate day = hourAhead.date();
    const QTime time = hourAhead.time();
    main.SubmitCommand(std::make_unique<TCmdSetClock>(day.year() - 2000, day.month(), day.day(),
                                                      time.hour(), time.minute()));
    main.SBSendClick();

    ServiceCheckDialog dialog(main);
    dialog.RepeatClick();
    ASSERT_TRUE(dialog.Result().has_value());
    const CheckResult& result = *dialog.Result();
    ASSERT_TRUE(result.clockDifference.has_value());
    EXPECT_NEAR(static_cast<double>(*result.clockDifference), 3600.0, 120.0);
    EXPECT_EQ(RedSteps(dialog), QStringList{QStringLiteral("Zegar")});
    EXPECT_TRUE(Cell(dialog, 3, 1).endsWith(QStringLiteral("Zegar wymaga korekty")));
    ASSERT_EQ(result.Attention().size(), 1u);
    EXPECT_EQ(result.Attention().front().rfind("Zegar: różnica ", 0), 0u);
}

TEST_F(ServiceCheckTest, ASilentOrVanishingPrinterLeavesTheStepsAfterItUnanswered)
{
    struct Case {
        const char* what;
        QStringList options;
        std::size_t killAfter;  // steps answered before the printer goes; 0 never
        std::size_t answered;
    } cases[] = {
        {"silent", {QStringLiteral("--silent")}, 0, 0},
        {"killed after DLE", {}, 2, 2},
        {"killed after the clock", {}, 4, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartPrinter(c.options);
        TFMain& main = Start();
        ASSERT_TRUE(main.EnsurePortOpen());
        std::size_t seen = 0;
        const CheckResult result = ServiceCheck::Run(main.Exchange, CheckSetting{}, [&](const CheckStep&) {
            if (++seen == c.killAfter)
                printer_.reset();
        });
        ASSERT_EQ(result.steps.size(), 6u);
        for (std::size_t i = 0; i < result.steps.size(); ++i) {
            const CheckStep& step = result.steps[i];
            EXPECT_EQ(step.answered, i < c.answered) << step.name;
            if (!step.answered) {
                EXPECT_EQ(step.result, Lines{"Brak odpowiedzi"}) << step.name;
            }
        }
        EXPECT_EQ(result.Attention().size(), 6 - c.answered);
        Stop();
    }
}

}  // namespace varmo::test
