#pragma once
// The inspection-date dialog "Ustawienie daty przeglądu": when the next
// service visit is due and what the printer says then, handed to the main
// window as the inspection-date command. A service function.
#include <QDate>
#include <functional>

#include "console/widgets/LateBuilt.h"

class QDateEdit;
class QLineEdit;
class QPushButton;

namespace varmo {

class MainServices;

class TFSetInspectionDate : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFSetInspectionDate(MainServices& main, FormBuild when = FormBuild::Now);

    QDateEdit* DE = nullptr;
    QLineEdit* Ed = nullptr;
    QPushButton* BBOK = nullptr;
    QPushButton* BBCancel = nullptr;

    // Today's date, as the field offers it until the operator picks one.
    std::function<QDate()> Today = [] { return QDate::currentDate(); };

public slots:
    void BBOKClick();
    void BBCancelClick();

protected:
    void showEvent(QShowEvent* event) override;

protected:
    void BuildControls() override;

private:
    void offerToday();

    MainServices& main_;
    bool dateChosen_ = false;
    bool offering_ = false;
};

}  // namespace varmo
