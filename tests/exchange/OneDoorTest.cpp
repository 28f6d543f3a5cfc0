// Every question through the exchange's one door against varmo-sim on a
// slow, a doubling and a spoiling line: each read gives the printer's own
// value, or says what went wrong, and never another question's answer.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "exchange/PrinterExchange.h"
#include "exchange/ServiceCheck.h"
#include "commands/ReadCommands.h"
#include "protocol/CodePage.h"
#include "protocol/Frame.h"
#include "tests/e2e/SimPrinter.h"

namespace varmo {
namespace {

using test::SimPrinter;

struct Line {
    const char* name;
    QStringList options;
    bool spoilt;  // the printer's check values are wrong
};

const Line kLines[] = {
    {"slow", {QStringLiteral("--delay"), QStringLiteral("800")}, false},
    {"slower", {QStringLiteral("--delay"), QStringLiteral("1500")}, false},
    {"twice in pieces",
     {QStringLiteral("--twice"), QStringLiteral("--chunk"), QStringLiteral("4"),
      QStringLiteral("--gap"), QStringLiteral("30")},
     false},
    {"spoilt check values", {QStringLiteral("--bad-checksum")}, true},
};

class OneDoorTest : public ::testing::Test {
protected:
    void SetUp() override { SetConsoleCodePage("win"); }

    // The round of reads on a printer with these faults of its line.
    CheckResult CheckOn(const QStringList& options)
    {
        SimPrinter printer(options + QStringList{QStringLiteral("--codepage"),
                                                 QStringLiteral("win")},
                           dir.filePath(QStringLiteral("paper.txt")));
        EXPECT_FALSE(printer.path().isEmpty());
        PrinterExchange exchange;
        exchange.SetPort(printer.path());
        EXPECT_TRUE(exchange.Open());
        return ServiceCheck::Run(exchange, CheckSetting{}, nullptr);
    }

    QTemporaryDir dir;
};

TEST_F(OneDoorTest, TheServiceCheckReadsThePrintersOwnValuesOrSaysWhatWentWrong)
{
    const CheckResult clean = CheckOn({});
    ASSERT_TRUE(clean.AllAnswered());
    for (const Line& line : kLines) {
        SCOPED_TRACE(line.name);
        const CheckResult result = CheckOn(line.options);
        ASSERT_EQ(result.steps.size(), clean.steps.size());
        for (std::size_t i = 0; i < result.steps.size(); ++i) {
            const CheckStep& step = result.steps[i];
            SCOPED_TRACE(step.name);
            // The status bytes and the error number carry no check value; the
            // clock's answer carries two characters that are none.
            const bool framedWithCheck = step.name == kStepHeader || step.name == kStepCash;
            if (line.spoilt && framedWithCheck) {
                EXPECT_FALSE(step.answered);
                EXPECT_EQ(step.result, Lines{kBadCheckText});
            } else if (step.name == kStepClock) {
                EXPECT_TRUE(step.answered);
                EXPECT_TRUE(result.printerTime.has_value());
            } else {
                EXPECT_TRUE(step.answered);
                EXPECT_EQ(step.result, clean.steps[i].result);
            }
        }
    }
}

TEST_F(OneDoorTest, ALateAnswerIsNeverTakenForTheNextQuestion)
{
    SimPrinter printer({QStringLiteral("--delay"), QStringLiteral("800"),
                        QStringLiteral("--codepage"), QStringLiteral("win")},
                       dir.filePath(QStringLiteral("paper.txt")));
    PrinterExchange exchange;
    exchange.SetPort(printer.path());
    ASSERT_TRUE(exchange.Open());
    std::vector<PortTraffic> heard;
    QObject::connect(&exchange, &PrinterExchange::trafficSeen,
                     [&](const PortTraffic& traffic) { heard.push_back(traffic); });

    // The status panel's wait is shorter than this printer takes: ENQ goes
    // unanswered, and its byte, when it comes, is ENQ's and not DLE's.
    EXPECT_FALSE(exchange.QueryStatus(kENQ).has_value());
    const std::optional<unsigned char> dle = exchange.QueryStatus(kDLE, exchange.AnswerWaitMs());
    ASSERT_TRUE(dle.has_value());
    // The virtual printer's DLE byte: on line, paper in, no fault (its ENQ
    // byte would read 0x60).
    EXPECT_EQ(*dle, 0x74);
    const auto late = std::find_if(heard.begin(), heard.end(), [](const PortTraffic& traffic) {
        return traffic.road == PortRoad::Late;
    });
    ASSERT_NE(late, heard.end()) << "ENQ's own byte was not told as late";
    EXPECT_EQ(late->bytes.size(), 1u);

    TCmdReadErrCode error;
    EXPECT_EQ(exchange.DirectRead(error, [] {}, exchange.AnswerWaitMs()), ReplyKind::Answered);
    EXPECT_EQ(error.ErrorNumber(), 0);
    TCmdReadHeader header;
    EXPECT_EQ(exchange.DirectRead(header, [] {}, exchange.AnswerWaitMs()), ReplyKind::Answered);
    EXPECT_NE(header.HeaderText().find("SKLEP TESTOWY"), std::string::npos);
}

TEST_F(OneDoorTest, AFrameThePrinterWouldDropIsRefusedBeforeAnythingGoesOut)
{
    SimPrinter printer({}, dir.filePath(QStringLiteral("paper.txt")));
    PrinterExchange exchange;
    exchange.SetPort(printer.path());
    ASSERT_TRUE(exchange.Open());
    std::string sent;
    QObject::connect(&exchange, &PrinterExchange::trafficSeen, [&](const PortTraffic& traffic) {
        if (traffic.direction == PortDirection::ToPrinter)
            sent += traffic.bytes;
    });
    Question question;
    question.expect = Expect::Nothing;
    question.wire = FrameOf(std::string(kMaxFrameContent - 2, 'H'));  // fits, check value too
    EXPECT_EQ(exchange.Ask(question).written, static_cast<std::int32_t>(question.wire.size()));
    question.wire = FrameOf(std::string(kMaxFrameContent - 1, 'H'));
    sent.clear();
    EXPECT_THROW(exchange.Ask(question), FrameTooLong);
    EXPECT_TRUE(sent.empty());
}

}  // namespace
}  // namespace varmo
