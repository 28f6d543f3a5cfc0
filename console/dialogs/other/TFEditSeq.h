#pragma once
// "Edycja dowolnej sekwencji": the operator types any command body in escaped
// text and hands it to the main window as a user sequence. The text stays
// between openings.
#include "console/widgets/LateBuilt.h"

class QPlainTextEdit;
class QPushButton;

namespace varmo {

class MainServices;

class TFEditSeq : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFEditSeq(MainServices& main, FormBuild when = FormBuild::Now);

    QPlainTextEdit* Memo = nullptr;
    QPushButton* SpeedButton1 = nullptr;  // "CR"
    QPushButton* SpeedButton2 = nullptr;  // "ESC"
    QPushButton* SpeedButton3 = nullptr;  // "FF"
    QPushButton* BBOk = nullptr;
    QPushButton* BitBtn2 = nullptr;

public slots:
    void SBCR();
    void SpeedButton2Click();
    void SpeedButton3Click();
    // Hands the sequence over and closes; malformed text is refused and the
    // dialog stays open with the text as typed.
    void BBOkClick();

protected:
    void BuildControls() override;

private:
    void insertEscape(const QString& escape);

    MainServices& main_;
};

}  // namespace varmo
