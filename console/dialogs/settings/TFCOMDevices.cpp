// The port dialog's device list and its search for the printer.
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QRadioButton>

#include "console/base/HandlerGuard.h"
#include "console/base/Prompts.h"
#include "console/dialogs/settings/SearchProgress.h"
#include "console/dialogs/settings/TFCOM.h"

#include <QLabel>
#include "console/dialogs/MainServices.h"
#include "exchange/PrinterExchange.h"
#include "console/widgets/RadioGroup.h"
#include "exchange/PrinterSearch.h"
#include "exchange/SearchSummary.h"
#include "link/DeviceMapping.h"
#include "link/StoredLink.h"

namespace varmo {

namespace {

QString caption(const SerialDevice& device)
{
    QString text = device.path;
    const QStringList details = device.Details();
    if (!details.isEmpty())
        text += QStringLiteral(" – ") + details.join(QStringLiteral(", "));
    if (device.missing)
        text += QStringLiteral(" (brak)");
    if (!device.comNames.isEmpty())
        text += QStringLiteral("  [") + device.comNames.join(QStringLiteral(", ")) +
                QLatin1Char(']');
    return text;
}

// Two names lead to one device when they resolve to the same node.
bool sameDevice(const SerialDevice& device, const QString& target)
{
    if (device.path == target || device.stableName == target)
        return true;
    const QString canonical = QFileInfo(target).canonicalFilePath();
    return !device.missing && !canonical.isEmpty() &&
           QFileInfo(device.path).canonicalFilePath() == canonical;
}

}  // namespace

void TFCOM::FillDevices()
{
    devices_ = ListSerialDevices();
    showingDevice_ = true;
    CBDevice->clear();
    CBDevice->addItem(QString());  // where the chosen name leads, when it is none of these
    for (const SerialDevice& device : devices_)
        CBDevice->addItem(caption(device));
    showingDevice_ = false;
    ShowChosenDevice();
}

void TFCOM::ShowChosenDevice()
{
    if (showingDevice_ || CBDevice == nullptr || CBDevice->count() == 0)
        return;
    showingDevice_ = true;
    const QString target = DevicePathForPort(SelectedPortName());
    int index = 0;
    for (std::size_t i = 0; i < devices_.size() && index == 0; ++i)
        if (sameDevice(devices_[i], target))
            index = static_cast<int>(i) + 1;
    CBDevice->setItemText(0, QFileInfo::exists(target) ? target
                                                       : target + QStringLiteral(" (brak)"));
    // The stand-in row is offered only while it is what the name leads to.
    if (auto* rows = qobject_cast<QListView*>(CBDevice->view()))
        rows->setRowHidden(0, index != 0);
    CBDevice->setCurrentIndex(index);
    showingDevice_ = false;
}

void TFCOM::CBDeviceChoose(int index)
{
    Guarded([&] {
        if (index <= 0 || index > static_cast<int>(devices_.size()))
            return;
        const SerialDevice device = devices_[static_cast<std::size_t>(index) - 1];
        const QString chosen = PortNameFor(SelectedPortName());
#ifdef Q_OS_WIN
        const bool byName = true;  // the COM names are the devices themselves
#else
        const bool byName = IsDevicePath(chosen);
#endif
        if (byName) {
            RBCOMCustom->setChecked(true);
            EdCOM->setText(device.MappingName());
            return;
        }
        StoreDeviceFor(chosen, device.MappingName());
        FillDevices();  // the COM names beside the devices have changed
    });
}

void TFCOM::BtnFindPrinterClick()
{
    Guarded([&] {
        main_.ClosePort();
        std::vector<std::int32_t> speeds;
        for (const QString& item : RGBaud->Items())
            speeds.push_back(item.toInt());
        devices_ = ListSerialDevices();
        // What the operator typed or chose first (a path not listed too),
        // then the port he stored before.
        const std::vector<SearchPort> ports =
            PrinterSearch::PortOrder(devices_, SelectedPortName(), StoredPortName());

        // What an earlier search found is no news of this one.
        LbFound->hide();
        LbFound->clear();
        PrinterSearch search;
        SearchProgress progress(this);
        connect(&search, &PrinterSearch::trying, &progress, &SearchProgress::ShowTrying);
        connect(&progress, &SearchProgress::stopRequested, &search, &PrinterSearch::Stop);
        progress.show();
        const SearchResult result =
            search.Run(ports, PrinterSearch::SpeedOrder(SelectedSpeed(), speeds),
                       main_.Printer().AnswerWaitMs());
        progress.hide();

        if (result.found) {
            RBCOMCustom->setChecked(true);
            EdCOM->setText(result.port);
            SelectSpeed(result.speed);
            FillDevices();
            // Said on the dialog, where it stays until OK: a quick search
            // would otherwise end with nothing but a changed port name.
            LbFound->setText(QStringLiteral("Znaleziono drukarkę: %1, %2 bd")
                                 .arg(result.port)
                                 .arg(result.speed));
            LbFound->show();
            return;
        }
        FillDevices();
        // Said on the dialog too, where it stays until OK, as a find is.
        LbFound->setText(result.stopped ? QStringLiteral("Szukanie przerwano: nie znaleziono drukarki")
                                        : QStringLiteral("Nie znaleziono drukarki"));
        LbFound->show();
        if (result.stopped)
            return;
        // The second line says what was tried, so that the operator knows
        // where not to look again, and which ports would not open and why.
        CurrentPrompts().message(
            QStringLiteral("Nie znaleziono drukarki\n") + SearchSummary(result),
            QStringLiteral("Szukaj drukarki"));
    });
}

}  // namespace varmo
