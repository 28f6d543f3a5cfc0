#pragma once
// "Raport dobowy": the daily report, today's or for a typed date. Today's
// report on a fiscal printer must be confirmed on its keypad, so the main
// window reminds the operator after sending it.
#include "console/widgets/LateBuilt.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varmo {

class MainServices;

class TFRepDay : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFRepDay(MainServices& main, FormBuild when = FormBuild::Now);

    QCheckBox* CBSetDate = nullptr;
    QLineEdit* ME = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* BBOK = nullptr;
    QPushButton* BBCancel = nullptr;

public slots:
    void FormShow();
    void CBSetDateClick();
    // Closes the dialog only when the report was handed over.
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
