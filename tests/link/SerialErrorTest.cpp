// Busy, forbidden and absent told apart when a port will not open: real
// ports opened on a missing path, a plain file, a folder, a device another
// program holds and one the user may not open, each failure classified and
// put in the words the console and varmo-cli show.
#include <gtest/gtest.h>

#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <unistd.h>

#include "LinkTestSupport.h"
#include "link/ComPort.h"
#include "link/SerialError.h"

namespace varmo {
namespace {

using namespace varmo::testing;

// What opening the device at path fails with, as the port reports it.
int openFailure(const QString& path)
{
    TComPort port;
    port.SetPort(path);
    try {
        port.OpenPort();
    } catch (const EComPort& failure) {
        EXPECT_EQ(failure.Text(), "Unable to open com port");
        return failure.OsError();
    }
    return 0;
}

QString plainFile(const QTemporaryDir& dir, const char* name)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a printer\n");
    return path;
}

TEST(SerialErrorTest, EachFailureToOpenIsBusyForbiddenOrAbsentInTheSameWords)
{
    ScopedSettingsDir settings;
    QTemporaryDir dir;
    PtyPair held;
    QSerialPort otherProgram(held.SlavePath());
    ASSERT_TRUE(otherProgram.open(QIODevice::ReadWrite))
        << otherProgram.errorString().toStdString();

    const struct {
        const char* what;
        QString path;
        PortTrouble trouble;
        const char* words;
    } cases[] = {
        {"missing", dir.filePath(QStringLiteral("ttyUSB9")), PortTrouble::Absent,
         "brak urządzenia (nie ma takiego pliku ani katalogu)"},
        {"plain file", plainFile(dir, "notes.txt"), PortTrouble::Absent,
         "to nie jest port szeregowy (nieodpowiednia operacja dla urządzenia)"},
        {"folder", dir.path(), PortTrouble::Absent, "to nie jest port szeregowy (to jest katalog)"},
        {"held by another program", held.SlavePath(), PortTrouble::Busy,
         "zajęty przez inny program (urządzenie lub zasób jest zajęty)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int code = openFailure(c.path);
        EXPECT_EQ(PortTroubleOf(code), c.trouble) << code;
        EXPECT_EQ(PortFailureText(code), c.words);
        // The probe that varmo-cli ports makes says the same.
        EXPECT_EQ(DeviceOpenError(c.path), code);
    }
    otherProgram.close();
    EXPECT_EQ(openFailure(held.SlavePath()), 0);
    EXPECT_EQ(DeviceOpenError(held.SlavePath()), 0);
    EXPECT_EQ(PortTroubleOf(0), PortTrouble::None);
    EXPECT_EQ(PortFailureText(0), "");
}

TEST(SerialErrorTest, APortTheUserMayNotOpenNamesTheDialoutGroup)
{
    ScopedSettingsDir settings;
    QTemporaryDir dir;
    // Root opens a file whatever its mode says; a read-only attribute of the
    // kernel's sysfs refuses writing even to root.
    QString refused = plainFile(dir, "ttyS7");
    if (geteuid() != 0) {
        ASSERT_TRUE(QFile::setPermissions(refused, QFileDevice::Permissions()));
    } else {
        refused = QStringLiteral("/sys/kernel/uevent_seqnum");
        if (!QFile::exists(refused))
            GTEST_SKIP() << "run as root, and without " << refused.toStdString()
                         << " there is no file that refuses root: the forbidden case is not tried";
    }
    const int code = openFailure(refused);
    EXPECT_EQ(code, EACCES);
    EXPECT_EQ(PortTroubleOf(code), PortTrouble::Forbidden);
    EXPECT_EQ(PortFailureText(code),
              "brak uprawnień (brak dostępu) – dodaj użytkownika do grupy dialout");
}

TEST(SerialErrorTest, TheSystemsReasonIsInPolishWhereTheTableKnowsItAndTheSystemsOwnElse)
{
    const struct {
        int code;
        PortTrouble trouble;
        std::string text;
    } cases[] = {
        {EPERM, PortTrouble::Forbidden,
         "brak uprawnień (operacja niedozwolona) – dodaj użytkownika do grupy dialout"},
        {ENODEV, PortTrouble::Absent, "brak urządzenia (nie ma takiego urządzenia)"},
        {ENXIO, PortTrouble::Absent, "brak urządzenia (nie ma takiego urządzenia ani adresu)"},
        {EIO, PortTrouble::Other, "błąd wejścia/wyjścia"},
        {ENOSPC, PortTrouble::Other, "brak miejsca na dysku"},
        {ENAMETOOLONG, PortTrouble::Other, SystemErrorText(ENAMETOOLONG)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(PortTroubleOf(c.code), c.trouble);
        EXPECT_EQ(PortFailureText(c.code), c.text);
    }
}

}  // namespace
}  // namespace varmo
