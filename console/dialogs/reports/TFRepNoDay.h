#pragma once
// "Raport okresowy wg numerów": a periodic report over a range of daily
// report numbers, fiscal or as a non-fiscal sales summary.
#include "console/widgets/LateBuilt.h"

class QLineEdit;
class QPushButton;

namespace varmo {

class RadioGroup;
class MainServices;

class TFRepNoDay : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFRepNoDay(MainServices& main, FormBuild when = FormBuild::Now);

    QLineEdit* EdStart = nullptr;
    QLineEdit* EdStop = nullptr;
    RadioGroup* RG = nullptr;
    QPushButton* BBOk = nullptr;
    QPushButton* BBCancel = nullptr;

public slots:
    // Closes the dialog only when the report was handed over.
    void BBOkClick();

protected:
    void BuildControls() override;

private:
    MainServices& main_;
};

}  // namespace varmo
