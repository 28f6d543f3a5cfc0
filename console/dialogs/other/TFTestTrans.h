#pragma once
// "Paragon testowy": prints a fixed one-line off-line receipt of 0,01 by
// writing its three frames straight to the port, bypassing the current
// command and the history.
#include <QDialog>

class QLabel;
class QPushButton;

namespace varmo {

class TFMain;

class TFTestTrans : public QDialog {
    Q_OBJECT
public:
    explicit TFTestTrans(TFMain& main);

    QLabel* Label1 = nullptr;
    QPushButton* BBOK = nullptr;
    QPushButton* BitBtn2 = nullptr;

    // The pause after each frame but the last.
    static constexpr int kFramePauseMs = 100;

public slots:
    // Sends the receipt; the dialog closes after it however it went.
    void BBOKClick();

private:
    TFMain& main_;
};

}  // namespace varmo
