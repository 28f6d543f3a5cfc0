#pragma once
// The inspection-date dialog "Ustawienie daty przeglądu": when the next
// service visit is due and what the printer says then, handed to the main
// window as the inspection-date command. A service function.
#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace varmo {

struct Forms;

class TFSetInspectionDate : public QDialog {
    Q_OBJECT
public:
    explicit TFSetInspectionDate(Forms& forms);

    QDateEdit* DE = nullptr;
    QLineEdit* Ed = nullptr;
    QPushButton* BBOK = nullptr;
    QPushButton* BBCancel = nullptr;

public slots:
    void BBOKClick();
    void BBCancelClick();

private:
    Forms& forms_;
};

}  // namespace varmo
