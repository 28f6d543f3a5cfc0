// "Otwórz" of the goods list on files that are no goods list, or not quite:
// the loading rules load what they load, and one box tells what they skipped
// and cut, with the counts and the first few lines.
#include "console/dialogs/reports/GoodsLoadMessage.h"
#include "console/dialogs/reports/GoodsTable.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "console/files/FileIO.h"
#include "tests/console/ConsoleHarness.h"

namespace varmo::test {
namespace {

const QString kCaption = QStringLiteral("Kontrola bazy danych");

class GoodsLoadTest : public ConsoleTest {
protected:
    TFDatabaseReport& Dialog()
    {
        Start();
        return *forms().FDatabaseReport;
    }

    static std::vector<GoodsRow> Rows(const TFDatabaseReport& dialog)
    {
        return dialog.MemoryTable->Rows();
    }

    void WriteFile(const QString& name, const std::string& bytes)
    {
        WriteWholeFile(path(name), bytes);
    }
};

TEST_F(GoodsLoadTest, AFileOfOtherThingsIsToldInOneBoxWithTheCounts)
{
    TFDatabaseReport& dialog = Dialog();
    // Two goods, a picture's bytes, a name too long and a rate in lower case.
    std::string blob = "Chleb;A\r\n\x89PNG\r\n\x1A\n";
    for (int i = 0; i < 12; ++i)
        blob += std::string("\xFF\xD8\x00\x10JFIF\x01\x02\xFE", 11) + "\n";
    blob += "Towar o nazwie bardzo d\xB3ugiej;B\r\nKawa;a\r\n";
    WriteFile("blob.bin", blob);
    prompts.fileAnswers = {path("blob.bin")};
    dialog.SBOpenClick();
    EXPECT_EQ(Rows(dialog), (std::vector<GoodsRow>{{"Chleb", "A"}, {"Towar o nazwie bardz", "B"}}));
    const QString noSemicolon = QStringLiteral("brak średnika – pominięty");
    const QStringList told{"Z pliku blob.bin wczytano 2 towary.",
                           "Pominięto 14 wierszy i skrócono 1 nazwę:",
                           "wiersz 2: " + noSemicolon,
                           "wiersz 4: " + noSemicolon,
                           "wiersz 5: " + noSemicolon,
                           "wiersz 6: " + noSemicolon,
                           "wiersz 7: " + noSemicolon,
                           "i jeszcze 10 wierszy"};
    EXPECT_EQ(prompts.shown,
              std::vector<Shown>{Message(told.join(QLatin1Char('\n')), kCaption)});

    // Names too long alone: the counts say so, and every goods came.
    std::string names;
    for (int i = 1; i <= 22; ++i)
        names += "Bardzo d\xB3uga nazwa towaru nr " + std::to_string(i) + ";C\r\n";
    WriteFile("names.txt", names);
    prompts.shown.clear();
    prompts.fileAnswers = {path("names.txt")};
    dialog.SBOpenClick();
    ASSERT_EQ(dialog.MemoryTable->RecordCount(), 22);
    EXPECT_EQ(Rows(dialog).front().name, QStringLiteral("Bardzo długa nazwa t"));
    const QString cut = QStringLiteral("nazwa dłuższa niż 20 znaków – skrócona");
    const QStringList cutTold{"Z pliku names.txt wczytano 22 towary.", "Skrócono 22 nazwy:",
                              "wiersz 1: " + cut,
                              "wiersz 2: " + cut,
                              "wiersz 3: " + cut,
                              "wiersz 4: " + cut,
                              "wiersz 5: " + cut,
                              "i jeszcze 17 wierszy"};
    EXPECT_EQ(prompts.shown,
              std::vector<Shown>{Message(cutTold.join(QLatin1Char('\n')), kCaption)});
}

TEST(GoodsLoadMessage, CountsReadAsPolishCountsDo)
{
    GoodsFileNotes notes;
    const struct {
        std::size_t loaded;
        std::size_t skipped;
        QString first;
        QString second;
    } cases[] = {
        {1, 1, "Z pliku a.txt wczytano 1 towar.", "Pominięto 1 wiersz:"},
        {4, 3, "Z pliku a.txt wczytano 4 towary.", "Pominięto 3 wiersze:"},
        {5, 12, "Z pliku a.txt wczytano 5 towarów.", "Pominięto 12 wierszy:"},
        {22, 24, "Z pliku a.txt wczytano 22 towary.", "Pominięto 24 wiersze:"},
        {112, 111, "Z pliku a.txt wczytano 112 towarów.", "Pominięto 111 wierszy:"},
    };
    for (const auto& c : cases) {
        notes.skipped = c.skipped;
        const QStringList lines =
            GoodsLoadMessage(QStringLiteral("/x/a.txt"), c.loaded, notes).split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines[0], c.first);
        EXPECT_EQ(lines[1], c.second);
    }
    // A load that took every line as it stood says nothing.
    EXPECT_EQ(GoodsLoadMessage(QStringLiteral("a.txt"), 3, GoodsFileNotes{}), QString());
}

}  // namespace
}  // namespace varmo::test
