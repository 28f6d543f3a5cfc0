// The exchange log's rows made from the port's traffic, and the ring that
// keeps the newest of them.
#include <gtest/gtest.h>

#include <QString>
#include <chrono>
#include <string>

#include "console/log/ExchangeLogExport.h"
#include "console/log/ExchangeLogModel.h"
#include "console/log/ExchangeLogRows.h"
#include "protocol/CodePage.h"
#include "protocol/Frame.h"
#include "protocol/Mazovia.h"

namespace varmo::test {
namespace {

PortTraffic Traffic(PortDirection direction, std::string bytes,
                    PortRoad road = PortRoad::Delivered)
{
    return {std::chrono::steady_clock::now(), direction, road, std::move(bytes)};
}

PortTraffic Sent(std::string bytes) { return Traffic(PortDirection::ToPrinter, std::move(bytes), PortRoad::Written); }
PortTraffic Came(std::string bytes) { return Traffic(PortDirection::FromPrinter, std::move(bytes)); }


TEST(LogRowMakerTest, TrafficIsCutIntoFramesControlBytesStatusBytesAndStrayBytes)
{
    const std::string header = FrameOf("1#UABC\xFF");
    const struct {
        const char* name;
        std::vector<PortTraffic> traffic;
        std::vector<std::pair<LogKind, std::string>> rows;
    } cases[] = {
        {"a frame in three chunks is one row when its end arrives",
         {Came(header.substr(0, 3)), Came(header.substr(3, 4)), Came(header.substr(7))},
         {{LogKind::Frame, header}}},
        {"noise before a frame, two frames in one chunk",
         {Came("xy" + header + header)},
         {{LogKind::Outside, "xy"}, {LogKind::Frame, header}, {LogKind::Frame, header}}},
        {"an ESC at a chunk's end waits to see whether a frame starts",
         {Came("z\x1B"), Came("P1#E0\x1B\\")},
         {{LogKind::Outside, "z"}, {LogKind::Frame, "\x1BP1#E0\x1B\\"}}},
        {"ENQ, DLE and CAN going out; the status bytes coming back",
         {Sent("\x05"), Came("\x6F"), Sent("\x10"), Came("\x72"), Sent("\x18")},
         {{LogKind::Enq, "\x05"}, {LogKind::Status, "\x6F"}, {LogKind::Dle, "\x10"},
          {LogKind::Status, "\x72"}, {LogKind::Can, "\x18"}}},
        {"a byte nobody asked for is no status byte",
         {Sent(FrameOf("#n")), Came("\x6F")},
         {{LogKind::Frame, FrameOf("#n")}, {LogKind::Outside, "\x6F"}}},
        {"a frame left open by the operator goes out as it is",
         {Sent("\x1BPab")},
         {{LogKind::Outside, "\x1BPab"}}},
        {"a typed sequence with a control byte between frames",
         {Sent(FrameOf("#n") + "\x05" + "ab" + FrameOf("#u"))},
         {{LogKind::Frame, FrameOf("#n")}, {LogKind::Enq, "\x05"}, {LogKind::Outside, "ab"},
          {LogKind::Frame, FrameOf("#u")}}},
        {"a frame that never ends is shown as it is at 4096 bytes",
         {Came("\x1BP" + std::string(5000, 'a')), Came(header)},
         {{LogKind::Outside, "\x1BP" + std::string(5000, 'a')}, {LogKind::Frame, header}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LogRowMaker maker;
        std::vector<std::pair<LogKind, std::string>> rows;
        for (const PortTraffic& traffic : c.traffic)
            for (const LogRow& row : maker.Rows(traffic))
                rows.emplace_back(row.kind, row.bytes);
        EXPECT_EQ(rows, c.rows);
    }
}

TEST(LogRowMakerTest, AnAnswerCarriesItsCommandAndTheTimeSinceItsFrameWentOut)
{
    LogRowMaker maker;
    maker.DescribeSent = [](const std::string&) { return QStringLiteral("Odczyt nagłówka"); };
    maker.DescribeDelivered = [] { return QStringLiteral("Odczyt kodu błędu"); };
    const auto start = std::chrono::steady_clock::now();
    maker.Rows({start, PortDirection::ToPrinter, PortRoad::Written, FrameOf("#u")});
    const auto answer = [&](int ms, PortRoad road) {
        return maker.Rows({start + std::chrono::milliseconds(ms), PortDirection::FromPrinter, road,
                           FrameOf("1#E0")})
            .at(0);
    };
    const LogRow direct = answer(37, PortRoad::DirectRead);
    EXPECT_EQ(direct.answerMs, 37);
    EXPECT_EQ(direct.description, QStringLiteral("Odczyt nagłówka"));
    // Delivered answers belong to the main window's current command.
    const LogRow delivered = answer(120, PortRoad::Delivered);
    EXPECT_EQ(delivered.answerMs, 120);
    EXPECT_EQ(delivered.description, QStringLiteral("Odczyt kodu błędu"));
    // After its wait: late, under its own question, whatever is current now;
    // what is read off before a question answers nobody.
    const LogRow late = answer(2300, PortRoad::Late);
    EXPECT_EQ(late.answerMs, 2300);
    EXPECT_EQ(late.description, QStringLiteral("spóźniona: Odczyt nagłówka"));
    EXPECT_EQ(answer(2400, PortRoad::ReadOff).description,
              QStringLiteral("odrzucone przed pytaniem"));
}

TEST(LogRowMakerTest, ALateAnswerIsFiledUnderTheQuestionItsCodeNames)
{
    LogRowMaker maker;
    maker.DescribeSent = [](const std::string& frame) {
        return frame == FrameOf("#u") ? QStringLiteral("Odczyt nagłówka")
                                      : QStringLiteral("Odczyt kodu błędu");
    };
    const auto start = std::chrono::steady_clock::now();
    const auto at = [&](int ms) { return start + std::chrono::milliseconds(ms); };
    maker.Rows({at(0), PortDirection::ToPrinter, PortRoad::Written, FrameOf("#u")});
    maker.Rows({at(3710), PortDirection::ToPrinter, PortRoad::Written, FrameOf("#n")});
    // The header's answer comes while the error code is awaited, and after.
    for (const PortRoad road : {PortRoad::DirectRead, PortRoad::Delivered, PortRoad::Late}) {
        const LogRow row =
            maker.Rows({at(4000), PortDirection::FromPrinter, road, FrameOf("1#UABC\xFF")}).at(0);
        EXPECT_EQ(row.description, QStringLiteral("spóźniona: Odczyt nagłówka"));
        EXPECT_EQ(row.answerMs, 4000);
    }
    const auto own = maker.Rows({at(4010), PortDirection::FromPrinter, PortRoad::DirectRead, FrameOf("1#E0")});
    EXPECT_EQ(own.at(0).description, QStringLiteral("Odczyt kodu błędu"));
}

TEST(LogRowMakerTest, AFrameOnAMazoviaLineReadsWithItsPolishLettersAndKeepsItsBytes)
{
    const std::string windows = FrameOf("$gChleb \xBFytni\rA/");  // ż
    std::string mazovia = windows;
    WindowsToMazovia(mazovia);
    const std::string codePage = ConsoleCodePage();
    const struct {
        const char* codePage;
        PortTraffic traffic;
        bool readable;
    } cases[] = {
        {"maz", Sent(mazovia), true},
        {"maz", Came(mazovia), true},
        {"win", Sent(windows), true},
        {"win", Came(mazovia), false},  // a printer set otherwise than the console
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.codePage) + (c.traffic.direction == PortDirection::ToPrinter ? " sent" : " came"));
        SetConsoleCodePage(c.codePage);
        LogRowMaker maker;
        const std::vector<LogRow> rows = maker.Rows(c.traffic);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].text.contains(QStringLiteral("Chleb żytni")), c.readable) << rows[0].text.toStdString();
        EXPECT_EQ(rows[0].bytes, c.traffic.bytes);
        EXPECT_TRUE(LogCsv({&rows[0]}).find(HexBytes(c.traffic.bytes).toStdString()) != std::string::npos);
    }
    // A status byte is no text: it stays as it came, 0xA5 is no Ń.
    SetConsoleCodePage("maz");
    LogRowMaker maker;
    maker.Rows(Sent(std::string(1, kENQ)));
    const std::vector<LogRow> status = maker.Rows(Came("\xA5"));
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0].kind, LogKind::Status);
    EXPECT_EQ(status[0].text, QStringLiteral("Ą"));
    SetConsoleCodePage(codePage);
}

TEST(ExchangeLogModelTest, TheRingDropsTheOldestRowsAtItsBound)
{
    ExchangeLogModel model(5);
    const auto rows = [](int from, int to) {
        std::vector<LogRow> made;
        for (int n = from; n < to; ++n) {
            LogRow row;
            row.bytes = std::to_string(n);
            made.push_back(row);
        }
        return made;
    };
    const auto contents = [&] {
        std::vector<std::string> seen;
        for (int row = 0; row < model.rowCount(); ++row)
            seen.push_back(model.Row(row).bytes);
        return seen;
    };
    int removed = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                     [&](const QModelIndex&, int first, int last) { removed += last - first + 1; });
    model.Append(rows(0, 3));
    model.Append(rows(3, 7));
    EXPECT_EQ(contents(), (std::vector<std::string>{"2", "3", "4", "5", "6"}));
    EXPECT_EQ(removed, 2);
    model.Append(rows(7, 20));  // more than the whole ring at once
    EXPECT_EQ(contents(), (std::vector<std::string>{"15", "16", "17", "18", "19"}));
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace varmo::test
