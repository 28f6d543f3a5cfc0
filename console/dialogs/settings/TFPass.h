#pragma once
// The password dialog that unlocks the service functions. It is emptied at
// every showing; OK checks the password, says how it went and closes, so a
// further attempt needs the menu entry again.
#include "console/widgets/LateBuilt.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace varmo {

class MainServices;

class TFPass : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFPass(MainServices& main, FormBuild when = FormBuild::Now);

    static QString ServicePassword() { return QStringLiteral("4781"); }

    QLabel* Label1 = nullptr;
    QLineEdit* Ed = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

public slots:
    void FormShow();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;

protected:
    void BuildControls() override;

private:
    MainServices& main_;
};

}  // namespace varmo
