#pragma once
// The header dialog "Nagłówek": the text printed at the top of every receipt,
// checked against the printer's limits, centred line by line, read from the
// printer, kept in text files, and handed to the main window as the header
// command. It stays open while the header breaks a limit.
#include "console/widgets/LateBuilt.h"

class QPushButton;

namespace varmo {

class MainServices;
class HeaderMemo;

class TFSetHeader : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFSetHeader(MainServices& main, FormBuild when = FormBuild::Now);

    HeaderMemo* Memo = nullptr;
    // Centring, beside lines 1 to 8 from the top.
    QPushButton* SpeedButton2 = nullptr;
    QPushButton* SpeedButton3 = nullptr;
    QPushButton* SpeedButton4 = nullptr;
    QPushButton* SpeedButton5 = nullptr;
    QPushButton* SpeedButton8 = nullptr;
    QPushButton* SpeedButton6 = nullptr;
    QPushButton* SpeedButton7 = nullptr;
    QPushButton* SpeedButton9 = nullptr;
    QPushButton* SpeedButton1 = nullptr;   // "Odczytaj"
    QPushButton* SpeedButton10 = nullptr;  // "Do pliku"
    QPushButton* SpeedButton11 = nullptr;  // "Z pliku"
    QPushButton* BBOK = nullptr;
    QPushButton* BBCancel = nullptr;

    // Centres the line (0-based) of the memo; no effect past its last line.
    void CentreLine(int line);

public slots:
    void FormCreate();
    void FormClose();
    void SpeedButton1Click();
    void SpeedButton2Click() { CentreLine(0); }
    void SpeedButton3Click() { CentreLine(1); }
    void SpeedButton4Click() { CentreLine(2); }
    void SpeedButton5Click() { CentreLine(3); }
    void SpeedButton8Click() { CentreLine(4); }
    void SpeedButton6Click() { CentreLine(5); }
    void SpeedButton7Click() { CentreLine(6); }
    void SpeedButton9Click() { CentreLine(7); }
    void SpeedButton10Click();
    void SpeedButton11Click();
    void BBOKClick();
    void BBCancelClick();

    // Every way of closing ends here, and FormClose runs first.
    void done(int result) override;

protected:
    void BuildControls() override;

private:
    MainServices& main_;
};

}  // namespace varmo
