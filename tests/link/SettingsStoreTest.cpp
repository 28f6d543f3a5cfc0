// The three settings kept between runs, in a settings file of the test's own.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "LinkTestSupport.h"
#include "link/SettingsStore.h"
#include "link/StoredLink.h"
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

// Runs the action on a thread of its own; when it has not ended within ms,
// a writer opens the FIFO at path to let it go, and the answer is false.
bool EndsWithin(int ms, const QString& path, const std::function<void()>& action)
{
    std::packaged_task<void()> task(action);
    std::future<void> done = task.get_future();
    std::thread runner(std::move(task));
    const bool ended = done.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready;
    if (!ended) {
        const int writer = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    }
    runner.join();
    return ended;
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

TEST(SettingsStore, NumbersAreReadAsNumbersAndOtherValuesAreASettingsProblem)
{
    ScopedSettingsDir dir;
    {
        QSettings store = directStore();
        store.setValue("baud", 9600);
        store.setValue("com", QStringList{"COM1", "COM2"});
        store.setValue("plStd", QByteArray("maz"));
        store.sync();
    }
    EXPECT_EQ(ReadSetting("baud"), "9600");
    EXPECT_EQ(StoredBaud(), 9600);
    EXPECT_THROW(ReadSetting("com"), SettingsTypeError);
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

TEST(SettingsStore, AFolderThatCannotBeWrittenIsToldOnceARunInPolishNamingIt)
{
    ScopedSettingsDir dir;
    // A plain file where the settings folder should be: not even root can
    // create the store there.
    const QString blocker = dir.Path() + "/blocker";
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocker);
    const std::string told = "Nie można zapisać ustawień w folderze „" +
                             QDir::toNativeSeparators(blocker).toStdString() +
                             "/Ferwen s.c.”: nie zostaną zapamiętane do następnego uruchomienia";
    EXPECT_EQ(SettingsFolder(), blocker + "/Ferwen s.c.");

    OpenSettingsStore();
    EXPECT_EQ(ReadSetting("com"), "");
    EXPECT_EQ(messageOf([] { WriteSetting("com", "COM2"); }), told);
    // The refused value is not shown as if it had been kept.
    EXPECT_EQ(ReadSetting("com"), "");
    // Told once: the next writes are not kept either, without a word.
    EXPECT_FALSE(WriteSettingQuietly("plStd", "win"));
    EXPECT_EQ(messageOf([] { WriteSetting("plStd", "win"); }), "no exception");
    EXPECT_EQ(messageOf([] { WriteSetting("com", "COM3"); }), "no exception");
    EXPECT_EQ(ReadSetting("plStd"), "");
    EXPECT_EQ(SettingsStoreProblem(), "");
    CloseSettingsStore();

    // The next run: told at its start, when the program asks, and then no more.
    OpenSettingsStore();
    EXPECT_EQ(SettingsStoreProblem(), told);
    EXPECT_EQ(SettingsStoreProblem(), "");
    EXPECT_EQ(messageOf([] { WriteSetting("plStd", "win"); }), "no exception");
    CloseSettingsStore();

    // Once the store can be written again, writes succeed again.
    ASSERT_TRUE(QFile::remove(blocker));
    OpenSettingsStore();
    EXPECT_EQ(SettingsStoreProblem(), "");
    WriteSetting("com", "COM2");
    EXPECT_EQ(ReadSetting("com"), "COM2");
    EXPECT_TRUE(WriteSettingQuietly("baud", "19200"));
    EXPECT_EQ(ReadSetting("baud"), "19200");
    CloseSettingsStore();
}

TEST(SettingsStore, AWritableFolderIsNoProblemEvenBeforeItIsMade)
{
    ScopedSettingsDir dir;
    OpenSettingsStore();
    EXPECT_FALSE(QDir(dir.Path() + "/Ferwen s.c.").exists());
    EXPECT_EQ(SettingsStoreProblem(), "");
    // Asking wrote nothing.
    EXPECT_FALSE(QDir(dir.Path() + "/Ferwen s.c.").exists());
    WriteSetting("com", "COM2");
    EXPECT_EQ(SettingsStoreProblem(), "");
    CloseSettingsStore();
}

// A settings file that is a FIFO, a folder or a link to /dev/zero: never
// opened, so nothing waits; reads give the defaults, the first write says
// what it is, naming it. A run that hangs is released and fails.
TEST(SettingsStore, ASettingsFileThatIsNoRegularFileIsToldAndNeverOpened)
{
    const struct {
        const char* what;
        std::function<bool(const QString&)> make;
        std::string told;
    } cases[] = {
        {"fifo",
         [](const QString& file) { return mkfifo(file.toLocal8Bit().constData(), 0600) == 0; },
         "to potok (FIFO), a nie zwykły plik"},
        {"folder", [](const QString& file) { return QDir().mkdir(file); }, "to folder, a nie plik"},
        {"/dev/zero", [](const QString& file) { return QFile::link("/dev/zero", file); },
         "to urządzenie, a nie zwykły plik"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedSettingsDir dir;
        ASSERT_TRUE(QDir().mkpath(dir.Path() + "/Ferwen s.c."));
        ASSERT_TRUE(c.make(dir.IniFile()));
        QString read;
        std::string forCli;
        std::string firstWrite;
        std::string secondWrite;
        bool quiet = true;
        std::string atStart;
        const bool ended = EndsWithin(3000, dir.IniFile(), [&] {
            OpenSettingsStore();
            read = ReadSetting("com");
            forCli = SettingsFileProblem();
            quiet = WriteSettingQuietly("dziennik/widoczny", "1");
            firstWrite = messageOf([] { WriteSetting("com", "COM2"); });
            secondWrite = messageOf([] { WriteSetting("plStd", "win"); });
            CloseSettingsStore();
            OpenSettingsStore();
            atStart = SettingsStoreProblem();
            CloseSettingsStore();
        });
        ASSERT_TRUE(ended) << "the settings file was opened and waited on";
        const std::string told = "Nie można otworzyć pliku ustawień „" +
                                 QDir::toNativeSeparators(dir.IniFile()).toStdString() +
                                 "”: " + c.told +
                                 "; program użyje ustawień domyślnych i nie zapamięta zmian";
        EXPECT_EQ(read, "");
        EXPECT_EQ(forCli, told);
        EXPECT_FALSE(quiet);
        EXPECT_EQ(firstWrite, told);
        EXPECT_EQ(secondWrite, "no exception");
        EXPECT_EQ(atStart, told);
        // Left as it was.
        EXPECT_FALSE(QFileInfo(dir.IniFile()).isFile());
    }
}

TEST(SettingsStore, AnUnreadableSettingsFileIsSetAsideAndAFreshOneStarted)
{
    QByteArray garbage;  // no INI file holds these bytes
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    ScopedSettingsDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.Path() + "/Ferwen s.c."));
    QFile file(dir.IniFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(garbage) == garbage.size());
    file.close();
    OpenSettingsStore();
    const std::string told = SettingsStoreProblem();
    WriteSetting("com", "COM2");
    CloseSettingsStore();
    const QStringList aside = QDir(dir.Path() + "/Ferwen s.c.").entryList({"Varmo.ini.bad-*"});
    ASSERT_EQ(aside.size(), 1) << told;
    QFile kept(dir.Path() + "/Ferwen s.c./" + aside[0]);
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == garbage);
    EXPECT_NE(told.find("był nieczytelny: odłożono go jako „" +
                        QDir::toNativeSeparators(kept.fileName()).toStdString()),
              std::string::npos) << told;
    EXPECT_EQ(directStore().value("com").toString(), "COM2");  // in a fresh file
}

TEST(SettingsStore, AValueNameIsNeeded)
{
    ScopedSettingsDir dir;
    EXPECT_EQ(messageOf([] { WriteSetting("", "x"); }), "Failed to set data for ''");
}
