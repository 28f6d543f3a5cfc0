// The status panel over a real serial port: the status bytes in words and
// colours, silence, and CAN.
#include <QElapsedTimer>
#include <QLabel>

#include "tests/console/ConsoleHarness.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

const QColor kBlack(0, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGrey(128, 128, 128);

struct Look {
    QString text;
    QColor colour;
};

void ExpectLook(const QLabel* label, const Look& look)
{
    EXPECT_TRUE(label->isEnabled()) << look.text.toStdString();
    EXPECT_EQ(label->text(), look.text);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), look.colour) << look.text.toStdString();
}

class StatusPanelTest : public ConsoleTest {
protected:
    void SetUp() override
    {
        ConsoleTest::SetUp();
        PointCom1At(printer.path());
    }
    PtyPrinter printer;
};

TEST_F(StatusPanelTest, BeforeTheFirstAnswerTheLabelsAreGreyWithTheirFirstCaptions)
{
    TFMain& main = Start();
    const std::pair<QLabel*, QString> labels[] = {
        {main.LbFSK, "Fiskalna"},     {main.LbCMD, "Ostatni rozkaz poprawnie"},
        {main.LbPAR, "Tryb transakcji"}, {main.LbTRF, "Transakcja proprawna"},
        {main.LbONL, "On-line"},      {main.LbPE, "Brak papieru"},
        {main.LbERR, "Błąd mechanizmu drukującego"},
    };
    for (const auto& [label, caption] : labels) {
        EXPECT_FALSE(label->isEnabled());
        EXPECT_EQ(label->text(), caption);
        EXPECT_TRUE(label->font().bold());
    }
}

TEST_F(StatusPanelTest, EnqAnswersBecomeTheFourLogicalFlags)
{
    const struct {
        unsigned char status;
        bool fiscal;
        Look fsk, cmd, par, trf;
    } cases[] = {
        {0x0F, true, {"Fiskalna", kBlack}, {"Ostatni rozkaz poprawnie", kBlack},
         {"Tryb transakcji", kBlue}, {"Ostatnia transakcja poprawnie", kBlack}},
        // Bits 4 to 7 mean nothing.
        {0xF0, false, {"Niefiskalna", kBlue}, {"Ostatni rozkaz niepoprawnie", kRed},
         {"Poza trybem transakcji", kGrey}, {"Ostatnia transakcja niepoprawnie", kRed}},
        {0x0A, true, {"Fiskalna", kBlack}, {"Ostatni rozkaz niepoprawnie", kRed},
         {"Tryb transakcji", kBlue}, {"Ostatnia transakcja niepoprawnie", kRed}},
        {0x35, false, {"Niefiskalna", kBlue}, {"Ostatni rozkaz poprawnie", kBlack},
         {"Poza trybem transakcji", kGrey}, {"Ostatnia transakcja poprawnie", kBlack}},
    };
    TFMain& main = Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.status));
        printer.answerEnq(c.status);
        printer.clearReceived();
        main.Button3Click();
        EXPECT_EQ(printer.received(), "\x05");
        EXPECT_EQ(main.Fiscal, c.fiscal);
        ExpectLook(main.LbFSK, c.fsk);
        ExpectLook(main.LbCMD, c.cmd);
        ExpectLook(main.LbPAR, c.par);
        ExpectLook(main.LbTRF, c.trf);
    }
    // The mechanical flags were not touched.
    EXPECT_FALSE(main.LbONL->isEnabled());
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(StatusPanelTest, DleAnswersBecomeTheThreeMechanicalFlags)
{
    const struct {
        unsigned char status;
        Look onl, pe, err;
    } cases[] = {
        {0x02, {"Off-line", kGrey}, {"Brak papieru", kRed}, {"Mechanizm drukujący OK", kBlack}},
        {0x05, {"On-line", kBlue}, {"Jest papier", kBlack}, {"Błąd mechanizmu drukującego", kRed}},
        {0xF8, {"Off-line", kGrey}, {"Jest papier", kBlack}, {"Mechanizm drukujący OK", kBlack}},
        {0x07, {"On-line", kBlue}, {"Brak papieru", kRed}, {"Błąd mechanizmu drukującego", kRed}},
    };
    TFMain& main = Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.status));
        printer.answerDle(c.status);
        main.Button4Click();
        ExpectLook(main.LbONL, c.onl);
        ExpectLook(main.LbPE, c.pe);
        ExpectLook(main.LbERR, c.err);
    }
    EXPECT_FALSE(main.LbFSK->isEnabled());
    EXPECT_TRUE(main.Fiscal);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(StatusPanelTest, SilenceIsReportedOnlyWhereItShouldBe)
{
    TFMain& main = Start();
    printer.answerEnq(0x0F);
    main.Button3Click();
    printer.answerEnq(std::nullopt);
    printer.answerDle(std::nullopt);

    // The read waits its half second, and no longer than reasonable.
    QElapsedTimer clock;
    clock.start();
    main.Button3Click();
    EXPECT_GE(clock.elapsed(), 450);
    EXPECT_LT(clock.elapsed(), 10000);
    main.Button4Click();
    const std::vector<Shown> expected{
        Message(QStringLiteral("Brak odpowiedzi"), QStringLiteral("Odczyt statusu drukarki")),
        Message(QStringLiteral("Brak odpowiedzi"), QStringLiteral("COM")),
    };
    EXPECT_EQ(prompts.shown, expected);

    // The dialogs' silent query says nothing and changes nothing.
    prompts.shown.clear();
    main.Fiscal = false;
    main.QueryPrinterStatus(false);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_FALSE(main.Fiscal);
    ExpectLook(main.LbFSK, {"Fiskalna", kBlack});
    EXPECT_FALSE(main.LbONL->isEnabled());
}

TEST_F(StatusPanelTest, SilentQueryOnAFreshConsoleKeepsItFiscal)
{
    TFMain& main = Start();
    main.QueryPrinterStatus(false);
    EXPECT_TRUE(main.Fiscal);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(StatusPanelTest, CanGoesOutAndChangesNothingOnScreen)
{
    TFMain& main = Start();
    main.Button5Click();
    ASSERT_TRUE(printer.waitForReceived(1));
    EXPECT_EQ(printer.received(), "\x18");
    EXPECT_FALSE(main.LbFSK->isEnabled());
    EXPECT_FALSE(main.LbONL->isEnabled());
    EXPECT_TRUE(prompts.shown.empty());
}

}  // namespace
}  // namespace varmo::test
