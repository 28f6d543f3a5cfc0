#pragma once
// The clock dialog "Ustawienie zegara": the date and time to set, filled with
// the computer's clock at every showing or read from the printer, handed to
// the main window as the clock command.
#include "console/widgets/LateBuilt.h"

class QPushButton;

namespace varmo {

class MainServices;
class MaskEdit;

class TFSetDate : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFSetDate(MainServices& main, FormBuild when = FormBuild::Now);

    MaskEdit* ME = nullptr;
    QPushButton* SpeedButton1 = nullptr;  // "Odczytaj"
    QPushButton* BBOK = nullptr;          // "Ustaw"
    QPushButton* BBCancel = nullptr;

public slots:
    void FormShow();
    void SpeedButton1Click();
    void BBOKClick();
    void BBCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

protected:
    void BuildControls() override;

private:
    MainServices& main_;
};

}  // namespace varmo
