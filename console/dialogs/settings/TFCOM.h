#pragma once
// The port dialog "Ustawienia transmisji": the operator picks the port and
// the speed. The port stays closed while the dialog is shown; whenever it
// closes, the choice goes to the main window's port and to the settings store.
#include <QDialog>
#include <cstdint>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace varmo {

class RadioGroup;
class TFMain;

class TFCOM : public QDialog {
    Q_OBJECT
public:
    // Runs FormCreate: the settings store must be open.
    explicit TFCOM(TFMain& main);

    void SelectSpeed(std::int32_t speed);
    void SelectPort(const QString& name);
    std::int32_t SelectedSpeed() const;
    QString SelectedPortName() const;

    void FormCreate();

    QGroupBox* GBCom = nullptr;
    QRadioButton* RBCOM1 = nullptr;
    QRadioButton* RBCOM2 = nullptr;
    QRadioButton* RBCOMCustom = nullptr;
    QLineEdit* EdCOM = nullptr;
    RadioGroup* RGBaud = nullptr;
    QPushButton* BitBtn1 = nullptr;

public slots:
    void FormShow();
    void FormClose();
    void RBCOM1Click();

    // Every way of closing (OK, Escape, the window's close box) ends here,
    // and FormClose runs before the dialog is gone.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TFMain& main_;
};

}  // namespace varmo
