// The main window's exchange log and status line: where they sit, how they
// learn what the port does, and their place kept between runs, with the
// window's own size and place.
#include <QAction>
#include <QByteArray>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include "commands/ReadCommands.h"
#include "console/dialogs/other/ServiceCheckDialog.h"
#include "console/dialogs/settings/TFCOM.h"
#include "console/log/ExchangeLogDock.h"
#include "console/base/HandlerGuard.h"
#include "console/mainwindow/Forms.h"
#include "console/mainwindow/PortStatusLine.h"
#include "console/mainwindow/TFMain.h"
#include "console/base/Text.h"
#include "console/base/Settings.h"

namespace varmo {

namespace {

// Under names of their own, beside the printer's three settings.

}  // namespace

void TFMain::buildLogAndStatusLine(FormBuild log)
{
    StatusLine = new PortStatusLine(statusBar());
    connect(&Exchange, &PrinterExchange::stateChanged, StatusLine,
            &PortStatusLine::PortStateChanged);
    StatusLine->PortStateChanged(Exchange.State());
    connect(&Exchange, &PrinterExchange::replugRefused, StatusLine,
            &PortStatusLine::ReplugRefused);
    // "Szukaj drukarki" beside "Brak odpowiedzi": the port dialog, its
    // search started as soon as it is up.
    buildSentCheck();
    connect(StatusLine, &PortStatusLine::searchRequested, this, [this] {
        Guarded([&] {
            TFCOM* dialog = forms_.FCOM;
            QTimer::singleShot(0, dialog, [dialog] { dialog->BtnFindPrinterClick(); });
            showModal(dialog);
        });
    });

    Dziennik = new ExchangeLogDock(this, kLogRowsKept, log);
    addDockWidget(Qt::BottomDockWidgetArea, Dziennik);
    Dziennik->hide();
    Dziennik->Maker.DescribeSent = [this](const std::string& frame) {
        // Known when it is the current command's frame, a dialog's read or
        // a frame of a series (test receipt, goods report).
        const TCommand* current = CurrentCommand();
        try {
            const TCommand* direct = Exchange.DirectCommand();
            if (direct != nullptr && direct->GetFrame() == frame)
                return describeFirstLine(*direct);
            if (current != nullptr && current->GetFrame() == frame)
                return currentDescription();
        } catch (const std::exception&) {
        }
        return QString();
    };
    Dziennik->Maker.DescribeDelivered = [this] {
        // Every delivered answer belongs to the current request.
        return dynamic_cast<const TCmdRequest*>(CurrentCommand()) ? currentDescription()
                                                                  : QString();
    };
    connect(&Exchange, &PrinterExchange::trafficSeen, Dziennik, &ExchangeLogDock::PortTrafficSeen);

    // After the entries "Inne" has always had, so they keep their places.
    Inne1->addSeparator();
    Dziennik1 = Inne1->addAction(QStringLiteral("Dziennik"));
    Dziennik1->setObjectName(QStringLiteral("Dziennik1"));
    Dziennik1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    Dziennik1->setCheckable(true);
    // Only the operator's choice shows or hides the log; the mark merely
    // follows what is on screen (a hidden main window hides it too).
    connect(Dziennik1, &QAction::triggered, Dziennik, &QWidget::setVisible);
    connect(Dziennik, &QDockWidget::visibilityChanged, Dziennik1, &QAction::setChecked);

    // The service visit's round of reads, last in "Inne".
    AddDialogEntry(Inne1, QStringLiteral("Przegląd drukarki…"), "Przegladdrukarki1",
                   [](MainServices& main) { return new ServiceCheckDialog(main); });
}

QString TFMain::currentDescription() const
{
    const TCommand* current = CurrentCommand();
    return current == nullptr ? QString() : describeFirstLine(*current);
}

QString TFMain::describeFirstLine(const TCommand& command)
{
    try {
        Lines lines;
        command.DescribeCommand(lines);
        return lines.empty() ? QString() : FromUtf8(lines.front());
    } catch (const std::exception&) {
        return {};
    }
}

void TFMain::restoreLogPlace()
{
    // Where the log stood is a comfort, not a setting of the printer: a value
    // that cannot be read leaves the log hidden under the window, silently.
    // The window's size and place first: the log's share is of that.
    const QByteArray window = Settings::Read(Settings::WindowPlace);
    if (!window.isEmpty())
        restoreGeometry(window);
    const QByteArray place = Settings::Read(Settings::LogPlace);
    if (!place.isEmpty())
        restoreState(place);
    else
        Dziennik->OpenAtUsefulHeight();
    Dziennik->setVisible(Settings::Read(Settings::LogVisible));
    Dziennik1->setChecked(!Dziennik->isHidden());
}

void TFMain::saveLogPlace()
{
    // Quietly: a store that cannot keep it is told once, by the code page's
    // write. isHidden, not isVisible: the window itself is already off screen.
    Settings::WriteQuietly(Settings::LogVisible, !Dziennik->isHidden());
    Settings::WriteQuietly(Settings::LogPlace, saveState());
    Settings::WriteQuietly(Settings::WindowPlace, saveGeometry());
}

}  // namespace varmo
