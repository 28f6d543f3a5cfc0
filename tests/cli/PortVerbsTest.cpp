// varmo-cli ports and find: the devices a COM name leads to, and the printer
// found at the one speed it listens at, with their exit codes and JSON.
#include <QJsonObject>

#include "tests/cli/CliFixture.h"
#include "tests/console/PtyPrinter.h"

namespace varmo::test {
namespace {

using PortVerbsTest = CliTest;

TEST_F(PortVerbsTest, PortsListsTheMappedDevicesAndFindTheirPrinter)
{
    const QString device = StartPrinter({QStringLiteral("--speed"), QStringLiteral("38400")});
    const QString gone = dir_.filePath(QStringLiteral("unplugged"));
    cli_.SetEnv(QStringLiteral("VARMO_COM3"), device);
    cli_.Store(QStringLiteral("devices/COM4"), gone);

    const CliResult ports = cli_.Run({QStringLiteral("--json"), QStringLiteral("ports")});
    EXPECT_EQ(ports.exitCode, 0) << ports.err.toStdString();
    QJsonObject printerRow;
    QJsonObject goneRow;
    for (const QJsonObject& row : ports.Objects()) {
        if (row.value(QStringLiteral("path")).toString() == device)
            printerRow = row;
        if (row.value(QStringLiteral("path")).toString() == gone)
            goneRow = row;
    }
    EXPECT_EQ(printerRow.value(QStringLiteral("com")).toString(), QStringLiteral("COM3"));
    EXPECT_FALSE(printerRow.value(QStringLiteral("missing")).toBool());
    EXPECT_EQ(goneRow.value(QStringLiteral("com")).toString(), QStringLiteral("COM4"));
    EXPECT_TRUE(goneRow.value(QStringLiteral("missing")).toBool());

    // The port of the settings goes first.
    cli_.Store(QStringLiteral("com"), QStringLiteral("COM3"));
    const CliResult found = cli_.Run({QStringLiteral("--json"), QStringLiteral("find")});
    EXPECT_EQ(found.exitCode, 0) << found.err.toStdString();
    ASSERT_EQ(found.Objects().size(), 1u);
    EXPECT_EQ(found.Objects()[0].value(QStringLiteral("port")).toString(), QStringLiteral("COM3"));
    EXPECT_EQ(found.Objects()[0].value(QStringLiteral("speed")).toInt(), 38400);

    const CliResult text = cli_.Run({QStringLiteral("--port"), device, QStringLiteral("find")});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, device + QStringLiteral(" 38400\n"));
}

TEST_F(PortVerbsTest, FindSaysSoWhenNothingAnswers)
{
    PtyPrinter silent;
    const struct {
        QStringList arguments;
        int exitCode;
        const char* error;
    } cases[] = {
        {{QStringLiteral("--port"), silent.path(), QStringLiteral("find")}, 1,
         "varmo-cli: find: Nie znaleziono drukarki\n"},
        {{QStringLiteral("find"), QStringLiteral("COM1")}, 2,
         "varmo-cli: find: takes no parameters\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CliResult result = cli_.Run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err, QString::fromUtf8(c.error));
        EXPECT_TRUE(result.out.isEmpty());
    }
}

}  // namespace
}  // namespace varmo::test
