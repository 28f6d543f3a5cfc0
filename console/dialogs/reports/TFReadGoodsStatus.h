#pragma once
// "Odczyt statusu towaru": asks the printer whether a goods name may be sold
// under a rate, or which rate it is locked to.
#include "console/widgets/LateBuilt.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varmo {

class MainServices;

class TFReadGoodsStatus : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFReadGoodsStatus(MainServices& main, FormBuild when = FormBuild::Now);

    QLabel* Label1 = nullptr;
    QLineEdit* EdName = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* CBRate = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

public slots:
    // Closes the dialog only when the query was handed over.
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void BuildControls() override;

private:
    MainServices& main_;
};

}  // namespace varmo
