// Opening a shop's goods list in the database report: the real dialog,
// offscreen, reads a file of 20,000 goods and shows it in its grid. One
// iteration is the whole "Otwórz", from the file to the grid painted again.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <string>

#include "console/files/FileIO.h"
#include "console/app/FormSet.h"
#include "console/dialogs/reports/GoodsGrid.h"
#include "console/dialogs/reports/GoodsTable.h"
#include "console/base/Prompts.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "bench/GoodsListFile.h"
#include "link/SettingsStore.h"

using namespace varmo;

namespace {

constexpr int kGoods = 20000;

// The open dialog answers with the list; nothing else is asked.
class FilePrompts : public Prompts {
public:
    QString path;
    void message(const QString&, const QString&) override {}
    void errorBox(const QString&) override {}
    bool confirm(const QString&, const QString&) override { return false; }
    QString openFileName(const QString&, const QString&) override { return path; }
    QString saveFileName(const QString&, const QString&) override { return {}; }
};

void BM_OpenGoodsListIntoGrid(benchmark::State& state)
{
    QTemporaryDir home;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
    FilePrompts prompts;
    prompts.path = home.filePath(QStringLiteral("towary.txt"));
    WriteWholeFile(prompts.path, bench::GoodsListFile(kGoods));
    InstallPrompts(&prompts);
    OpenSettingsStore();
    {
        FormSet forms;
        TFDatabaseReport& dialog = *forms.forms().FDatabaseReport;
        dialog.show();
        QApplication::processEvents();
        for (auto _ : state) {
            dialog.SBOpenClick();
            QApplication::processEvents();
            dialog.DBGrid->viewport()->repaint();
        }
        if (dialog.MemoryTable->RecordCount() != kGoods)
            state.SkipWithError("the list did not load whole");
        state.counters["goods"] = kGoods;
        dialog.hide();
    }
    CloseSettingsStore();
    InstallPrompts(nullptr);
}
BENCHMARK(BM_OpenGoodsListIntoGrid)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
