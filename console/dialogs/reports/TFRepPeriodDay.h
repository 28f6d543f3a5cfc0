#pragma once
// "Raport okresowy wg dat": a periodic report of the fiscal memory between
// two typed dates, in one of six kinds.
#include "console/widgets/LateBuilt.h"

class QLineEdit;
class QPushButton;

namespace varmo {

class RadioGroup;
class MainServices;

class TFRepPeriodDay : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFRepPeriodDay(MainServices& main, FormBuild when = FormBuild::Now);

    // The report type of each item of RG, in order.
    static std::int32_t ReportType(int itemIndex);

    QLineEdit* MEStart = nullptr;
    QLineEdit* MEStop = nullptr;
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
