// "Zapisz raport…" of the service check where the disk has no room: under a
// file size limit (ulimit -f) and on a full tmpfs, the text report as the
// PDF: the error box naming the file and why, the old report untouched, and
// nothing half-written beside it.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "console/dialogs/other/ServiceCheckDialog.h"
#include "report/CheckReport.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/FileSizeLimit.h"
#include "tests/console/SmallTmpfs.h"

namespace varmo::test {
namespace {

class CheckReportFileTest : public ConsoleTest {
protected:
    // The window with a check run to its end: no printer on COM1, so every
    // step is unanswered, and the report can be written all the same.
    ServiceCheckDialog& Checked()
    {
        TFMain& main = Start();
        dialog_ = std::make_unique<ServiceCheckDialog>(main);
        dialog_->RepeatClick();
        EXPECT_TRUE(dialog_->Result().has_value());
        prompts.shown.clear();
        return *dialog_;
    }

    static std::string Contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
    }

    static void WriteOld(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("the visit before\n");
    }

    // Saves through the window, as the operator does; what the box said.
    std::vector<Shown> Save(ServiceCheckDialog& dialog, const QString& path)
    {
        prompts.shown.clear();
        prompts.fileAnswers = {path};
        dialog.Save->click();
        return prompts.shown;
    }

    static std::vector<Shown> Failed(const QString& path, int error)
    {
        return {ErrorBox(QStringLiteral("Błąd zapisu pliku %1: %2.")
                             .arg(QDir::toNativeSeparators(path),
                                  QString::fromLocal8Bit(std::strerror(error))))};
    }

    void TearDown() override
    {
        dialog_.reset();
        ConsoleTest::TearDown();
    }

private:
    std::unique_ptr<ServiceCheckDialog> dialog_;
};

TEST_F(CheckReportFileTest, AReportOverTheFileSizeLimitLeavesTheOldOneAndSaysSo)
{
    QTemporaryDir dir;
    ServiceCheckDialog& dialog = Checked();
    for (const char* name : {"r.txt", "r.TXT", "r.pdf"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        // How long the whole report is; the text one fits the file's buffer
        // whole, so it fails only at the flush.
        ASSERT_TRUE(Save(dialog, path).empty());
        const auto size = static_cast<rlim_t>(QFileInfo(path).size());
        // No room at all, room for all but its last byte (as ulimit -f 1
        // left 1024 of 1097 bytes), and a few bytes.
        for (const rlim_t room : {rlim_t{0}, size - 1, rlim_t{4}}) {
            SCOPED_TRACE(std::string(name) + " into room for " + std::to_string(room));
            WriteOld(path);
            std::vector<Shown> shown;
            {
                FileSizeLimit limit(room);
                ASSERT_TRUE(limit.active());
                shown = Save(dialog, path);
            }
            EXPECT_EQ(shown, Failed(path, EFBIG));
            EXPECT_EQ(Contents(path), "the visit before\n");
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                      QStringList{QString::fromLatin1(name)});
        }
        QFile::remove(path);
    }
    // With room again the same save goes through.
    const QString path = dir.filePath(QStringLiteral("r.txt"));
    WriteOld(path);
    EXPECT_TRUE(Save(dialog, path).empty());
    EXPECT_EQ(Contents(path).rfind("Przegląd drukarki\n", 0), 0u);
}

TEST_F(CheckReportFileTest, AReportOntoAFullDiskLeavesTheOldOneAndSaysSo)
{
    SmallTmpfs disk;
    if (!disk.Unavailable().empty())
        GTEST_SKIP() << disk.Unavailable();
    ServiceCheckDialog& dialog = Checked();
    for (const char* name : {"r.txt", "r.pdf"}) {
        WriteOld(disk.path(name));
    }
    ASSERT_TRUE(disk.FillUp());
    for (const char* name : {"r.txt", "r.pdf"}) {
        SCOPED_TRACE(name);
        const QString path = disk.path(name);
        EXPECT_EQ(Save(dialog, path), Failed(path, ENOSPC));
        EXPECT_EQ(Contents(path), "the visit before\n");
    }
    EXPECT_EQ(QDir(disk.path("")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"filler", "r.pdf", "r.txt"}));
    // Room again: the save goes through.
    ASSERT_TRUE(QFile::remove(disk.path("filler")));
    EXPECT_TRUE(Save(dialog, disk.path("r.txt")).empty());
    EXPECT_EQ(Contents(disk.path("r.txt")).rfind("Przegląd drukarki\n", 0), 0u);
}

}  // namespace
}  // namespace varmo::test
