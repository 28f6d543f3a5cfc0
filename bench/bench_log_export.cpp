// What exporting a full exchange log costs: 100,000 rows (the log's whole
// ring) written to a text file and to a CSV file, with the time taken, the
// longest stretch the event loop went unserved meanwhile, and the growth of
// the process's peak memory over what the rows themselves take.
// Uses only the dock's public face, so the same source measures older builds.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "console/log/ExchangeLogDock.h"
#include "protocol/Escaped.h"
#include "protocol/Frame.h"

using namespace varmo;

namespace {

constexpr int kRows = 100000;

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

std::vector<LogRow> rows()
{
    std::vector<LogRow> made;
    made.reserve(kRows);
    const QDateTime start = QDateTime::currentDateTime();
    for (int n = 0; n < kRows; ++n) {
        LogRow row;
        row.when = start.addMSecs(n * 7);
        row.sent = n % 2 == 0;
        row.kind = LogKind::Frame;
        row.what = QStringLiteral("ramka");
        row.bytes = row.sent ? FrameOf("#u") : FrameOf("1#UNagłówek numer " + std::to_string(n));
        row.text = QString::fromStdString(EscapedText(row.bytes));
        row.description = QStringLiteral("Odczyt nagłówka");
        row.answerMs = row.sent ? -1 : 12;
        made.push_back(std::move(row));
    }
    return made;
}

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    ExchangeLogDock dock(nullptr, kRows);
    dock.Model->Append(rows());
    dock.show();
    app.processEvents();

    for (const char* name : {"log.txt", "log.csv"}) {
        const QString path = dir.filePath(QLatin1String(name));
        const long before = peakKiB();
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        // Ticks only when the event loop turns: the gaps are the stalls.
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, clock.elapsed() - last);
            last = clock.elapsed();
        });
        tick.start();
        clock.start();
        dock.ExportTo(path);
        const qint64 ms = clock.elapsed();
        longest = std::max(longest, ms - last);
        tick.stop();
        std::printf("%s: %d rows, %lld bytes in %lld ms; longest event-loop stall %lld ms; "
                    "peak memory %ld KiB -> %ld KiB\n",
                    name, dock.Model->rowCount(), static_cast<long long>(QFileInfo(path).size()),
                    static_cast<long long>(ms), static_cast<long long>(longest), before,
                    peakKiB());
    }
    return 0;
}
