#pragma once
// The NIP dialog "Ustawienie numeru NIP": the shop's tax number, and with the
// box ticked the fiscalisation of the printer, which cannot be undone. A
// service function.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace varmo {

struct Forms;

class TFSetNIP : public QDialog {
    Q_OBJECT
public:
    explicit TFSetNIP(Forms& forms);

    QLineEdit* Ed = nullptr;
    QCheckBox* CB = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "OK"
    QPushButton* BitBtn2 = nullptr;  // "Anuluj"

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

private:
    Forms& forms_;
};

}  // namespace varmo
