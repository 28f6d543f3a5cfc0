// The visit book's sync with the company's PostgreSQL beside an open COM5,
// under Wine, on the real main window: the server set ten times in
// "Ustawienia" → "Księga wizyt…" while the printer answers on COM5, a file
// saved after each; and the window closed while the server answers, is
// stopped, says nothing or takes a send, the port given back first.
//
// Run by scripts/wine-shared-book.sh, which starts the server, the printer
// on COM5 and, for the closing, one run of this program for each closing
// (VARMO_CLOSE_WHEN), and times the process's end itself. Without the
// server in the environment (VARMO_WINE_BOOK_HOST, VARMO_WINE_BOOK_PORT,
// VARMO_WINE_BOOK_PASSWORD) they skip.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QThread>

#include "book/BackgroundSync.h"
#include "book/BookPath.h"
#include "book/VisitBook.h"
#include "console/app/FormSet.h"
#include "console/dialogs/settings/BookServerDialog.h"
#include "console/mainwindow/TFMain.h"
#include "link/SettingsStore.h"
#include "tests/console/RecordingPrompts.h"
#include "tests/serverbook/BookFiller.h"

namespace varmo::test {
namespace {

bool waitFor(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class BookBesideOpenPort : public ::testing::Test {
protected:
    void SetUp() override
    {
        host_ = qEnvironmentVariable("VARMO_WINE_BOOK_HOST");
        port_ = qEnvironmentVariable("VARMO_WINE_BOOK_PORT");
        if (host_.isEmpty() || port_.isEmpty())
            GTEST_SKIP() << "no server: run under scripts/wine-shared-book.sh";
        previousPrompts_ = InstallPrompts(&prompts_);
        OpenSettingsStore();
        forms_ = std::make_unique<FormSet>(FormBuild::OnFirstShowing);
        main().setGeometry(40, 40, 900, 600);
        main().show();
        main().ComPort.SetPort(QStringLiteral("COM5"));
        ASSERT_TRUE(main().EnsurePortOpen())
            << "COM5, where the script puts varmo-sim: "
            << (prompts_.shown.empty() ? std::string() : prompts_.shown.back().text.toStdString());
    }

    void TearDown() override
    {
        if (previousPrompts_ == nullptr)
            return;
        forms_.reset();
        CloseSettingsStore();
        InstallPrompts(previousPrompts_);
    }

    TFMain& main() { return forms_->main(); }

    // "Ustawienia" → "Księga wizyt…": the server's fields filled, OK.
    void setServer()
    {
        BookServerDialog settings(main());
        settings.show();
        settings.Adres->clear();
        settings.Serwer->setText(host_);
        settings.Port->setText(port_);
        settings.Baza->setText(QStringLiteral("ksiega"));
        settings.Uzytkownik->setText(QStringLiteral("varmo"));
        settings.Haslo->setText(qEnvironmentVariable("VARMO_WINE_BOOK_PASSWORD"));
        settings.OKClick();
    }

    int attempts() { return main().Book().Sync() ? main().Book().Sync()->Attempts() : -1; }

    RecordingPrompts prompts_;
    std::unique_ptr<FormSet> forms_;
    QString host_;
    QString port_;

private:
    Prompts* previousPrompts_ = nullptr;
};

TEST_F(BookBesideOpenPort, TheServerSetTenTimesWhileThePrinterAnswersOnComFive)
{
    const QString folder = QDir::tempPath() + QStringLiteral("/varmo-saved");
    QDir().mkpath(folder);
    for (int round = 1; round <= 10; ++round) {
        SCOPED_TRACE(round);
        const int before = attempts();
        setServer();
        // The printer is asked while the sync meets the server.
        main().Nagwek2Click();
        main().SBSend->click();
        ASSERT_TRUE(waitFor([&] { return main().MemoR->toPlainText().startsWith(
                                             QStringLiteral("Odczytany nagłówek:")); },
                            20000));
        // This round's attempt told on the status line (the label follows
        // the count through the window's event loop).
        ASSERT_TRUE(waitFor([&] { return attempts() > std::max(before, 0) &&
                                         main().BookLabel->text() ==
                                             QStringLiteral("Księga: wysłano na serwer"); },
                            30000))
            << main().BookLabel->text().toStdString();
        // "Zapisz" on the answer's side.
        const QString path = folder + QStringLiteral("/odpowiedz-%1.txt").arg(round);
        prompts_.fileAnswers.push_back(path);
        main().SBSaveAns->click();
        QFile saved(path);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_TRUE(saved.readAll().contains("SKLEP TESTOWY"));
        main().MemoR->clear();
    }
    EXPECT_TRUE(main().ComPort.Connected());
    EXPECT_TRUE(prompts_.shown.empty()) << prompts_.shown.front();
}

// One closing of the window, as scripts/wine-shared-book.sh asks for it in
// VARMO_CLOSE_WHEN; what it did and when (milliseconds since the epoch,
// Wine's clock being Linux's) goes to VARMO_CLOSE_REPORT.
TEST_F(BookBesideOpenPort, TheWindowClosesWhateverTheServerDoes)
{
    const QString when = qEnvironmentVariable("VARMO_CLOSE_WHEN");
    if (when.isEmpty())
        GTEST_SKIP() << "one closing at a time, from scripts/wine-shared-book.sh";
    QFile report(qEnvironmentVariable("VARMO_CLOSE_REPORT"));
    ASSERT_TRUE(report.open(QIODevice::WriteOnly | QIODevice::Append));
    const auto tell = [&](const char* what) {
        report.write(QByteArray(what) + ' ' +
                     QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + '\n');
        report.flush();
    };
    if (when == QLatin1String("mid-send")) {
        // Months of visits waiting: the first attempt takes a while to send.
        book::VisitBook local(book::DefaultBookPath());
        FillBook(local, 6000, 600, QStringLiteral("Jan z Wine"));
    }
    setServer();
    if (when == QLatin1String("answering")) {
        // Sent, and the line to the server quiet.
        ASSERT_TRUE(waitFor([&] { return attempts() >= 1; }, 30000));
    } else {
        // The first attempt under way: connecting to a server that is
        // stopped or silent, or sending to one that answers.
        waitFor([] { return false; }, when == QLatin1String("mid-send") ? 800 : 2500);
        EXPECT_EQ(attempts(), 0) << main().BookLabel->text().toStdString();
    }
    tell("closing");
    main().close();
    EXPECT_FALSE(main().ComPort.Connected()) << "the port is not given back first";
    tell(main().ComPort.Connected() ? "port-held" : "port-free");
    forms_.reset();
    tell("window-gone");
}

}  // namespace
}  // namespace varmo::test
