// The setting dialogs and the virtual printer over a real pseudo-terminal:
// the read buttons, the reminder after a rate change on a fiscal printer,
// and a Polish header that goes round unchanged in the Mazovia code page.
#include <QComboBox>
#include <QDate>

#include "commands/ReadCommands.h"
#include "console/dialogs/settings/HeaderLines.h"
#include "console/dialogs/settings/HeaderMemo.h"
#include "console/widgets/MaskEdit.h"
#include "console/dialogs/settings/TFSetDate.h"
#include "console/dialogs/settings/TFSetHeader.h"
#include "console/dialogs/settings/TFSetRates.h"
#include "tests/e2e/E2EHarness.h"

namespace varmo::test {
namespace {

class SettingDialogsAndPrinterTest : public ConsoleWithPrinter {
protected:
    TFSetDate& date() { return *qobject_cast<TFSetDate*>(forms().FSetDate); }
    TFSetRates& rates() { return *qobject_cast<TFSetRates*>(forms().FSetRates); }
    TFSetHeader& header() { return *qobject_cast<TFSetHeader*>(forms().FSetHeader); }
};

TEST_F(SettingDialogsAndPrinterTest, EachReadButtonFillsItsFieldsFromThePrinter)
{
    StartPrinter();
    TFMain& main = Start();
    const QDate before = QDate::currentDate();
    date().SpeedButton1Click();
    const QString clock = date().ME->MaskedText();
    EXPECT_TRUE(clock.startsWith(before.toString("yyyy-MM-dd   ")) ||
                clock.startsWith(QDate::currentDate().toString("yyyy-MM-dd   ")))
        << clock.toStdString();
    EXPECT_TRUE(date().ME->hasAcceptableInput());

    rates().SBReadClick();
    QStringList read;
    for (QComboBox* field : rates().Fields())
        read << field->currentText();
    EXPECT_EQ(read, (QStringList{"23", "8", "5", "0", "zwolniona", "nieaktywna", "nieaktywna"}));

    header().SpeedButton1Click();
    EXPECT_EQ(MemoLines(header().Memo->toPlainText()),
              (QStringList{"SKLEP TESTOWY \"POD WAGA\"", "ul. Testowa 7, 00-950 Przykładowo"}));

    // The reads went past the main window.
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(main.CurrentCommand(), nullptr);
    EXPECT_EQ(main.RERcv->toPlainText(), QString());
    // And it takes its answers again.
    main.Kodbdu1Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(DescriptionLines(main).value(0), QStringLiteral("Kod ostatniego błędu: 0"));
}

TEST_F(SettingDialogsAndPrinterTest, ASilentPrinterFailsEveryReadAndTheFieldsStay)
{
    StartPrinter({"--silent"});
    TFMain& main = Start();
    header().Memo->setPlainText(QStringLiteral("typed\n"));
    const QString clock = date().ME->MaskedText();
    date().SpeedButton1Click();
    rates().SBReadClick();
    header().SpeedButton1Click();
    const std::vector<Shown> expected{
        Message(QStringLiteral("Nie udało się odczytać daty"), QStringLiteral("Odczyt daty")),
        Message(QStringLiteral("Nie udało się odczytać stawek"), QStringLiteral("Odczyt stawek")),
        Message(QStringLiteral("Odczyt nagłówka się nie powiódł"), QStringLiteral("Odczyt nagłówka")),
    };
    EXPECT_EQ(prompts.shown, expected);
    EXPECT_EQ(date().ME->MaskedText(), clock);
    EXPECT_EQ(rates().ComboBoxA->currentText(), QString());
    EXPECT_EQ(header().Memo->toPlainText(), QStringLiteral("typed\n"));
    EXPECT_TRUE(main.ComDataPacket.Attached());
}

TEST_F(SettingDialogsAndPrinterTest, ARateChangeOnAFiscalPrinterRemindsTheOperatorAtEverySend)
{
    const struct {
        QStringList options;
        int reminders;
    } cases[] = {{{"--fiscal"}, 2}, {{}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        StartPrinter(c.options);
        TFMain& main = Start();
        rates().ComboBoxA->setEditText(QStringLiteral("22"));
        rates().BBOKClick();
        EXPECT_EQ(main.ConfirmOnPrinter, c.reminders > 0);
        main.SBSendClick();
        main.SBSendClick();
        const Shown reminder = Message(QStringLiteral("Proszę potwierdzić operację na drukarce"),
                                       QStringLiteral("Uwaga"));
        EXPECT_EQ(prompts.shown, std::vector<Shown>(static_cast<std::size_t>(c.reminders), reminder));
        prompts.shown.clear();
        Stop();
    }
}

TEST_F(SettingDialogsAndPrinterTest, APolishHeaderGoesRoundUnchangedInMazovia)
{
    StartPrinter({"--codepage", "maz", "--header", "ŁÓDŹ Ąą|ul. Żółta 5"});
    TFMain& main = Start();
    ASSERT_EQ(main.CodePage, QStringLiteral("maz"));
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    const QString frame = main.RERcv->toPlainText();
    EXPECT_EQ(DescriptionLines(main),
              (QStringList{"Odczytany nagłówek:", "ŁÓDŹ Ąą", "ul. Żółta 5"}));

    header().SpeedButton1Click();
    EXPECT_EQ(MemoLines(header().Memo->toPlainText()), (QStringList{"ŁÓDŹ Ąą", "ul. Żółta 5"}));
    header().BBOKClick();
    main.SBSendClick();

    // The printer holds exactly what it had: the same answer, byte for byte.
    main.Nagwek2Click();
    ASSERT_TRUE(SendAndAwaitAnswer(main));
    EXPECT_EQ(main.RERcv->toPlainText(), frame);
    EXPECT_EQ(DescriptionLines(main),
              (QStringList{"Odczytany nagłówek:", "ŁÓDŹ Ąą", "ul. Żółta 5"}));
    EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
}  // namespace varmo::test
