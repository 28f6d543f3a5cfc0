// The console with the company's shared book on a PostgreSQL of the test's
// own: a colleague's visit to the printer shows in its history once the
// colleague has sent it, the status line says the book is sent, and a wrong
// password is told once in a box however often the sync tries; a server that
// freezes under a send keeps neither the port nor the program.
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSerialPort>
#include <QTableWidget>

#include "book/BackgroundSync.h"
#include "book/BookPath.h"
#include "book/BookSync.h"
#include "book/ServerBook.h"
#include "book/VisitBook.h"
#include "console/dialogs/other/DueDialog.h"
#include "console/dialogs/other/ServiceCheckDialog.h"
#include "console/dialogs/other/VisitBookDialog.h"
#include "console/dialogs/settings/BookServerDialog.h"
#include "link/SettingsStore.h"
#include "console/mainwindow/TFMain.h"
#include "tests/e2e/E2EHarness.h"
#include "tests/serverbook/BookFiller.h"
#include "tests/serverbook/PgServer.h"

namespace varmo::test {
namespace {

class SharedBookConsoleTest : public ConsoleWithPrinter {
protected:
    void SetUp() override
    {
        ConsoleWithPrinter::SetUp();
        previous_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toLocal8Bit());
        // A password the dialog keeps goes into a password file of the
        // test's own, never the user's keychain or ~/.pgpass.
        bus_ = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("PGPASSFILE", path(QStringLiteral("pgpass")).toLocal8Bit());
        ASSERT_TRUE(server_.Running()) << server_.Problem();
        ASSERT_TRUE(server_.CreateDatabase(QStringLiteral("ksiega"))) << server_.Problem();
    }
    void TearDown() override
    {
        ConsoleWithPrinter::TearDown();
        qputenv("XDG_DATA_HOME", previous_);
        qunsetenv("PGPASSFILE");
        if (!bus_.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", bus_);
    }

    QStringList column(const QTableWidget* table, int column)
    {
        QStringList texts;
        for (int row = 0; row < table->rowCount(); ++row)
            texts << table->item(row, column)->text();
        return texts;
    }

    PgServer server_;
    QByteArray previous_;
    QByteArray bus_;
};

TEST_F(SharedBookConsoleTest, AColleaguesVisitShowsInThePrintersHistoryAfterTheirSend)
{
    StoreRaw(QStringLiteral("ksiega/serwer/adres"), server_.Uri(QStringLiteral("ksiega")));
    StartPrinter({"--unique", "TST00012345"});
    TFMain& main = Start();
    {
        ServiceCheckDialog check(main);
        check.Technik->setText(QStringLiteral("Jan Kowalski"));
        check.RepeatClick();
        // The note edited after the check goes up with the one check.
        for (const char* note : {"papier", "papier, głowica", "papier, głowica, zegar"}) {
            check.Uwagi->setText(QString::fromUtf8(note));
            emit check.Uwagi->editingFinished();
        }
    }
    // Last week, on another laptop, a colleague serviced the same printer.
    {
        book::VisitBook theirs(path(QStringLiteral("kolega.sqlite")));
        book::PrinterSeen seen;
        seen.uniqueNumber = QStringLiteral("TST00012345");
        const QDateTime when = QDateTime::currentDateTime().addDays(-7);
        const qint64 visit = theirs.BeginVisit(theirs.NotePrinter(seen, when),
                                               {when, QStringLiteral("Ewa Nowak"),
                                                QStringLiteral("COM3"), QStringLiteral("Varmo")});
        theirs.EndVisit(visit, when.addSecs(900));
        const book::SyncState sent =
            book::SyncWithServer(theirs, *book::ParseServerUri(server_.Uri(QStringLiteral("ksiega"))));
        ASSERT_FALSE(sent.trouble) << sent.reason.toStdString();
    }

    VisitBookDialog visits(main);
    visits.show();
    ASSERT_TRUE(WaitFor([&] {
        visits.Drukarki->selectRow(0);
        return column(visits.Wizyty, 2).contains(QStringLiteral("Ewa Nowak"));
    }, 30000)) << visits.Zrodlo->text().toStdString();
    EXPECT_TRUE(column(visits.Wizyty, 2).contains(QStringLiteral("Jan Kowalski")));
    // The copy goes into the book a chunk at a time: its rows may show
    // before the attempt that brings them has ended and said so.
    EXPECT_TRUE(WaitFor([&] {
        return visits.Zrodlo->text().startsWith(QStringLiteral("serwer: dane z serwera, stan z "));
    })) << visits.Zrodlo->text().toStdString();
    ASSERT_TRUE(WaitFor([&] { return main.BookLabel->text() == QStringLiteral("Księga: wysłano na serwer"); }))
        << main.BookLabel->text().toStdString();
    EXPECT_FALSE(main.BookLabel->isHidden());
    EXPECT_EQ(server_.Exec(QStringLiteral("ksiega"), QStringLiteral("SELECT count(*) FROM visits")).toInt(), 2);
    EXPECT_EQ(server_.Exec(QStringLiteral("ksiega"), QStringLiteral("SELECT count(*) FROM checks")).toInt(), 1);
    EXPECT_EQ(server_.Exec(QStringLiteral("ksiega"),
                           QStringLiteral("SELECT notes FROM visits WHERE technician = 'Jan Kowalski'"))
                  .toString(),
              QStringLiteral("papier, głowica, zegar"));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SharedBookConsoleTest, AWrongPasswordIsToldOnceHoweverOftenTheSyncTries)
{
    StoreRaw(QStringLiteral("ksiega/serwer/host"), QStringLiteral("127.0.0.1"));
    StoreRaw(QStringLiteral("ksiega/serwer/port"), QString::number(server_.Port()));
    StoreRaw(QStringLiteral("ksiega/serwer/baza"), QStringLiteral("ksiega"));
    StoreRaw(QStringLiteral("ksiega/serwer/uzytkownik"), QStringLiteral("varmo"));
    StoreRaw(QStringLiteral("ksiega/serwer/haslo"), QStringLiteral("nie-to-haslo"));
    TFMain& main = Start();
    ASSERT_NE(main.Book().Sync(), nullptr);
    DueDialog due(main);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        due.show();
        ASSERT_TRUE(WaitFor([&] { return main.Book().Sync()->Attempts() >= attempt; }, 30000));
        due.hide();
    }
    ASSERT_TRUE(WaitFor([&] { return !prompts.shown.empty(); }));
    Idle(200);
    ASSERT_EQ(prompts.shown.size(), 1u) << prompts.shown.front().text.toStdString();
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Księga wizyt na serwerze: błędne hasło lub "
                                                    "użytkownik. Wizyty zostają na tym komputerze. "
                                                    "Ustawienia serwera: „Ustawienia” → „Serwer "
                                                    "księgi wizyt…”."));
    EXPECT_EQ(main.BookLabel->text(),
              QStringLiteral("Księga: serwer niedostępny (błędne hasło lub użytkownik), do wysłania 0"));
    EXPECT_TRUE(due.Zrodlo->text().startsWith(QStringLiteral("serwer: niedostępny, dane z tego komputera")))
        << due.Zrodlo->text().toStdString();
    // The password is nowhere on the screen.
    EXPECT_FALSE(main.BookLabel->text().contains(QStringLiteral("nie-to-haslo")));
}

TEST_F(SharedBookConsoleTest, TheSettingsKeepTheServerAndTheSyncStartsWithoutARestart)
{
    TFMain& main = Start();
    EXPECT_EQ(main.Book().Sync(), nullptr);  // no server: the book is this computer's
    EXPECT_TRUE(main.BookLabel->isHidden());
    BookServerDialog settings(main);
    settings.show();
    settings.Adres->setText(QStringLiteral("http://serwer/ksiega"));
    settings.OKClick();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(prompts.shown[0].error);
    EXPECT_TRUE(prompts.shown[0].text.startsWith(QStringLiteral("Księga wizyt: adres serwera księgi ma postać")));
    EXPECT_EQ(main.Book().Sync(), nullptr);

    settings.Adres->clear();
    settings.Serwer->setText(QStringLiteral("127.0.0.1"));
    settings.Port->setText(QString::number(server_.Port()));
    settings.Baza->setText(QStringLiteral("ksiega"));
    settings.Uzytkownik->setText(QStringLiteral("varmo"));
    settings.Haslo->setText(QString::fromLatin1(PgServer::kPassword));
    settings.OKClick();
    EXPECT_EQ(ReadSetting(QStringLiteral("ksiega/serwer/baza")), QStringLiteral("ksiega"));
    ASSERT_NE(main.Book().Sync(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return main.BookLabel->text() == QStringLiteral("Księga: wysłano na serwer"); }))
        << main.BookLabel->text().toStdString();
    EXPECT_EQ(server_.Exec(QStringLiteral("ksiega"), QStringLiteral("SELECT max(version) FROM schema_version")).toInt(),
              book::ServerBook::ServerSchemaVersion());
}

TEST_F(SharedBookConsoleTest, ClosingTheWindowFreesThePortAtOnceAndEndsUnderAFrozenServer)
{
    StoreRaw(QStringLiteral("ksiega/serwer/adres"), server_.Uri(QStringLiteral("ksiega")));
    {
        book::VisitBook local(book::DefaultBookPath());
        FillBook(local, 6000, 700, QStringLiteral("Jan Kowalski"));
    }
    StartPrinter({"--unique", "TST00012345"});
    TFMain& main = Start();
    ASSERT_TRUE(main.EnsurePortOpen());
    QSerialPort other(printer_->path());
    EXPECT_FALSE(other.open(QIODevice::ReadWrite)) << "the console does not hold its port";
    const auto visits = [&] {
        return server_.Exec(QStringLiteral("ksiega"),
                            QStringLiteral("SELECT count(*) FROM visits")).toInt();
    };
    ASSERT_TRUE(WaitFor([&] { return visits() > 0; }, 30000));
    ASSERT_EQ(main.Book().Sync()->Attempts(), 0) << "the send ended before the server froze";
    // The server's machine freezes under the send: its kernel still answers.
    struct Resumed {
        PgServer& server;
        ~Resumed() { server.Resume(); }
    } resumed{server_};
    ASSERT_TRUE(server_.Pause());
    Idle(200);

    QElapsedTimer closing;
    closing.start();
    main.close();
    // The port first: another program has it while the sync still ends.
    EXPECT_TRUE(other.open(QIODevice::ReadWrite)) << other.errorString().toStdString();
    other.close();
    Stop();
    // About a second; five only proves that nothing waits for the server.
    EXPECT_LT(closing.elapsed(), 5000);
}

}  // namespace
}  // namespace varmo::test
