// A visit against varmo-sim: the clock read whatever its check characters,
// a command without an answer told as sent and proved by the error number,
// and the clock set at the turn of the minute.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "commands/ReadCommands.h"
#include "commands/ReportCommands.h"
#include "commands/SettingCommands.h"
#include "console/dialogs/other/ServiceCheckDialog.h"
#include "console/dialogs/settings/TFSetDate.h"
#include "console/mainwindow/PortStatusLine.h"
#include "console/widgets/MaskEdit.h"
#include "exchange/ServiceCheck.h"
#include "exchange/Question.h"
#include "tests/e2e/E2EHarness.h"

namespace varmo::test {
namespace {

using TheVisitTest = ConsoleWithPrinter;

TEST_F(TheVisitTest, TheClockIsReadWhateverItsCheckCharactersAndNoOtherAnswerIs)
{
    StartPrinter({QStringLiteral("--bad-checksum")});
    TFMain& main = Start();
    auto& clock = *qobject_cast<TFSetDate*>(forms().FSetDate);
    clock.ME->SetBaseText(QStringLiteral("2020-01-01   00:00"));
    clock.SpeedButton1Click();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(clock.ME->MaskedText().startsWith(QDate::currentDate().toString("yyyy-MM-dd")) ||
                clock.ME->MaskedText().startsWith(QStringLiteral("20")));
    EXPECT_NE(clock.ME->MaskedText(), QStringLiteral("2020-01-01   00:00"));

    main.SubmitCommand(std::make_unique<TCmdReadClock>());
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_TRUE(DescriptionLines(main).value(0).startsWith(QStringLiteral("Aktualny czas: ")));
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(DescriptionLines(main).value(0), QStringLiteral("Niezrozumiała sekwencja"));

    ServiceCheckDialog check(main);
    check.RepeatClick();
    ASSERT_TRUE(check.Result().has_value());
    QStringList unanswered;
    for (const CheckStep& step : check.Result()->steps)
        if (!step.answered)
            unanswered << QString::fromStdString(step.name + ": " + step.result.front());
    // The error number carries no check value; the header and the cash
    // information carry a spoilt one.
    EXPECT_EQ(unanswered, (QStringList{"Nagłówek: Błędna suma kontrolna odpowiedzi",
                                       "Informacje kasowe: Błędna suma kontrolna odpowiedzi"}));
    EXPECT_TRUE(check.Result()->clockDifference.has_value());
}

TEST_F(TheVisitTest, ACommandWithoutAnswerIsToldSentAndTheErrorNumberProvesIt)
{
    StartPrinter();
    TFMain& main = Start();
    PortStatusLine& line = *main.StatusLine;
    main.SubmitCommand(std::make_unique<TCmdRepDay>());
    main.SBSendClick();
    EXPECT_EQ(line.LbNoAnswer->text(), QStringLiteral("Wysłano: Raport dobowy"));
    EXPECT_TRUE(line.LbVerify->isVisibleTo(line.LbVerify->parentWidget()));
    main.VerifySentClick();
    EXPECT_EQ(line.LbNoAnswer->text(), QStringLiteral("Drukarka wykonała: Raport dobowy"));
    EXPECT_FALSE(line.LbVerify->isVisibleTo(line.LbVerify->parentWidget()));

    // Read at once when the operator asks for it: the rates unchanged are
    // refused with 11, in red.
    main.CheckAfterSend->setChecked(true);
    main.SubmitCommand(std::make_unique<TCmdSetRates>(23, 8, 5, 0, 100, 101, 101));
    main.SBSendClick();
    EXPECT_TRUE(line.LbNoAnswer->text().startsWith(QStringLiteral("Kod błędu 11")))
        << line.LbNoAnswer->text().toStdString();
    EXPECT_EQ(line.LbNoAnswer->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(TheVisitTest, TheClockLeftAtTheComputersTimeIsSetAtTheTurnOfTheMinute)
{
    StartPrinter({QStringLiteral("--delay"), QStringLiteral("200")});
    TFMain& main = Start();
    auto& clock = *qobject_cast<TFSetDate*>(forms().FSetDate);
    clock.show();
    // "Przerwij": nothing goes out, and the dialog stays.
    clock.BBOK->click();
    ASSERT_TRUE(clock.CountingDown());
    EXPECT_TRUE(clock.LbCountdown->text().startsWith(QStringLiteral("Zegar zostanie ustawiony o ")));
    clock.BBStop->click();
    EXPECT_FALSE(clock.CountingDown());
    EXPECT_EQ(main.CurrentCommand(), nullptr);
    EXPECT_TRUE(clock.isVisible());

    // Moved an hour off first, so that only the set can bring it back.
    const QDateTime off = QDateTime::currentDateTime().addSecs(3600);
    main.SubmitCommand(std::make_unique<TCmdSetClock>(off.date().year() - 2000, off.date().month(),
                                                      off.date().day(), off.time().hour(),
                                                      off.time().minute()));
    main.SBSendClick();
    clock.FormShow();
    clock.BBOK->click();
    ASSERT_TRUE(WaitFor([&] { return !clock.isVisible(); }, 65000));
    ServiceCheckDialog check(main);
    check.RepeatClick();
    ASSERT_TRUE(check.Result().has_value() && check.Result()->clockDifference.has_value());
    EXPECT_LE(std::abs(*check.Result()->clockDifference), 1);
}

}  // namespace
}  // namespace varmo::test
