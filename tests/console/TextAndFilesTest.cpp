// Text at the meeting of QString and Windows-1250, and files written all or
// nothing.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>

#include "console/FileIO.h"
#include "console/Text.h"
#include "protocol/Exception.h"

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

TEST_F(FilesTest, AFailedWriteLeavesTheOldFileAsItWas)
{
    WriteWholeFile(path("answer.txt"), "old answer\r\n");

    // The disk fills up in the middle of the write: here by a file size limit
    // of 4 KiB for this process (the signal it would raise is ignored, so the
    // write simply fails, as on a full disk).
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool failed = false;
    try {
        WriteWholeFile(path("answer.txt"), std::string(256 * 1024, 'x'));
    } catch (const Exception& error) {
        failed = true;
        EXPECT_NE(std::string(error.what()).find("answer.txt"), std::string::npos);
    }
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(failed);
    EXPECT_EQ(contents(path("answer.txt")), "old answer\r\n");
}

}  // namespace
}  // namespace varmo::test
