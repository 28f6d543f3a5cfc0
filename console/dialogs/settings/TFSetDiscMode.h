#pragma once
// The discount dialog "Metoda obliczania rabatu": which of the two formulas
// the printer uses for a percentage discount, handed to the main window as
// the discount-method command.
#include <QDialog>

class QPushButton;
class QRadioButton;

namespace varmo {

struct Forms;

class TFSetDiscMode : public QDialog {
    Q_OBJECT
public:
    explicit TFSetDiscMode(Forms& forms);

    QRadioButton* RB1 = nullptr;
    QRadioButton* RB2 = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "OK"
    QPushButton* BitBtn2 = nullptr;  // "Anuluj"

public slots:
    void BitBtn1Click();

private:
    Forms& forms_;
};

}  // namespace varmo
