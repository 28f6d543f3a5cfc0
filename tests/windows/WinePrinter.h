#pragma once
// varmo-sim, the Linux virtual printer, on a Windows COM port, for the Windows
// tests that run under Wine. The test starts tests/windows/wine-printer.sh
// itself (Wine hands a Unix program given to CreateProcess to Linux), which
// starts varmo-sim on a pseudo-terminal and points the Wine prefix's
// dosdevices/com<n> at it; Stop() ends the printer and its terminal closes
// under the port, as when an adapter is pulled out.
//
// scripts/run-under-wine.sh gives the Unix paths in the environment:
// VARMO_SIM (varmo-sim), VARMO_WINE_PRINTER (the script) and
// VARMO_WINE_SHARED (a folder both sides see, Windows through drive Z:).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QThread>
#include <stdexcept>
#include <string>

namespace varmo::wintest {

// A Unix path as a Windows program sees it through Wine's drive Z:.
inline QString WindowsPath(const QString& unixPath)
{
    return QStringLiteral("Z:") + QString(unixPath).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

inline QString UnixSetting(const char* name)
{
    const QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        throw std::runtime_error(std::string(name) +
                                 " is not set: run the Windows tests with scripts/run-under-wine.sh");
    return value;
}

// Whether the Windows tests run where a printer can be put on a COM port.
inline bool PrinterAvailable()
{
    return !qEnvironmentVariableIsEmpty("VARMO_SIM") &&
           !qEnvironmentVariableIsEmpty("VARMO_WINE_PRINTER") &&
           !qEnvironmentVariableIsEmpty("VARMO_WINE_SHARED");
}

// Starts /bin/sh with the arguments; Wine does not let us wait for it.
inline void StartUnixShell(const QStringList& arguments)
{
    QString line = QStringLiteral("Z:\\bin\\sh");
    for (const QString& argument : arguments)
        line += QStringLiteral(" \"") + argument + QLatin1Char('"');
    std::wstring command = line.toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        throw std::runtime_error("could not start /bin/sh through Wine: error " +
                                 std::to_string(GetLastError()));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

class WinePrinter {
public:
    // com: "COM5"; options: varmo-sim's own ("--silent", "--speed", "19200").
    explicit WinePrinter(const QString& com, const QStringList& options = {}) : com_(com)
    {
        static int made = 0;
        dir_ = UnixSetting("VARMO_WINE_SHARED") + QStringLiteral("/printer-%1-%2")
                                                      .arg(GetCurrentProcessId())
                                                      .arg(++made);
        QDir().mkpath(WindowsPath(dir_));
        StartUnixShell(QStringList{UnixSetting("VARMO_WINE_PRINTER"), QStringLiteral("start"), dir_,
                                   com, UnixSetting("VARMO_SIM")} +
                       options);
        terminal_ = waitFor(QStringLiteral("started"));
        if (terminal_.isEmpty())
            throw std::runtime_error("varmo-sim did not start on " + com.toStdString() + ": " +
                                     read(QStringLiteral("sim.log")).toStdString());
    }

    ~WinePrinter()
    {
        try {
            Stop();
        } catch (...) {
            // A printer that will not stop is stopped by the script that ran Wine.
        }
    }

    WinePrinter(const WinePrinter&) = delete;
    WinePrinter& operator=(const WinePrinter&) = delete;

    // The printer goes away; its pseudo-terminal closes under the port.
    void Stop()
    {
        if (stopped_)
            return;
        stopped_ = true;
        StartUnixShell(QStringList{UnixSetting("VARMO_WINE_PRINTER"), QStringLiteral("stop"), dir_});
        waitFor(QStringLiteral("stopped"));
    }

    const QString& Terminal() const { return terminal_; }
    // What it printed so far (UTF-8).
    QString Paper() const { return read(QStringLiteral("paper.txt")); }

private:
    QString read(const QString& name) const
    {
        QFile file(WindowsPath(dir_ + QLatin1Char('/') + name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // The script's last word, once it is written. The event loop stands
    // still meanwhile: a port sees the printer go only when the test next
    // lets it look (an idle port from the event loop, a transfer in its wait).
    QString waitFor(const QString& word) const
    {
        const QString path = WindowsPath(dir_ + QLatin1Char('/') + word);
        QElapsedTimer clock;
        clock.start();
        while (!QFile::exists(path)) {
            if (clock.elapsed() > 20000)
                throw std::runtime_error("wine-printer.sh " + word.toStdString() +
                                         ": no answer within 20 s");
            QThread::msleep(10);
        }
        return read(word).trimmed();
    }

    QString com_;
    QString dir_;
    QString terminal_;
    bool stopped_ = false;
};

}  // namespace varmo::wintest
