#pragma once
// What the link tests share: a real pseudo-terminal pair standing in for the
// cable to the printer, an event-loop pump, a scoped environment variable and
// a settings directory of the test's own.
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <string>

namespace varmo::testing {

// The printer's end is the master; the port under test opens the slave by its
// path. The test keeps its own slave descriptor open, so the master does not
// see a hang-up whenever the port closes.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const QString& SlavePath() const { return slavePath_; }
    int SlaveFd() const { return slave_; }

    void WriteFromPrinter(const std::string& bytes);
    // Everything the port sent, read until count bytes came or the line stayed
    // quiet for quietMs.
    std::string ReadAtPrinter(std::size_t count, int quietMs = 2000);
    // The other end goes away, as when the adapter is pulled out.
    void Vanish();

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};

// Runs the event loop until done() or timeoutMs; returns done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
void PumpFor(int ms);

class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    QByteArray name_;
};

// Points the per-user settings at a fresh directory for one test and back at
// the test run's own directory afterwards.
class ScopedSettingsDir {
public:
    ScopedSettingsDir();
    ~ScopedSettingsDir();
    QString Path() const { return dir_.path(); }
    QString IniFile() const;

private:
    QTemporaryDir dir_;
};

// The directory every test run keeps its settings in (set by main).
QString& RunSettingsDir();

}  // namespace varmo::testing
