#pragma once
// varmo-sim started as a child process: a virtual printer on a fresh
// pseudo-terminal, whose device path is the first line it prints. Stopped
// with SIGTERM when the test is done.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace varmo::test {

class SimPrinter {
public:
    // paperFile: where the paper roll goes (keeps it out of the pipe).
    SimPrinter(const QStringList& options, const QString& paperFile)
    {
        QStringList arguments = options;
        arguments << QStringLiteral("--paper") << paperFile;
        process_.setProgram(QStringLiteral(VARMO_SIM_PATH));
        process_.setArguments(arguments);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        if (!process_.waitForStarted(10000))
            return;
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(10000))
                return;
        }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }

    ~SimPrinter()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    SimPrinter(const SimPrinter&) = delete;
    SimPrinter& operator=(const SimPrinter&) = delete;

    // The printer's device; empty when it did not start.
    const QString& path() const { return path_; }
    bool running() const { return process_.state() == QProcess::Running; }
    // For a test that stops and continues the printer with signals.
    qint64 pid() const { return process_.processId(); }

private:
    QProcess process_;
    QString path_;
};

}  // namespace varmo::test
