// "Zapisz" on Windows, with the real file dialog: it opens in the user's
// Documents, not in the folder the program was started from (the program's
// own, as the Start menu once did), and the file goes there.
//
// Run offscreen by CTest; run again by scripts/run-under-wine.sh under Xvfb
// with Qt's windows platform and VARMO_SAVE_SCREENSHOT, where it saves a
// picture of the dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "console/app/FormSet.h"
#include "console/base/Prompts.h"
#include "console/mainwindow/TFMain.h"
#include "link/SettingsStore.h"
#include "tests/windows/WinePrinter.h"

namespace varmo::test {
namespace {

TEST(SaveInDocuments, ZapiszOpensInTheDocumentsAndTheFileGoesThere)
{
    Prompts* before = InstallPrompts(nullptr);  // the real dialogs
    OpenSettingsStore();
    auto forms = std::make_unique<FormSet>(FormBuild::OnFirstShowing);
    TFMain& main = forms->main();
    main.setGeometry(40, 40, 900, 600);
    main.show();

    const QString name = QStringLiteral("odpowiedz-drukarki.txt");
    QString shownIn;
    QStringList otherBoxes;  // whatever else came up, closed so the test goes on
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (modal != nullptr && (dialog == nullptr || !shownIn.isEmpty())) {
            const auto* box = qobject_cast<QMessageBox*>(modal);
            otherBoxes << modal->windowTitle() + QStringLiteral(": ") +
                              (box ? box->text() : QString::fromLatin1(modal->metaObject()->className()));
            modal->close();
            return;
        }
        if (dialog == nullptr)
            return;
        shownIn = dialog->directory().absolutePath();
        const QString screenshot = qEnvironmentVariable("VARMO_SAVE_SCREENSHOT");
        if (!screenshot.isEmpty()) {
            QElapsedTimer painted;
            painted.start();
            while (painted.elapsed() < 1500)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            const QRect frame = dialog->frameGeometry();
            dialog->screen()
                ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                .save(wintest::WindowsPath(screenshot), "PNG");
        }
        // The name typed in, "Zapisz" pressed.
        if (auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            typed->setText(name);
        QMetaObject::invokeMethod(
            dialog, [dialog] { static_cast<QDialog*>(dialog)->done(QDialog::Accepted); },
            Qt::QueuedConnection);
    });
    look.start(50);
    main.SBSaveAns->click();
    look.stop();

    EXPECT_TRUE(otherBoxes.isEmpty()) << otherBoxes.join(QStringLiteral("; ")).toStdString();
    const QString documents = QDir::homePath() + QStringLiteral("/Documents");
    EXPECT_EQ(QDir(shownIn), QDir(documents)) << shownIn.toStdString();
    EXPECT_NE(QDir(shownIn), QDir(QCoreApplication::applicationDirPath()));
    EXPECT_TRUE(QFile::exists(documents + QLatin1Char('/') + name));
    QFile::remove(documents + QLatin1Char('/') + name);

    forms.reset();
    CloseSettingsStore();
    InstallPrompts(before);
}

}  // namespace
}  // namespace varmo::test
