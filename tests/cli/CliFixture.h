#pragma once
// The fixture of the varmo-cli tests: a fresh varmo-sim, varmo-cli run on its
// port, scripts written to a temporary folder.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <memory>

#include "tests/cli/CliProcess.h"
#include "tests/e2e/SimPrinter.h"

namespace varmo::test {

class CliTest : public ::testing::Test {
protected:
    // A fresh printer; the tests in one group share it in order.
    QString StartPrinter(const QStringList& options = {})
    {
        printer_.reset();
        printer_ =
            std::make_unique<SimPrinter>(options, dir_.filePath(QStringLiteral("paper.txt")));
        EXPECT_FALSE(printer_->path().isEmpty()) << "varmo-sim did not start";
        return printer_->path();
    }

    CliResult Cli(const QStringList& arguments)
    {
        return cli_.Run(QStringList{QStringLiteral("--port"), printer_->path()} + arguments);
    }

    QString Script(const QString& text)
    {
        const QString path = dir_.filePath(QStringLiteral("script.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        return path;
    }

    static QStringList Strings(const QJsonValue& value)
    {
        QStringList strings;
        for (const QJsonValue& item : value.toArray())
            strings << item.toString();
        return strings;
    }

    QTemporaryDir dir_;
    CliProcess cli_;
    std::unique_ptr<SimPrinter> printer_;
};

}  // namespace varmo::test
