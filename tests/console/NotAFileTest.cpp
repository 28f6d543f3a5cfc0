// A FIFO, a folder or /dev/zero chosen where the console opens a file: the
// goods list's "Otwórz", the header's "Z pliku" and the command file's
// "Otwórz". Each is refused at once with a box naming it, nothing waits, and
// what was on screen stays.
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "commands/ReadCommands.h"
#include "console/dialogs/reports/GoodsTable.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "console/dialogs/settings/HeaderMemo.h"
#include "console/dialogs/settings/TFSetHeader.h"
#include "console/files/FileIO.h"
#include "protocol/Exception.h"
#include "tests/console/ConsoleHarness.h"
#include "tests/console/NotAFile.h"

namespace varmo::test {
namespace {

using NotAFileTest = ConsoleTest;

TEST_F(NotAFileTest, TheSharedReaderRefusesWhatIsNoRegularFileBeforeOpeningIt)
{
    QTemporaryDir dir;
    for (const NotAFile& file : MakeNotAFiles(dir)) {
        SCOPED_TRACE(file.what);
        FifoWatchdog watchdog(file.path, 3000);
        std::string error = "no error";
        try {
            ReadWholeFile(file.path);
        } catch (const Exception& e) {
            error = e.what();
        }
        EXPECT_FALSE(watchdog.Stop()) << "the open waited on the FIFO";
        EXPECT_EQ(error, "Nie można otworzyć pliku " +
                             QDir::toNativeSeparators(file.path).toStdString() + ": " + file.kind);
    }
}

TEST_F(NotAFileTest, EveryOpenOfTheConsoleRefusesItWithABoxAndChangesNothing)
{
    QTemporaryDir dir;
    TFMain& main = Start();
    TFDatabaseReport& goods = *forms().FDatabaseReport;
    auto& header = *qobject_cast<TFSetHeader*>(forms().FSetHeader);
    ASSERT_TRUE(goods.MemoryTable->Append(QStringLiteral("Chleb"), QStringLiteral("A")));
    header.Memo->setPlainText(QStringLiteral("SKLEP"));
    main.SubmitCommand(std::make_unique<TCmdReadHeader>());
    const TCommand* current = main.CurrentCommand();

    const struct {
        const char* where;
        std::function<void()> open;
    } opens[] = {
        {"goods list", [&] { goods.SBOpenClick(); }},
        {"header file", [&] { header.SpeedButton11Click(); }},
        {"command file", [&] { main.SBOpenCmdClick(); }},
    };
    for (const auto& open : opens) {
        for (const NotAFile& file : MakeNotAFiles(dir)) {
            SCOPED_TRACE(std::string(open.where) + ": " + file.what);
            prompts.shown.clear();
            prompts.fileAnswers = {file.path};
            FifoWatchdog watchdog(file.path, 3000);
            open.open();
            EXPECT_FALSE(watchdog.Stop()) << "the open waited on the FIFO";
            EXPECT_EQ(prompts.shown, std::vector<Shown>{ErrorBox(NotAFileError(file))});
            ASSERT_EQ(goods.MemoryTable->RecordCount(), 1);
            EXPECT_EQ(goods.MemoryTable->Rows().front().name, QStringLiteral("Chleb"));
            EXPECT_EQ(header.Memo->toPlainText(), QStringLiteral("SKLEP"));
            EXPECT_EQ(main.CurrentCommand(), current);
        }
    }
}

}  // namespace
}  // namespace varmo::test
