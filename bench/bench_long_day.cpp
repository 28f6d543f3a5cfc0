// A long working day on the console, offscreen: an exchange log filled to its
// 100,000 rows, a command history at its 10,000 commands, a shop's goods list
// of 20,000 opened into the grid and then sent to varmo-sim as a goods report
// at 115200 baud. Each figure is printed beside the goal it must meet. The
// window's stalls are measured by a timer that ticks on the UI thread: the
// longest gap between two ticks is the longest the window went unpainted.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "commands/ReadCommands.h"
#include "commands/TransactionCommands.h"
#include "console/app/FormSet.h"
#include "console/base/Prompts.h"
#include "console/dialogs/reports/GoodsTable.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "console/log/ExchangeLogDock.h"
#include "console/mainwindow/TFMain.h"
#include "console/widgets/Views.h"
#include "bench/GoodsListFile.h"
#include "link/SettingsStore.h"
#include "protocol/Escaped.h"
#include "protocol/Frame.h"
#include "tests/e2e/SimPrinter.h"

using namespace varmo;

namespace {

constexpr int kLogRows = 100000;
constexpr int kHistory = 10000;
constexpr int kGoods = 20000;
constexpr int kReportBaud = 115200;

struct Row {
    const char* what;
    double value;
    const char* unit;
    const char* goal;
    bool met;
};

// The open dialog answers with the goods list; messages are not shown.
class BenchPrompts : public Prompts {
public:
    QString path;
    QString lastMessage;
    void message(const QString& text, const QString&) override { lastMessage = text; }
    void errorBox(const QString& text) override { lastMessage = text; }
    bool confirm(const QString&, const QString&) override { return false; }
    QString openFileName(const QString&, const QString&) override { return path; }
    QString saveFileName(const QString&, const QString&) override { return {}; }
};

// The longest the UI thread went without turning its event loop.
class StallWatch {
public:
    StallWatch()
    {
        tick_.setInterval(1);
        QObject::connect(&tick_, &QTimer::timeout, [this] { note(); });
    }
    void Start()
    {
        longest_ = 0;
        clock_.start();
        last_ = 0;
        tick_.start();
    }
    double Stop()
    {
        note();
        tick_.stop();
        return longest_;
    }

private:
    void note()
    {
        const double now = double(clock_.nsecsElapsed()) / 1e6;
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }
    QTimer tick_;
    QElapsedTimer clock_;
    double last_ = 0;
    double longest_ = 0;
};

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    return 0;
}

void runFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void logRows(TFMain& main, std::vector<Row>& rows)
{
    ExchangeLogDock& log = *main.Dziennik;
    log.show();
    runFor(100);
    const double before = residentMb();
    for (int i = 0; i < kLogRows; ++i) {
        const bool question = i % 2 == 0;
        const std::string body =
            question ? "0#s" : "1#X23;8;5;0;101;102;" + std::to_string(i) + "/0/0/12.50/";
        log.PortTrafficSeen({std::chrono::steady_clock::now(),
                             question ? PortDirection::ToPrinter : PortDirection::FromPrinter,
                             question ? PortRoad::Written : PortRoad::Delivered, FrameOf(body)});
        if (i % 5000 == 0)
            QApplication::processEvents();
    }
    log.Flush();
    runFor(100);
    const double grown = residentMb() - before;
    rows.push_back({"log of 100,000 rows: resident memory grown", grown, "MB", "<= 60 MB",
                    grown <= 60});

    QElapsedTimer clock;
    clock.start();
    log.EdFilter->setText(QStringLiteral("12.50/ 99"));
    QApplication::processEvents();
    const double filterMs = double(clock.nsecsElapsed()) / 1e6;
    rows.push_back({"log of 100,000 rows: a filter over all of them", filterMs, "ms", "<= 50 ms",
                    filterMs <= 50});
    log.EdFilter->clear();
    log.hide();
}

void history(TFMain& main, std::vector<Row>& rows)
{
    for (int i = 0; i < kHistory; ++i) {
        if (i % 2 == 0)
            main.SubmitCommand(std::make_unique<TCmdReadCashInfo>(i % 4 == 0));
        else
            main.SubmitCommand(std::make_unique<TCmdTransLine>(
                1, "Towar " + std::to_string(i), 10000, 'A', 150, 150));
        // Handed over one at a time, as an operator does: the window
        // catches up between them.
        if (i % 100 == 0)
            QApplication::processEvents();
    }
    runFor(100);
    // Back through every command kept, newest first: each is shown as a
    // hand-over shows it, its frame and its description.
    std::vector<double> steps;
    for (std::size_t i = main.CommandHistory.Count(); i-- > 0;) {
        QElapsedTimer clock;
        clock.start();
        const TCommand& command = *main.CommandHistory.At(i);
        Lines frame;
        EncodeEscaped(frame, command.GetRawFrame());
        ShowLines(main.RESend, frame);
        Lines description;
        command.DescribeCommand(description);
        ShowLines(main.Memo, description);
        QApplication::processEvents();
        steps.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(steps.begin(), steps.end());
    const double p99 = steps[steps.size() * 99 / 100];
    rows.push_back({"history of 10,000: step going back, p99", p99, "ms", "", true});
    rows.push_back({"history of 10,000: longest step going back", steps.back(), "ms", "<= 16 ms",
                    steps.back() <= 16});
}

void goods(Forms& forms, BenchPrompts& prompts, const QTemporaryDir& home,
           std::vector<Row>& rows)
{
    TFDatabaseReport& dialog = *forms.FDatabaseReport;
    prompts.path = home.filePath(QStringLiteral("towary.txt"));
    QFile file(prompts.path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray::fromStdString(bench::GoodsListFile(kGoods)));
    file.close();
    dialog.show();
    runFor(50);

    StallWatch watch;
    watch.Start();
    dialog.SBOpenClick();
    runFor(50);
    const double openStall = watch.Stop();
    rows.push_back({"goods list of 20,000 into the grid: stall", openStall, "ms", "<= 100 ms",
                    openStall <= 100 && dialog.MemoryTable->RecordCount() == kGoods});

    // The line's own time for the same bytes at 10 bits a byte, and the
    // pauses the printer needs between frames.
    double bytes = 0;
    bytes += double(TCmdBaseStart(false).GetFrame().size() + TCmdBaseConfirm().GetFrame().size());
    for (const GoodsRow& row : dialog.MemoryTable->Rows())
        bytes += double(TCmdBaseLine(row.name.toStdString(), row.rate.toLatin1().front())
                            .GetFrame()
                            .size());
    const double physicalMs =
        bytes * 10 * 1000 / kReportBaud + double(kGoods + 1) * TFDatabaseReport::kFramePauseMs;

    QElapsedTimer clock;
    clock.start();
    dialog.SBSendClick();
    const double sentMs = double(clock.elapsed());
    const double ratio = sentMs / physicalMs;
    rows.push_back({"goods report of 20,000 at 115200: time / line's", ratio, "x", "<= 1.5x",
                    ratio <= 1.5 && prompts.lastMessage.startsWith(QStringLiteral("Raport"))});
    dialog.hide();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
    test::SimPrinter printer({QStringLiteral("--baud"), QString::number(kReportBaud)},
                             home.filePath(QStringLiteral("paper.txt")));
    qputenv("VARMO_COM1", printer.path().toLocal8Bit());
    BenchPrompts prompts;
    InstallPrompts(&prompts);
    OpenSettingsStore();
    std::vector<Row> rows;
    {
        FormSet set;
        TFMain& main = set.main();
        main.ComPort.SetCustomBaudRate(kReportBaud);
        main.show();
        runFor(100);
        logRows(main, rows);
        history(main, rows);
        goods(set.forms(), prompts, home, rows);
    }
    CloseSettingsStore();
    InstallPrompts(nullptr);

    std::printf("\nA long working day (offscreen, goods report against varmo-sim)\n");
    std::printf("%-50s %10s      %-10s %s\n", "measure", "value", "goal", "");
    bool all = true;
    for (const Row& row : rows) {
        std::printf("%-50s %10.2f %-4s %-10s %s\n", row.what, row.value, row.unit, row.goal,
                    row.met ? "met" : "NOT MET");
        all = all && row.met;
    }
    return all ? 0 : 1;
}
