// How the console feels on a real line: the main window, offscreen, against a
// pseudo-terminal on which this program plays the printer. It measures how
// soon an answer's description is set and painted after the answer's last
// byte, what a burst of answers costs the UI thread per frame and how late the
// event loop runs meanwhile, and the longest time the window goes unpainted
// while a status query hears nothing and while a write cannot go out.
// Uses only what the main window has always offered, so the same source
// measures older builds too.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "commands/ReadCommands.h"
#include "console/app/FormSet.h"
#include "console/base/Prompts.h"
#include "console/mainwindow/TFMain.h"
#include "link/SettingsStore.h"
#include "protocol/Frame.h"

using namespace varmo;
using Clock = std::chrono::steady_clock;

namespace {

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * double(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

// Message boxes answered at once, so nothing waits for an operator.
class QuietPrompts : public Prompts {
public:
    void message(const QString&, const QString&) override {}
    void errorBox(const QString&) override {}
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&) override { return {}; }
    // Not in every build's prompts, hence no override.
    bool confirm(const QString&, const QString&) { return false; }
};

// A cash-information answer whose unique number carries n, so every answer
// reads differently and the last one of a burst is known.
std::string cashAnswer(int n)
{
    char tail[64];
    // One printer all along (its visit book notes it once), each answer told
    // apart by its receipt number.
    std::snprintf(tail, sizeof tail, "%d.%d/%d.0/%d.5/1.0/2.0/3.0/4.0/5.5/N00001", n % 10,
                  (n / 10) % 10, (n / 100) % 10, n % 7);
    const std::string body = std::string("1#X0;1;0;1;1;0;26;12;07/23/8/5/0/0/100/101/") +
                             std::to_string(100 + n % 900) + "/" + tail;
    return FrameOf(body);
}

QString receiptLine(int n)
{
    return QString::asprintf("Numer ostatniego paragonu: %d\n", 100 + n % 900);
}

class Pty {
public:
    Pty()
    {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
            std::perror("openpty");
            std::exit(1);
        }
        path_ = QString::fromLocal8Bit(name);
        termios raw{};
        tcgetattr(slave_, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
    }
    ~Pty()
    {
        close(master_);
        close(slave_);
    }
    const QString& path() const { return path_; }

    void send(const std::string& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += std::size_t(n);
            else if (errno != EINTR && errno != EAGAIN)
                return;
        }
    }

    // Whatever the console sent so far.
    void drain()
    {
        char buffer[4096];
        for (;;) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0 || !(p.revents & POLLIN))
                return;
            if (::read(master_, buffer, sizeof buffer) <= 0)
                return;
        }
    }

    // The printer stops taking bytes: the line towards it is filled to the
    // brim from the console's side of the pseudo-terminal.
    void wedge()
    {
        const int flags = fcntl(slave_, F_GETFL);
        fcntl(slave_, F_SETFL, flags | O_NONBLOCK);
        const std::string filler(4096, 'j');
        for (int quiet = 0; quiet < 5;) {
            bool took = false;
            while (::write(slave_, filler.data(), filler.size()) > 0)
                took = true;
            quiet = took ? 0 : quiet + 1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        fcntl(slave_, F_SETFL, flags);
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// Notes when the window has been painted (and flushed), and when the answer
// description was last set.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget* window, QPlainTextEdit* description) : window_(window)
    {
        window->installEventFilter(this);
        connect(description, &QPlainTextEdit::textChanged, this, [this] { textSet = Clock::now(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window_ || event->type() != QEvent::UpdateRequest)
            return false;
        window_->removeEventFilter(this);
        const Clock::time_point start = Clock::now();
        QCoreApplication::sendEvent(window_, event);
        window_->installEventFilter(this);
        painted.push_back(Clock::now());
        lastPaintMs = msBetween(start, painted.back());
        if (onPainted)
            onPainted();
        return true;
    }

    // The longest stretch in [from, to] without a paint.
    double longestGap(Clock::time_point from, Clock::time_point to) const
    {
        double gap = 0;
        Clock::time_point last = from;
        for (const Clock::time_point at : painted) {
            if (at < from || at > to)
                continue;
            gap = std::max(gap, msBetween(last, at));
            last = at;
        }
        return std::max(gap, msBetween(last, to));
    }

    Clock::time_point textSet{};
    std::vector<Clock::time_point> painted;
    double lastPaintMs = 0;
    std::function<void()> onPainted;

private:
    QWidget* window_;
};

// Runs the event loop until stop() is called or the limit passes.
void runUntil(QEventLoop& loop, int limitMs)
{
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Row {
    const char* what;
    double value;
    const char* unit;
    const char* goal;
};

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int rounds = 300;
    int burst = 1000;
    bool waits = true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--no-waits") == 0)
            waits = false;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--burst") == 0)
            burst = std::atoi(argv[i + 1]);
    }
    QApplication app(argc, argv);
    QTemporaryDir home;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());
    // The visit book too stays out of the user's own.
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    Pty printer;
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ferwen s.c."),
                        QStringLiteral("Varmo"));
        store.setValue(QStringLiteral("devices/COM1"), printer.path());
    }
    for (int n = 1; n <= 16; ++n)
        qunsetenv(("VARMO_COM" + QByteArray::number(n)).constData());
    QuietPrompts prompts;
    InstallPrompts(&prompts);
    OpenSettingsStore();

    std::vector<Row> rows;
    {
        FormSet forms;
        TFMain& main = forms.main();
        main.show();
        PaintWatch watch(&main, main.MemoR);
        {
            QEventLoop settle;
            runUntil(settle, 300);
        }
        if (!main.EnsurePortOpen()) {
            std::fprintf(stderr, "the console could not open %s\n", qPrintable(printer.path()));
            return 1;
        }
        main.SubmitCommand(std::make_unique<TCmdReadCashInfo>(false));

        // One answer at a time, the UI thread idle when it comes.
        std::vector<double> toText, toPaint, paintTook;
        for (int round = 0; round < rounds; ++round) {
            QEventLoop loop;
            std::atomic<Clock::rep> sentAt{0};
            watch.textSet = {};
            bool seen = false;
            Clock::time_point paintedAt{};
            // The answer may be on screen before the sender has noted the
            // time; the latency is worked out once both are known.
            watch.onPainted = [&] {
                if (watch.textSet.time_since_epoch().count() != 0 &&
                    main.MemoR->toPlainText().contains(receiptLine(round))) {
                    seen = true;
                    paintedAt = Clock::now();
                    loop.quit();
                }
            };
            std::thread answer([&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                printer.send(cashAnswer(round));
                sentAt = Clock::now().time_since_epoch().count();
            });
            runUntil(loop, 2000);
            answer.join();
            if (getenv("BENCH_DEBUG"))
                std::fprintf(stderr, "painted %zu text [%s] rcv [%s]\n", watch.painted.size(),
                             qPrintable(main.MemoR->toPlainText()), qPrintable(main.RERcv->toPlainText()));
            if (!seen)
                continue;
            const Clock::time_point sent{Clock::duration(sentAt.load())};
            toText.push_back(std::max(0.0, msBetween(sent, watch.textSet)));
            toPaint.push_back(std::max(0.0, msBetween(sent, paintedAt)));
            paintTook.push_back(watch.lastPaintMs);
        }
        watch.onPainted = nullptr;
        rows.push_back({"answer -> description set, p50", percentile(toText, 0.5), "ms", ""});
        rows.push_back({"answer -> description set, p90", percentile(toText, 0.9), "ms", ""});
        rows.push_back({"answer -> description set, p99", percentile(toText, 0.99), "ms", ""});
        rows.push_back({"answer -> painted, p50", percentile(toPaint, 0.5), "ms", ""});
        rows.push_back({"answer -> painted, p90", percentile(toPaint, 0.9), "ms", ""});
        rows.push_back({"answer -> painted, p99", percentile(toPaint, 0.99), "ms", "<= 1"});
        rows.push_back({"painting the answer, p50", percentile(paintTook, 0.5), "ms", ""});
        rows.push_back({"answers seen", double(toPaint.size()), "", ""});

        // A burst of answers as fast as the line takes them.
        {
            std::string all;
            for (int n = 0; n < burst; ++n)
                all += cashAnswer(100000 - burst + n);
            const QString last = receiptLine(99999);
            QEventLoop loop;
            double worstLate = 0;
            QTimer ticker;
            ticker.setTimerType(Qt::PreciseTimer);
            Clock::time_point due = Clock::now();
            constexpr int kTickMs = 5;
            QObject::connect(&ticker, &QTimer::timeout, [&] {
                const Clock::time_point now = Clock::now();
                worstLate = std::max(worstLate, msBetween(due, now));
                due = now + std::chrono::milliseconds(kTickMs);
            });
            bool done = false;
            watch.onPainted = [&] {
                if (main.MemoR->toPlainText().contains(last)) {
                    done = true;
                    loop.quit();
                }
            };
            const double cpuBefore = threadCpuMs();
            const Clock::time_point start = Clock::now();
            due = start + std::chrono::milliseconds(kTickMs);
            ticker.start(kTickMs);
            std::thread sender([&] { printer.send(all); });
            runUntil(loop, 60000);
            const double cpu = threadCpuMs() - cpuBefore;
            const Clock::time_point end = Clock::now();
            ticker.stop();
            sender.join();
            watch.onPainted = nullptr;
            rows.push_back({"burst: UI thread per frame", done ? cpu * 1000.0 / burst : -1, "us",
                            "<= 40"});
            rows.push_back({"burst: worst event-loop lateness", worstLate, "ms", "<= 30"});
            rows.push_back({"burst: last byte sent -> last answer painted", msBetween(start, end),
                            "ms", ""});
        }

        // The window asks to be painted every 10 ms, as when the operator
        // drags another window across it; how long does it go unpainted?
        QTimer repaint;
        QObject::connect(&repaint, &QTimer::timeout, &main, [&] { main.update(); });
        auto unpainted = [&](const std::function<void()>& action, double& lasted) {
            repaint.start(10);
            QEventLoop loop;
            Clock::time_point from{}, to{};
            QTimer::singleShot(20, &main, [&] {
                from = Clock::now();
                action();
                to = Clock::now();
                QTimer::singleShot(20, &loop, &QEventLoop::quit);
            });
            runUntil(loop, 120000);
            repaint.stop();
            lasted = msBetween(from, to);
            return watch.longestGap(from, to);
        };

        double lasted = 0;
        if (waits) {
        const double enqGap = unpainted([&] { main.Button3Click(); }, lasted);
        rows.push_back({"silent ENQ: longest unpainted stretch", enqGap, "ms", "< 100"});
        rows.push_back({"silent ENQ: handler took", lasted, "ms", ""});

        printer.wedge();
        const double writeGap = unpainted([&] { main.SBSendClick(); }, lasted);
        rows.push_back({"wedged write: longest unpainted stretch", writeGap, "ms", "< 100"});
        rows.push_back({"wedged write: handler took", lasted, "ms", ""});
        printer.drain();
        }
    }
    CloseSettingsStore();
    InstallPrompts(nullptr);

    std::printf("\nConsole on a pseudo-terminal (%d single answers, burst of %d, %zu-byte frames)\n",
                rounds, burst, cashAnswer(0).size());
    std::printf("%-46s %12s  %s\n", "measure", "value", "goal");
    for (const Row& row : rows)
        std::printf("%-46s %9.3f %-3s %s\n", row.what, row.value, row.unit, row.goal);
    return 0;
}
