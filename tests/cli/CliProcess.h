#pragma once
// varmo-cli run once as a child process with a settings directory of the
// test's own (so a technician's stored port never steers it) and no
// VARMO_COM<n> from outside unless the test gives one.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace varmo::test {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;

    // Each line of standard output read as one JSON object.
    std::vector<QJsonObject> Objects() const
    {
        std::vector<QJsonObject> objects;
        for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            QJsonParseError error{};
            const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &error);
            EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
            objects.push_back(document.object());
        }
        return objects;
    }
};

class CliProcess {
public:
    // The settings varmo-cli finds as the console's stored ones.
    void Store(const QString& name, const QString& value)
    {
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        settings.setValue(name, value);
    }

    void SetEnv(const QString& name, const QString& value) { extra_.insert(name, value); }
    // The variable taken out of what varmo-cli inherits.
    void UnsetEnv(const QString& name)
    {
        extra_.remove(name);
        dropped_ << name;
    }

    // varmo-cli run under another program ("faketime", "-f", "+1d"); nothing
    // when empty.
    void SetWrapper(const QStringList& wrapper) { wrapper_ = wrapper; }

    // Run in the child before varmo-cli starts (a file size limit, say);
    // nothing when empty.
    void SetChildSetup(std::function<void()> setup) { setup_ = std::move(setup); }

    // Where varmo-cli finds the console's settings file.
    QString SettingsFile() const { return home_.path() + QStringLiteral("/Ferwen s.c./Varmo.ini"); }
    // Where varmo-cli keeps its visit book without --book.
    QString BookFile() const
    {
        return home_.path() + QStringLiteral("/data/Ferwen s.c./Varmo/ksiega-wizyt.sqlite");
    }

    CliResult Run(const QStringList& arguments) { return Finish(*Start(arguments)); }

    // Started and left running, for a test that acts while it runs.
    std::unique_ptr<QProcess> Start(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (int n = 1; n <= 16; ++n)
            environment.remove(QStringLiteral("VARMO_COM%1").arg(n));
        environment.insert(QStringLiteral("HOME"), home_.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.path());
        // The visit book of the run's own home, never the user's.
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home_.path() + QStringLiteral("/data"));
        for (const QString& name : dropped_)
            environment.remove(name);
        for (const QString& name : extra_.keys())
            environment.insert(name, extra_.value(name));
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        if (setup_)
            process->setChildProcessModifier(setup_);
        if (wrapper_.isEmpty())
            process->start(QStringLiteral(VARMO_CLI_PATH), arguments);
        else
            process->start(wrapper_.front(), wrapper_.mid(1) + QStringList{QStringLiteral(VARMO_CLI_PATH)} +
                                                 arguments);
        return process;
    }

    static CliResult Finish(QProcess& process)
    {
        CliResult result;
        // Generous: only a hung program takes this long (set-clock now waits
        // up to a minute for the turn of the minute).
        if (!process.waitForFinished(90000)) {
            process.kill();
            process.waitForFinished(5000);
            ADD_FAILURE() << "varmo-cli did not end: "
                          << process.arguments().join(' ').toStdString();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

private:
    QTemporaryDir home_;
    QProcessEnvironment extra_;
    QStringList dropped_;
    std::function<void()> setup_;
    QStringList wrapper_;
};

}  // namespace varmo::test
