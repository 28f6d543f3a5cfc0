// The three settings kept between runs, in a settings file of the test's own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>

#include "LinkTestSupport.h"
#include "link/SettingsStore.h"
#include "protocol/Exception.h"

using namespace varmo;
using varmo::testing::ScopedSettingsDir;

namespace {

QSettings directStore()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, "Ferwen s.c.", "Varmo");
}

std::string messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e.what();
    }
    return "no exception";
}

}  // namespace

TEST(SettingsStore, MissingValuesReadAsEmptyAndWrittenTextComesBack)
{
    ScopedSettingsDir dir;
    OpenSettingsStore();
    EXPECT_EQ(ReadSetting("com"), "");
    EXPECT_EQ(ReadSetting("baud"), "");

    WriteSetting("com", "COM3");
    WriteSetting("baud", "9600");
    WriteSetting("plStd", "maz");
    WriteSetting("com", "com5");  // replaces the earlier value
    WriteSetting("empty", "");
    WriteSetting("odd", QStringLiteral("a, b; \"c\" = Żółć\\"));
    EXPECT_EQ(ReadSetting("com"), "com5");
    EXPECT_EQ(ReadSetting("baud"), "9600");
    EXPECT_EQ(ReadSetting("empty"), "");
    EXPECT_EQ(ReadSetting("odd"), QStringLiteral("a, b; \"c\" = Żółć\\"));
    CloseSettingsStore();

    // Kept on disk, in the per-user file under the maker's and program's names.
    ASSERT_TRUE(QFile::exists(dir.IniFile()));
    QSettings reread(dir.IniFile(), QSettings::IniFormat);
    EXPECT_EQ(reread.value("com").toString(), "com5");
    EXPECT_EQ(reread.value("odd").toString(), QStringLiteral("a, b; \"c\" = Żółć\\"));

    OpenSettingsStore();
    EXPECT_EQ(ReadSetting("plStd"), "maz");
    CloseSettingsStore();
}

TEST(SettingsStore, ValuesThatAreNotTextAreRefused)
{
    ScopedSettingsDir dir;
    {
        QSettings store = directStore();
        store.setValue("baud", 9600);
        store.setValue("com", QStringList{"COM1", "COM2"});
        store.setValue("plStd", QByteArray("maz"));
        store.sync();
    }
    EXPECT_EQ(messageOf([] { ReadSetting("baud"); }), "Invalid data type for 'baud'");
    EXPECT_EQ(messageOf([] { ReadSetting("com"); }), "Invalid data type for 'com'");
    EXPECT_EQ(messageOf([] { ReadSetting("plStd"); }), "Invalid data type for 'plStd'");

    // A list typed into the file by hand is not text either; a number is.
    QFile file(dir.IniFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\ncom=COM1, COM2\nbaud=19200\n");
    file.close();
    QSettings fresh = directStore();
    fresh.sync();  // let the process-wide cache see the edited file
    EXPECT_EQ(messageOf([] { ReadSetting("com"); }), "Invalid data type for 'com'");
    EXPECT_EQ(ReadSetting("baud"), "19200");

    // Writing text over such a value replaces it.
    WriteSetting("com", "COM2");
    EXPECT_EQ(ReadSetting("com"), "COM2");
}

TEST(SettingsStore, TextEndsAtItsFirstNul)
{
    ScopedSettingsDir dir;
    WriteSetting("com", QStringLiteral("COM4") + QChar(u'\0') + QStringLiteral("junk"));
    EXPECT_EQ(ReadSetting("com"), "COM4");
}

TEST(SettingsStore, AStoreThatCannotBeWrittenFailsWritesAndReadsEmpty)
{
    ScopedSettingsDir dir;
    // A plain file where the settings folder should be: not even root can
    // create the store there.
    const QString blocker = dir.Path() + "/blocker";
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocker);

    OpenSettingsStore();
    EXPECT_EQ(ReadSetting("com"), "");
    EXPECT_EQ(messageOf([] { WriteSetting("com", "COM2"); }), "Failed to set data for 'com'");
    // The refused value is not shown as if it had been kept.
    EXPECT_EQ(ReadSetting("com"), "");
    EXPECT_EQ(messageOf([] { WriteSetting("plStd", "win"); }), "Failed to set data for 'plStd'");
    CloseSettingsStore();

    // Once the store can be written again, writes succeed again.
    ASSERT_TRUE(QFile::remove(blocker));
    WriteSetting("com", "COM2");
    EXPECT_EQ(ReadSetting("com"), "COM2");
}

TEST(SettingsStore, AValueNameIsNeeded)
{
    ScopedSettingsDir dir;
    EXPECT_EQ(messageOf([] { WriteSetting("", "x"); }), "Failed to set data for ''");
}
