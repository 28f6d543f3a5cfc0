// Text at the meeting of QString and Windows-1250, and files written all or
// nothing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "console/files/FileIO.h"
#include "console/base/Text.h"
#include "protocol/FileSizeSignal.h"
#include "protocol/Exception.h"
#include "tests/console/FileSizeLimit.h"
#include "tests/console/SmallTmpfs.h"

namespace varmo::test {
namespace {

TEST(Text, EveryByteSurvivesTheTripThroughQString)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(ToCp1250(FromCp1250(all)), all);
    // What Windows-1250 cannot carry becomes '?'.
    EXPECT_EQ(ToCp1250(QStringLiteral("Łó☃")), "\xA3\xF3?");
}

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    static std::string contents(const QString& file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        return f.readAll().toStdString();
    }

private:
    QTemporaryDir dir_;
};

TEST_F(FilesTest, WritesAndReadsEveryByte)
{
    std::string bytes("\x1BP#uA9\x1B\\\r\n", 10);
    bytes.push_back('\0');
    bytes.push_back('\xFF');
    WriteWholeFile(path("cmd.txt"), bytes);
    EXPECT_EQ(ReadWholeFile(path("cmd.txt")), bytes);
    // Overwriting replaces the whole file, also with something shorter.
    WriteWholeFile(path("cmd.txt"), "x");
    EXPECT_EQ(ReadWholeFile(path("cmd.txt")), "x");
    WriteWholeFile(path("empty.txt"), "");
    EXPECT_EQ(ReadWholeFile(path("empty.txt")), "");
}

TEST_F(FilesTest, AFileThatCannotBeReadOrCreatedIsAnErrorNamingIt)
{
    try {
        ReadWholeFile(path("missing.txt"));
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_NE(std::string(error.what()).find("missing.txt"), std::string::npos);
        EXPECT_EQ(std::string(error.what()).rfind("Nie można otworzyć pliku", 0), 0u);
    }
    EXPECT_THROW(WriteWholeFile(path("no-such-dir/cmd.txt"), "x"), Exception);
    EXPECT_FALSE(QFile::exists(path("no-such-dir/cmd.txt")));
}

// The error a write must give: an Exception naming the file.
std::string WriteError(const QString& file, const std::string& bytes)
{
    try {
        WriteWholeFile(file, bytes);
    } catch (const Exception& error) {
        return error.what();
    }
    return "<no error>";
}

TEST_F(FilesTest, AWriteThatRunsOutOfRoomLeavesTheOldFileAndSaysSo)
{
    // A few bytes that fit the file's buffer fail only at its flush; a large
    // write fails inside write() already.
    const struct {
        rlim_t room;
        std::size_t size;
    } cases[] = {{4, 10}, {0, 1}, {4096, 256 * 1024}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " bytes into room for " + std::to_string(c.room));
        WriteWholeFile(path("answer.txt"), "old answer\r\n");
        std::string error;
        {
            FileSizeLimit limit(c.room);
            ASSERT_TRUE(limit.active());
            error = WriteError(path("answer.txt"), std::string(c.size, 'x'));
        }
        EXPECT_EQ(error.rfind("Błąd zapisu pliku ", 0), 0u) << error;
        EXPECT_NE(error.find("answer.txt"), std::string::npos) << error;
        EXPECT_EQ(contents(path("answer.txt")), "old answer\r\n");
    }
    // With room again the same write goes through.
    WriteWholeFile(path("answer.txt"), std::string(10, 'x'));
    EXPECT_EQ(contents(path("answer.txt")), std::string(10, 'x'));
}

// As the programs run: the file size limit's signal at its default, which
// would end the process, until the programs' own start-up turns it off. In a
// child process, so that nothing this one does is at stake.
TEST_F(FilesTest, ASaveOverTheFileSizeLimitFailsWithTheSystemsReason)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QString file = path("answer.txt");
    const auto save = [&] {
        std::signal(SIGXFSZ, SIG_DFL);
        KeepRunningPastFileSizeLimit();
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit limit = before;
        limit.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::string error = WriteError(file, std::string(64 * 1024, 'x'));
        setrlimit(RLIMIT_FSIZE, &before);  // the message itself goes to a file
        std::cerr << error << std::endl;
        std::exit(0);
    };
    // The child runs in a fresh copy of this test, in a folder of its own.
    const std::string expected =
        std::string("Błąd zapisu pliku .*answer\\.txt: ") + std::strerror(EFBIG) + "\n";
    EXPECT_EXIT(save(), ::testing::ExitedWithCode(0), expected);
}

// A real file system with no room left: a small tmpfs mounted for the test.
class FullDiskTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!disk_.Unavailable().empty())
            GTEST_SKIP() << disk_.Unavailable();
    }
    QString path(const char* name) const { return disk_.path(name); }
    void FillUp() { ASSERT_TRUE(disk_.FillUp()); }

private:
    SmallTmpfs disk_;
};

TEST_F(FullDiskTest, ASaveOntoAFullDiskLeavesTheOldFileAndSaysSo)
{
    WriteWholeFile(path("cmd.txt"), "\x1BP#uA9\x1B\\\r\n");
    FillUp();
    for (const std::size_t size : {std::size_t{10}, std::size_t{256 * 1024}}) {
        SCOPED_TRACE(size);
        const std::string error = WriteError(path("cmd.txt"), std::string(size, 'x'));
        EXPECT_EQ(error.rfind("Błąd zapisu pliku ", 0), 0u) << error;
        EXPECT_NE(error.find("cmd.txt"), std::string::npos) << error;
        EXPECT_EQ(ReadWholeFile(path("cmd.txt")), "\x1BP#uA9\x1B\\\r\n");
    }
    // Nothing half-written is left lying about.
    EXPECT_EQ(QDir(path("")).entryList(QDir::Files),
              (QStringList{QStringLiteral("cmd.txt"), QStringLiteral("filler")}));
    // Room again: the save goes through.
    ASSERT_TRUE(QFile::remove(path("filler")));
    WriteWholeFile(path("cmd.txt"), "0123456789");
    EXPECT_EQ(ReadWholeFile(path("cmd.txt")), "0123456789");
}

TEST_F(FilesTest, AFileLargerThanTheLimitIsRefusedBeforeReading)
{
    WriteWholeFile(path("limit.txt"), std::string(kMaxReadFileSize, 'a'));
    EXPECT_EQ(ReadWholeFile(path("limit.txt")).size(), static_cast<std::size_t>(kMaxReadFileSize));

    WriteWholeFile(path("big.txt"), std::string(kMaxReadFileSize + 1, 'a'));
    try {
        ReadWholeFile(path("big.txt"));
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Plik " + QDir::toNativeSeparators(path("big.txt")).toStdString() +
                      " jest za duży (65537 bajtów, najwyżej 65536)");
    }
    // A device that never ends is refused before it is opened, not read
    // forever (NotAFileTest).
    try {
        ReadWholeFile(QStringLiteral("/dev/zero"), 16);
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Nie można otworzyć pliku /dev/zero: to urządzenie, a nie zwykły plik");
    }
}

}  // namespace
}  // namespace varmo::test
