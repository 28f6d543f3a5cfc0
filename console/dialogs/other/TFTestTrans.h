#pragma once
// "Paragon testowy": prints a fixed one-line off-line receipt of 0,01 by
// writing its three frames straight to the port, bypassing the current
// command and the history.
#include "console/widgets/LateBuilt.h"

class QLabel;
class QPushButton;

namespace varmo {

class MainServices;

class TFTestTrans : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFTestTrans(MainServices& main, FormBuild when = FormBuild::Now);

    QLabel* Label1 = nullptr;
    QPushButton* BBOK = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // The pause after each frame but the last.
    static constexpr int kFramePauseMs = 100;

public slots:
    // Sends the receipt; the dialog closes after it however it went.
    void BBOKClick();

protected:
    void BuildControls() override;

private:
    MainServices& main_;
};

}  // namespace varmo
