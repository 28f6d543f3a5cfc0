#pragma once
// The error-mode dialog "Ustawienie trybu obsługi błędów": how the printer
// reacts to an error in a command, handed to the main window as the
// error-mode command.
#include "console/widgets/LateBuilt.h"

class QPushButton;

namespace varmo {

class MainServices;
class RadioGroup;

class TFSetErrMode : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFSetErrMode(MainServices& main, FormBuild when = FormBuild::Now);

    RadioGroup* RG = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "OK"
    QPushButton* BitBtn2 = nullptr;  // "Anuluj"

public slots:
    void BitBtn1Click();

protected:
    void BuildControls() override;

private:
    MainServices& main_;
};

}  // namespace varmo
