// The technician's files are his alone: the settings and the visit book,
// with its journal and the damaged copies set aside, 0600 in a 0700 folder
// after a first check, and mended when an earlier Varmo left them wider.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>

#include "tests/cli/CliProcess.h"
#include "tests/e2e/SimPrinter.h"

namespace varmo::test {
namespace {

namespace fs = std::filesystem;

fs::perms modeOf(const QString& path)
{
    return fs::status(path.toStdString()).permissions() & fs::perms::mask;
}

constexpr fs::perms kFile = fs::perms::owner_read | fs::perms::owner_write;
constexpr fs::perms kFolder = fs::perms::owner_all;

void writeWide(const QString& path, const QByteArray& bytes, fs::perms mode)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    fs::permissions(path.toStdString(), mode);
}

TEST(OwnerOnlyFilesTest, TheSettingsAndTheBookAreTheOwnersAloneAfterTheFirstCheck)
{
    const fs::perms wide = fs::perms::owner_read | fs::perms::owner_write |
                           fs::perms::group_read | fs::perms::others_read;
    const struct {
        const char* what;
        bool earlier;  // files an earlier Varmo left readable by everyone
    } cases[] = {{"a first start", false}, {"files left wider", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CliProcess cli;
        const QString book = cli.BookFile();
        const QString aside = book + QStringLiteral(".uszkodzona-20260101-120000");
        if (c.earlier) {
            cli.Store(QStringLiteral("com"), QStringLiteral("COM1"));
            fs::permissions(cli.SettingsFile().toStdString(), wide);
            fs::permissions(QFileInfo(cli.SettingsFile()).absolutePath().toStdString(),
                            fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
            writeWide(aside, "stara księga", wide);
            writeWide(book + QStringLiteral("-journal"), {}, wide);
            fs::permissions(QFileInfo(book).absolutePath().toStdString(),
                            fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
        }
        SimPrinter printer({QStringLiteral("--unique"), QStringLiteral("TST00000001")},
                           QDir::temp().filePath(QStringLiteral("varmo-owner-paper.txt")));
        ASSERT_FALSE(printer.path().isEmpty());
        const CliResult checked = cli.Run({QStringLiteral("--port"), printer.path(),
                                           QStringLiteral("check")});
        ASSERT_EQ(checked.exitCode, 0) << checked.err.toStdString();
        EXPECT_EQ(modeOf(book), kFile);
        EXPECT_EQ(modeOf(QFileInfo(book).absolutePath()), kFolder);
        for (const char* suffix : {"-wal", "-shm", "-journal"})
            if (QFileInfo::exists(book + QString::fromLatin1(suffix)))
                EXPECT_EQ(modeOf(book + QString::fromLatin1(suffix)), kFile) << suffix;
        if (c.earlier) {
            EXPECT_EQ(modeOf(aside), kFile);
            EXPECT_EQ(modeOf(cli.SettingsFile()), kFile);
            EXPECT_EQ(modeOf(QFileInfo(cli.SettingsFile()).absolutePath()), kFolder);
        }
    }
}

}  // namespace
}  // namespace varmo::test
