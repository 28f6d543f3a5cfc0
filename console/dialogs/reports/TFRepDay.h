#pragma once
// "Raport dobowy": the daily report, today's or for a typed date. Today's
// report on a fiscal printer must be confirmed on its keypad, so the main
// window reminds the operator after sending it.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varmo {

class TFMain;

class TFRepDay : public QDialog {
    Q_OBJECT
public:
    explicit TFRepDay(TFMain& main);

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

private:
    TFMain& main_;
};

}  // namespace varmo
