// Varmo: the service and test console for a fiscal receipt printer on a
// serial line. The settings store opens before the first form and closes
// after the last one is gone.
#include <QApplication>
#include <iostream>

#include "console/app/CommandLine.h"
#include "console/app/FormSet.h"
#include "console/app/Localisation.h"
#include "console/mainwindow/TFMain.h"
#include "link/FileSizeSignal.h"
#include "link/SettingsStore.h"

int main(int argc, char* argv[])
{
    varmo::KeepRunningPastFileSizeLimit();
    // Before the application: its platform would want a desktop.
    if (const auto answered = varmo::AnswerCommandLine({argv + 1, argv + argc}, std::cout))
        return *answered;

    QApplication app(argc, argv);
    // The desktop pairs the window with its menu entry (and icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("varmo"));
    varmo::LoadPolishTranslation(app);
    varmo::UseSystemRegionalFormat();

    varmo::OpenSettingsStore();
    int result = 0;
    {
        varmo::FormSet forms;
        forms.main().show();
        result = QApplication::exec();
    }
    varmo::CloseSettingsStore();
    return result;
}
