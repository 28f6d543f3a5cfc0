#pragma once
// The real console started the way the program starts it, against a settings
// store in a temporary directory, with recording prompts installed. Nothing
// here ever opens a real serial device: COM1 points at a path that does not
// exist unless a test points it at a pseudo-terminal.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

#include "console/app/FormSet.h"
#include "console/mainwindow/TFMain.h"
#include "link/SettingsStore.h"
#include "protocol/CodePage.h"
#include "tests/console/RecordingPrompts.h"

namespace varmo::test {

// Runs the event loop until the condition holds; false when it never did
// within the (generous) limit.
inline bool WaitFor(const std::function<bool()>& condition, int limitMs = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

// Runs the event loop for a while, for checks that something did NOT happen.
inline void Idle(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
}

// Counts how often a window of one class was shown while it lives, however
// briefly: a box that flashes up between two event-loop turns is counted too.
template <typename Window>
class ShowCounter : public QObject {
public:
    ShowCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~ShowCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<Window*>(watched) != nullptr)
            ++count;
        return false;
    }
};

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
        for (int n = 1; n <= 16; ++n)
            qunsetenv(("VARMO_COM" + QByteArray::number(n)).constData());
        previous_ = InstallPrompts(&prompts);
        SetConsoleCodePage("maz");
        StoreRaw(QStringLiteral("devices/COM1"), dir_.filePath(QStringLiteral("no-printer")));
        // Each test sees the exchange it makes: the cash information read as
        // the port opens is turned on where it is the subject (VisitBookTest).
        StoreRaw(QStringLiteral("printer/identify"), QStringLiteral("false"));
        OpenSettingsStore();
    }

    void TearDown() override
    {
        Stop();
        CloseSettingsStore();
        InstallPrompts(previous_);
    }

    // Writes a value into the store behind the console's back, any type.
    void StoreRaw(const QString& name, const QVariant& value)
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ferwen s.c."),
                        QStringLiteral("Varmo"));
        store.setValue(name, value);
        store.sync();
    }

    QVariant StoredRaw(const QString& name)
    {
        QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Ferwen s.c."),
                        QStringLiteral("Varmo"));
        return store.value(name);
    }

    // The console's COM1 is this device from now on.
    void PointCom1At(const QString& device) { StoreRaw(QStringLiteral("devices/COM1"), device); }

    TFMain& Start(FormBuild dialogs = FormBuild::Now)
    {
        forms_ = std::make_unique<FormSet>(dialogs);
        return forms_->main();
    }

    // Ends the run the way the program does: dialogs first, the main window
    // last (which writes the code page back).
    void Stop() { forms_.reset(); }

    Forms& forms() { return forms_->forms(); }
    QString path(const QString& name) const { return dir_.filePath(name); }

    RecordingPrompts prompts;

private:
    QTemporaryDir dir_;
    Prompts* previous_ = nullptr;
    std::unique_ptr<FormSet> forms_;
};

}  // namespace varmo::test
