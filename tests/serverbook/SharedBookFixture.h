#pragma once
// The fixture of the shared book's tests: a PostgreSQL of the test's own
// with a database for it, laptops (each varmo-cli with a home and a local
// book of its own) and varmo-sim printers; and the server read back.
#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "tests/cli/CliProcess.h"
#include "tests/e2e/SimPrinter.h"
#include "tests/serverbook/PgServer.h"

namespace varmo::test {

// One technician's computer: its own settings, and its own book; the
// password to the server in PGPASSWORD, never on the command line.
struct Laptop {
    Laptop() { cli.SetEnv(QStringLiteral("PGPASSWORD"), QString::fromLatin1(PgServer::kPassword)); }
    CliProcess cli;
    QString Book() const { return cli.BookFile(); }
};

class SharedBookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.Running()) << server_.Problem();
        ASSERT_TRUE(server_.CreateDatabase(QStringLiteral("ksiega"))) << server_.Problem();
    }

    // The address varmo-cli is given; FullUri() with the password, for the
    // book's calls in the test's own process.
    QString Uri() const { return server_.PlainUri(QStringLiteral("ksiega")); }
    QString FullUri() const { return server_.Uri(QStringLiteral("ksiega")); }

    SimPrinter& Printer(const QString& unique, QStringList options = {})
    {
        options << QStringLiteral("--unique") << unique;
        printers_.push_back(std::make_unique<SimPrinter>(
            options, dir_.filePath(QStringLiteral("paper-%1.txt").arg(printers_.size()))));
        EXPECT_FALSE(printers_.back()->path().isEmpty()) << "varmo-sim did not start";
        return *printers_.back();
    }

    // varmo-cli check on the printer, recorded in the laptop's own book.
    CliResult Check(Laptop& laptop, const SimPrinter& printer, const QStringList& more = {},
                    const QString& technician = QStringLiteral("Jan Kowalski"))
    {
        return laptop.cli.Run(more + QStringList{QStringLiteral("--port"), printer.path(),
                                                 QStringLiteral("check"),
                                                 QStringLiteral("--technician"), technician});
    }

    CliResult Send(Laptop& laptop, const QString& uri)
    {
        return laptop.cli.Run({QStringLiteral("--book-server"), uri, QStringLiteral("book"),
                               QStringLiteral("send")});
    }

    // One number the server holds, or -1.
    qint64 OnServer(const QString& statement)
    {
        const QVariant value = server_.Exec(QStringLiteral("ksiega"), statement);
        return value.isValid() ? value.toLongLong() : -1;
    }

    // Visits on the server, and how many different ones.
    qint64 ServerVisits() { return OnServer(QStringLiteral("SELECT count(*) FROM visits")); }
    qint64 DistinctVisits()
    {
        return OnServer(QStringLiteral("SELECT count(DISTINCT uuid) FROM visits"));
    }

    PgServer server_;
    QTemporaryDir dir_;
    std::vector<std::unique_ptr<SimPrinter>> printers_;
};

}  // namespace varmo::test
