#pragma once
// The NIP dialog "Ustawienie numeru NIP": the shop's tax number, and with the
// box ticked the fiscalisation of the printer, which cannot be undone. A
// service function.
#include "console/widgets/LateBuilt.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace varmo {

class MainServices;

class TFSetNIP : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFSetNIP(MainServices& main, FormBuild when = FormBuild::Now);

    QLineEdit* Ed = nullptr;
    QCheckBox* CB = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "OK"
    QPushButton* BitBtn2 = nullptr;  // "Anuluj"

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void BuildControls() override;

private:
    MainServices& main_;
};

}  // namespace varmo
