#pragma once
// The discount dialog "Metoda obliczania rabatu": which of the two formulas
// the printer uses for a percentage discount, handed to the main window as
// the discount-method command.
#include "console/widgets/LateBuilt.h"

class QPushButton;
class QRadioButton;

namespace varmo {

class MainServices;

class TFSetDiscMode : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFSetDiscMode(MainServices& main, FormBuild when = FormBuild::Now);

    QRadioButton* RB1 = nullptr;
    QRadioButton* RB2 = nullptr;
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
