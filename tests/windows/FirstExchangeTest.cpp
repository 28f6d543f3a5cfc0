// The README's first exchange on Windows, on the real main window as
// varmo.exe makes it, against varmo-sim on COM5, with the settings in the
// registry: "Ustawienia" → "Port COM" (COM5 typed in, OK), then "Odczyt" →
// "Nagłówek" and "Wykonaj"; the header comes back, Polish letters and all,
// and is described below "Opis:". Closing the window leaves com, baud and
// plStd under HKEY_CURRENT_USER\Software\Ferwen s.c.\Varmo.
//
// Run offscreen by CTest; run again by scripts/run-under-wine.sh under Xvfb
// with Qt's windows platform and VARMO_SCREENSHOT, where it saves a picture
// of the screen with the window after the exchange.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

#include "console/app/FormSet.h"
#include "console/base/Localisation.h"
#include "console/dialogs/settings/TFCOM.h"
#include "console/mainwindow/TFMain.h"
#include "link/SettingsStore.h"
#include "tests/console/RecordingPrompts.h"
#include "tests/windows/WinePrinter.h"

namespace varmo::test {
namespace {

bool waitFor(const std::function<bool()>& done, int limitMs = 10000)
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

void idle(int ms)
{
    waitFor([] { return false; }, ms);
}

// A menu bar entry and the entry in its menu, by their captions.
QAction* menuEntry(TFMain& main, const QString& menuCaption, const QString& entryCaption)
{
    for (QAction* top : main.menuBar()->actions()) {
        if (top->text() != menuCaption || top->menu() == nullptr)
            continue;
        for (QAction* entry : top->menu()->actions())
            if (entry->text() == entryCaption)
                return entry;
    }
    return nullptr;
}

std::wstring registryText(const wchar_t* name)
{
    wchar_t data[256] = {};
    DWORD bytes = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Ferwen s.c.\\Varmo", name, RRF_RT_REG_SZ, &type,
                     data, &bytes) != ERROR_SUCCESS)
        return L"(none)";
    return data;
}

class FirstExchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!wintest::PrinterAvailable())
            GTEST_SKIP() << "no printer: run under scripts/run-under-wine.sh";
        // The settings where varmo.exe keeps them: the registry. A first run,
        // with nothing stored yet.
        previousFormat_ = QSettings::defaultFormat();
        QSettings::setDefaultFormat(QSettings::NativeFormat);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Ferwen s.c.\\Varmo");
        previousPrompts_ = InstallPrompts(&prompts_);
        installed_ = true;
        LoadPolishTranslation(*QCoreApplication::instance());
        OpenSettingsStore();
    }

    void TearDown() override
    {
        if (!installed_)
            return;
        forms_.reset();
        CloseSettingsStore();
        InstallPrompts(previousPrompts_);
        QSettings::setDefaultFormat(previousFormat_);
    }

    RecordingPrompts prompts_;
    std::unique_ptr<FormSet> forms_;

private:
    QSettings::Format previousFormat_ = QSettings::IniFormat;
    Prompts* previousPrompts_ = nullptr;
    bool installed_ = false;
};

TEST_F(FirstExchange, OdczytNaglowekWykonajReadsTheHeaderFromComFive)
{
    wintest::WinePrinter printer(QStringLiteral("COM5"));
    // As the program starts: the dialogs' controls made when first shown.
    forms_ = std::make_unique<FormSet>(FormBuild::OnFirstShowing);
    TFMain& main = forms_->main();
    main.setGeometry(40, 40, 1000, 700);
    main.show();
    ASSERT_TRUE(waitFor([&] { return main.isVisible(); }));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Varmo - Ferwen s.c."));
    EXPECT_EQ(main.ComPort.Port(), QStringLiteral("COM1"));  // nothing stored yet

    // "Ustawienia" → "Port COM": COM5 typed as the port's name, OK.
    QAction* portEntry = menuEntry(main, QStringLiteral("Ustawienia"), QStringLiteral("Port COM"));
    ASSERT_NE(portEntry, nullptr);
    TFCOM* portDialog = forms_->forms().FCOM;
    QTimer::singleShot(200, portDialog, [portDialog] {
        portDialog->RBCOMCustom->setChecked(true);
        portDialog->EdCOM->setText(QStringLiteral("COM5"));
        portDialog->BitBtn1->click();
    });
    portEntry->trigger();
    EXPECT_EQ(main.ComPort.Port(), QStringLiteral("COM5"));
    EXPECT_EQ(registryText(L"com"), L"COM5");
    EXPECT_EQ(registryText(L"baud"), L"9600");

    // "Odczyt" → "Nagłówek", then "Wykonaj".
    QAction* headerEntry = menuEntry(main, QStringLiteral("Odczyt"), QStringLiteral("Nagłówek"));
    ASSERT_NE(headerEntry, nullptr);
    headerEntry->trigger();
    EXPECT_EQ(main.RESend->toPlainText(), QStringLiteral("<ESC>P#uA9<ESC>\\"));
    EXPECT_EQ(main.SBSend->text(), QStringLiteral("Wykonaj"));
    main.SBSend->click();

    const QString expected = QStringLiteral(
        "Odczytany nagłówek:\nSKLEP TESTOWY \"POD WAGA\"\nul. Testowa 7, 00-950 Przykładowo");
    ASSERT_TRUE(waitFor([&] { return main.MemoR->toPlainText() == expected; }))
        << main.MemoR->toPlainText().toStdString() << " / " << main.RERcv->toPlainText().toStdString();
    EXPECT_TRUE(main.RERcv->toPlainText().startsWith(QStringLiteral("<ESC>P1#USKLEP TESTOWY")));
    EXPECT_TRUE(main.ComPort.Connected());
    bool described = false;
    for (const QLabel* label : main.findChildren<QLabel*>())
        described = described || (label->text() == QStringLiteral("Opis:") && label->isVisible());
    EXPECT_TRUE(described);
    EXPECT_TRUE(prompts_.shown.empty());

    const QString screenshot = qEnvironmentVariable("VARMO_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        main.raise();
        main.activateWindow();
        idle(1500);  // the window system paints it
        // As the screen shows it: what the window system drew, not what Qt
        // would paint into a picture of its own.
        QScreen* screen = main.screen();
        ASSERT_NE(screen, nullptr);
        const QRect frame = main.frameGeometry().intersected(screen->geometry());
        const QPixmap shot =
            screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        EXPECT_FALSE(shot.isNull());
        EXPECT_TRUE(shot.save(wintest::WindowsPath(screenshot), "PNG")) << screenshot.toStdString();
    }

    // Closing the window writes the code page back; all three are in the registry.
    forms_.reset();
    EXPECT_EQ(registryText(L"plStd"), L"maz");
    EXPECT_EQ(registryText(L"com"), L"COM5");
    EXPECT_EQ(registryText(L"baud"), L"9600");
}

}  // namespace
}  // namespace varmo::test
