// varmo-cli ports and find: the devices a COM name leads to, and the printer
// found at the one speed it listens at, with their exit codes and JSON.
#include <QJsonArray>
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
    EXPECT_TRUE(found.Objects()[0].value(QStringLiteral("found")).toBool());

    const CliResult text = cli_.Run({QStringLiteral("--port"), device, QStringLiteral("find")});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, device + QStringLiteral(" 38400\n"));
}

TEST_F(PortVerbsTest, FindSaysWhatItTriesAsItGoesAndWhatCameOfItNothingFound)
{
    // The port given first, then the stored one, which leads nowhere, then
    // the lists, where COM2 leads to a silent line.
    PtyPrinter silent;
    PtyPrinter mapped;
    const QString gone = dir_.filePath(QStringLiteral("unplugged"));
    cli_.SetEnv(QStringLiteral("VARMO_COM1"), gone);
    cli_.SetEnv(QStringLiteral("VARMO_COM2"), mapped.path());
    cli_.Store(QStringLiteral("com"), QStringLiteral("COM1"));
    cli_.Store(QStringLiteral("baud"), QStringLiteral("4800"));

    const CliResult nothing = cli_.Run({"--json", "--port", silent.path(), "find"});
    EXPECT_EQ(nothing.exitCode, 1);
    ASSERT_EQ(nothing.Objects().size(), 1u) << nothing.out.toStdString();
    const QJsonObject result = nothing.Objects()[0];
    EXPECT_FALSE(result.value(QStringLiteral("found")).toBool());
    QStringList tried;
    for (const QJsonValue& port : result.value(QStringLiteral("tried")).toArray())
        tried << port.toObject().value(QStringLiteral("port")).toString();
    ASSERT_GE(tried.size(), 2);
    EXPECT_EQ(tried.front(), silent.path());
    EXPECT_EQ(tried.back(), QStringLiteral("COM2"));
    QStringList speeds;
    for (const QJsonValue& speed : result.value(QStringLiteral("speeds")).toArray())
        speeds << QString::number(speed.toInt());
    EXPECT_EQ(speeds.join(' '), QStringLiteral("4800 9600 2400 19200 38400 57600 115200"));
    const QJsonArray unopened = result.value(QStringLiteral("unopened")).toArray();
    ASSERT_FALSE(unopened.isEmpty());
    EXPECT_EQ(unopened[0].toObject().value(QStringLiteral("port")).toString(), QStringLiteral("COM1"));
    EXPECT_EQ(unopened[0].toObject().value(QStringLiteral("trouble")).toString(),
              QStringLiteral("absent"));

    // Standard error, line by line as it goes: each port and speed, each
    // port that will not open, then the verdict.
    const QStringList err = nothing.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(err.size(), 16);
    EXPECT_EQ(err[0], "find: " + silent.path() + ", 4800 bd");
    EXPECT_EQ(err[6], "find: " + silent.path() + ", 115200 bd");
    EXPECT_EQ(err[7], "find: COM1 (" + gone +
                          "): brak urządzenia (nie ma takiego pliku ani katalogu)");
    EXPECT_TRUE(err.contains("find: COM2 (" + mapped.path() + "), 4800 bd"));
    EXPECT_TRUE(err.back().startsWith("varmo-cli: find: Nie znaleziono drukarki. Sprawdzono: " +
                                      silent.path() + ", "))
        << err.back().toStdString();
    EXPECT_TRUE(err.back().contains("nie otwarto: COM1 (" + gone + "): brak urządzenia"))
        << err.back().toStdString();

    const CliResult usage = cli_.Run({"find", "COM1"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_EQ(usage.err, QStringLiteral("varmo-cli: find: nie przyjmuje parametrów\n"));
    EXPECT_TRUE(usage.out.isEmpty());
}

}  // namespace
}  // namespace varmo::test
