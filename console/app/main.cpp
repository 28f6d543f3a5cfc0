// Varmo: the service and test console for a fiscal receipt printer on a
// serial line. The settings store opens before the first form and closes
// after the last one is gone.
#include <QApplication>
#include <cstdio>
#include <sstream>

#include "book/Book.h"
#include "console/app/CommandLine.h"
#include "console/app/FormSet.h"
#include "console/base/HandlerGuard.h"
#include "console/base/Localisation.h"
#include "console/base/Prompts.h"
#include "console/mainwindow/TFMain.h"
#include "protocol/FileSizeSignal.h"
#include "link/ProcessEnd.h"
#include "link/SettingsStore.h"

int main(int argc, char* argv[])
{
    varmo::KeepRunningPastFileSizeLimit();
    // Before the application: its platform would want a desktop. The text
    // goes out through stdio: the standard streams would cost every start
    // their set-up, arguments or none.
    if (argc > 1) {
        std::ostringstream text;
        if (const auto answered = varmo::AnswerCommandLine({argv + 1, argv + argc}, text)) {
            if (varmo::HasStandardOutput()) {
                std::fputs(text.str().c_str(), stdout);
                return *answered;
            }
            // A windowed program started from Explorer or cmd has nowhere to
            // write: the text goes to a box.
            QApplication app(argc, argv);
            varmo::CurrentPrompts().message(QString::fromStdString(text.str()),
                                            QStringLiteral("Varmo"));
            return *answered;
        }
    }

    QApplication app(argc, argv);
    // The desktop pairs the window with its menu entry (and icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("varmo"));
    varmo::LoadPolishTranslation(app);
    varmo::UseSystemRegionalFormat();

    varmo::OpenSettingsStore();
    int result = 0;
    {
        varmo::FormSet forms(varmo::FormBuild::OnFirstShowing);
        forms.main().show();
        // A settings folder that cannot be written, or a settings file that
        // is no file, is told now, once, not when the code page is written
        // back at exit.
        if (const std::string unsaved = varmo::SettingsStoreProblem(); !unsaved.empty())
            varmo::CurrentPrompts().errorBox(
                varmo::StandardErrorText(QString::fromStdString(unsaved)));
        // A password an earlier Varmo kept in the settings goes where
        // passwords are kept now.
        if (const QString moved = varmo::book::MoveSettingsPassword(); !moved.isEmpty())
            varmo::CurrentPrompts().errorBox(QStringLiteral("Księga wizyt: ") + moved);
        result = QApplication::exec();
    }
    varmo::CloseSettingsStore();
    varmo::EndProcessOnWindows(result);
    return result;
}
