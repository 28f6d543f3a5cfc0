// What changed since the last visit, from the values of two checks and the
// clock settings between them.
#include <gtest/gtest.h>

#include "book/SinceLastVisit.h"

namespace varmo::book {
namespace {

CheckValues values(const QDateTime& made, std::int64_t offset, std::int32_t receipt,
                   std::int32_t zeroings)
{
    CheckValues v;
    v.made = made;
    v.clockOffset = offset;
    v.lastReceipt = receipt;
    v.zeroings = zeroings;
    v.errorNumber = 0;
    v.header = QStringList{"SKLEP"};
    v.rates = Rates{23, 8, 5, 0, 100, 101, 101};
    v.totals = Totals{10000, 0, 0, 0, 0, 0, 0};
    return v;
}

const QDateTime kThen(QDate(2026, 11, 28), QTime(12, 0));

TEST(SinceLastVisitTest, TheClockDriftsPerDayWithTheCorrectionsBetweenCountedOut)
{
    const struct {
        const char* name;
        QDateTime now;
        std::int64_t offsetThen, offsetNow;
        std::vector<SettingRecord> corrections;
        std::optional<double> drift;
    } cases[] = {
        {"ten days, two minutes fast", kThen.addDays(10), 0, 120, {}, 12.0},
        {"slow", kThen.addDays(4), 30, -10, {}, -10.0},
        {"set right in between", kThen.addDays(10), 0, 60, {{kThen.addDays(5), "Zegar", "", 90, 0}}, 15.0},
        {"set without a reading", kThen.addDays(10), 0, 60, {{kThen.addDays(5), "Zegar", "", {}, {}}}, {}},
        {"ten minutes apart", kThen.addSecs(600), 0, 60, {}, {}},
    };
    for (const auto& c : cases) {
        const SinceLastVisit since = CompareWithLast(values(kThen, c.offsetThen, 0, 0),
                                                     values(c.now, c.offsetNow, 0, 0), c.corrections);
        EXPECT_EQ(since.driftPerDay, c.drift) << c.name;
        EXPECT_EQ(since.corrections, static_cast<int>(c.corrections.size())) << c.name;
    }
}

TEST(SinceLastVisitTest, ReceiptsSalesHeaderRatesAndZeroingsSinceAreToldAndARiseInZeroingsIsRed)
{
    CheckValues then = values(kThen, 0, 100, 0);
    CheckValues now = values(kThen.addSecs(3600 * 5), 5, 125, 1);
    now.header = QStringList{"INNY SKLEP"};
    now.totals = Totals{35000, 200, 0, 0, 0, 0, 0};
    then.errorNumber = 7;
    const SinceLastVisit since = CompareWithLast(then, now, {});
    EXPECT_EQ(since.receiptsSince, 25);
    EXPECT_EQ(since.salesSince, (Totals{25000, 200, 0, 0, 0, 0, 0}));
    EXPECT_EQ(since.headerChanged, true);
    EXPECT_EQ(since.ratesChanged, false);
    EXPECT_EQ(since.zeroingsSince, 1);
    EXPECT_EQ(since.Red(), Lines{"Zerowania pamięci fiskalnej: przybyło 1"});
    const Lines lines = since.Describe();
    for (const char* expected :
         {"Paragony od ostatniej wizyty: 25 (wtedy ostatni nr 100)",
          "Sprzedaż od ostatniej wizyty: A 2.50 B 0.02 C 0.00 D 0.00 E 0.00 F 0.00 G 0.00",
          "Nagłówek: zmieniony", "Stawki: bez zmian", "Błąd przy ostatniej wizycie: 7"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;

    // A daily report between the two set the day's totals to zero.
    now.made = kThen.addDays(2);
    EXPECT_FALSE(CompareWithLast(then, now, {}).salesSince);
}

}  // namespace
}  // namespace varmo::book
