#pragma once
// The port dialog "Ustawienia transmisji": the operator picks the port and
// the speed. The port stays closed while the dialog is shown; whenever it
// closes, the choice goes to the main window's port and to the settings
// store, and the port is opened at once.
// The device list shows where the chosen COM name leads and points it at
// another device; "Szukaj drukarki" finds the port and speed of the printer.
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "console/widgets/LateBuilt.h"
#include "link/SerialDevices.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QLabel;
class QPushButton;
class QRadioButton;

namespace varmo {

class RadioGroup;
class MainServices;

class TFCOM : public LateBuiltDialog {
    Q_OBJECT
public:
    // Reads the stored port and speed: the settings store must be open. The
    // controls, whenever they are made, show what was read here.
    explicit TFCOM(MainServices& main, FormBuild when = FormBuild::Now);

    void SelectSpeed(std::int32_t speed);
    void SelectPort(const QString& name);
    std::int32_t SelectedSpeed() const;
    QString SelectedPortName() const;

    // Shows the stored port and speed, read afresh.
    void FormCreate();

    QGroupBox* GBCom = nullptr;
    QRadioButton* RBCOM1 = nullptr;
    QRadioButton* RBCOM2 = nullptr;
    QRadioButton* RBCOMCustom = nullptr;
    QLineEdit* EdCOM = nullptr;
    RadioGroup* RGBaud = nullptr;
    QPushButton* BitBtn1 = nullptr;
    // The devices of this machine; the one the chosen COM name leads to is
    // shown. Choosing one points that COM name at it (devices/COMn).
    QComboBox* CBDevice = nullptr;
    QPushButton* BtnFindPrinter = nullptr;
    QLabel* LbFound = nullptr;

    // The devices as listed when the dialog was last shown.
    const std::vector<SerialDevice>& Devices() const { return devices_; }

public slots:
    void FormShow();
    void FormClose();
    void RBCOM1Click();
    // Lists the devices afresh (every showing) and shows the chosen one.
    void FillDevices();
    // The device the chosen COM name leads to, shown in CBDevice.
    void ShowChosenDevice();
    // The operator chose the device at index of CBDevice.
    void CBDeviceChoose(int index);
    void BtnFindPrinterClick();

    // Every way of closing (OK, Escape, the window's close box) ends here,
    // and FormClose runs before the dialog is gone.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void BuildControls() override;

private:
    // What could be read of the stored speed and port.
    struct StoredLine {
        std::optional<std::int32_t> speed;
        std::optional<QString> port;
    };
    static StoredLine readStored();
    // The defaults, then what could be read.
    void showStored(const StoredLine& stored);

    MainServices& main_;
    StoredLine atStart_;
    std::vector<SerialDevice> devices_;
    bool showingDevice_ = false;
};

}  // namespace varmo
