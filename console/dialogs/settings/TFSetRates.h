#pragma once
// The tax-rate dialog "Ustawienie stawek podatkowych": seven rates A to G,
// typed, picked from a list or read from the printer, handed to the main
// window as the rates command. On a fiscal printer the operator is reminded
// to confirm the change on the printer when it is sent.
#include <array>
#include <cstdint>

#include "console/widgets/LateBuilt.h"

class QComboBox;
class QPushButton;

namespace varmo {

class MainServices;

class TFSetRates : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFSetRates(MainServices& main, FormBuild when = FormBuild::Now);

    // The code a field's text stands for: "zwolniona" 100, "nieaktywna" and
    // the empty text 101, else a whole number 0 to 100; EConvertError
    // "Niepoprawna wartość stawki " and the letter otherwise.
    static std::int32_t RateCode(const QString& text, char letter);
    // The field's text for a code read from the printer.
    static QString RateFieldText(std::int32_t code);

    QComboBox* ComboBoxA = nullptr;
    QComboBox* ComboBoxB = nullptr;
    QComboBox* ComboBoxC = nullptr;
    QComboBox* ComboBoxD = nullptr;
    QComboBox* ComboBoxE = nullptr;
    QComboBox* ComboBoxF = nullptr;
    QComboBox* ComboBoxG = nullptr;
    QPushButton* SBRead = nullptr;
    QPushButton* BBOK = nullptr;
    QPushButton* BBCancel = nullptr;

    std::array<QComboBox*, 7> Fields() const
    {
        return {ComboBoxA, ComboBoxB, ComboBoxC, ComboBoxD, ComboBoxE, ComboBoxF, ComboBoxG};
    }

public slots:
    void SBReadClick();
    void BBOKClick();
    void BBCancelClick();

protected:
    void BuildControls() override;

private:
    MainServices& main_;
};

}  // namespace varmo
