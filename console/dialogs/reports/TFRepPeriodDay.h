#pragma once
// "Raport okresowy wg dat": a periodic report of the fiscal memory between
// two typed dates, in one of six kinds.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace varmo {

class RadioGroup;
class TFMain;

class TFRepPeriodDay : public QDialog {
    Q_OBJECT
public:
    explicit TFRepPeriodDay(TFMain& main);

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

private:
    TFMain& main_;
};

}  // namespace varmo
