// varmo-cli against varmo-sim: the printer's clock set from this computer's
// only when the two are within an hour (or when forced), the NIP the
// printer took kept in the visit book and found by it, and the book verbs
// that answer in the technician's words.
#include <QJsonDocument>
#include <QJsonObject>

#include "tests/cli/CliFixture.h"

namespace varmo::test {
namespace {

// The printer's clock less the computer's, as the service check reads it.
double clockDifference(const CliResult& check)
{
    const QJsonObject clock =
        QJsonDocument::fromJson(check.out.toUtf8()).object()["clock"].toObject();
    return clock["differenceSeconds"].toDouble(99999);
}

TEST_F(CliTest, SetClockNowLeavesAClockMoreThanAnHourOffUnlessForced)
{
    const struct {
        QString offset;
        bool force;
        int exitCode;
        double differenceAfter;  // to within a couple of seconds
    } cases[] = {
        {"7200", false, 6, 7200},
        {"7200", true, 0, 0},
        {"-1800", false, 0, 0},  // under an hour, and behind: set as always
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset.toStdString() + (c.force ? " --force" : ""));
        StartPrinter({"--clock-offset", c.offset});
        const QStringList set = c.force ? QStringList{"--force", "set-clock", "now"}
                                        : QStringList{"set-clock", "now"};
        const CliResult result = Cli(set);  // a set waits for the next minute
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        if (c.exitCode == 6) {
            // Both clocks shown, the computer's named as a suspect.
            EXPECT_TRUE(result.err.contains(QStringLiteral("drukarka ")) &&
                        result.err.contains(QStringLiteral("komputer ")) &&
                        result.err.contains(QStringLiteral("zegar komputera")) &&
                        result.err.contains(QStringLiteral("--force")))
                << result.err.toStdString();
            EXPECT_TRUE(result.out.isEmpty()) << "nothing went to the printer";
        }
        const CliResult check = Cli({"--json", "check", "--no-book"});
        EXPECT_NEAR(clockDifference(check), c.differenceAfter, 2) << check.out.toStdString();
    }

    const CliResult help = cli_.Run({"--help"});
    EXPECT_TRUE(help.out.contains(QStringLiteral("\n  6  set-clock now")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("\n  --force ")));
}

TEST_F(CliTest, TheNipTheBookKeptFindsThePrinterAndTheBookAnswersInWords)
{
    const QString book = dir_.filePath(QStringLiteral("ksiega.sqlite"));
    const QString port = StartPrinter({"--unique", "ABC12345678"});
    const CliResult set = Cli({"--book", book, "set-nip", "526-000-12-46"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();

    const struct {
        QStringList args;
        QString out;  // standard output starts so; empty: a usage error
    } cases[] = {
        {{"book", "printers", "--search", "5260001246"}, "ABC12345678  "},
        {{"book", "printers", "--search", "526-000"}, "ABC12345678  "},
        {{"book", "printers", "--search", "999"},
         QStringLiteral("Brak drukarek pasujących do „999”.\n")},
        {{"book", "visits", "abc12345678"}, "1  "},
        {{"book", "printers", "--due", "-1"}, {}},
        {{"book", "list"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliResult result = cli_.Run(QStringList{"--book", book} + c.args);
        if (c.out.isEmpty()) {
            EXPECT_EQ(result.exitCode, 2);
            EXPECT_TRUE(result.err.contains(QStringLiteral("użycie")) ||
                        result.err.contains(QStringLiteral("nie może być mniejsze od 0")))
                << result.err.toStdString();
            continue;
        }
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_TRUE(result.out.startsWith(c.out)) << result.out.toStdString();
    }
    // The visit names the port as it was typed, a device path and no COM1.
    const CliResult visits = cli_.Run({"--book", book, "--json", "book", "visits", "ABC12345678"});
    const QJsonObject visit = QJsonDocument::fromJson(visits.out.toUtf8())
                                  .object()["visits"].toArray().first().toObject();
    EXPECT_EQ(visit["port"].toString(), port);
}

}  // namespace
}  // namespace varmo::test
