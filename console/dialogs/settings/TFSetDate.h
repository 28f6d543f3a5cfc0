#pragma once
// The clock dialog "Ustawienie zegara": the date and time to set, filled with
// the computer's clock at every showing or read from the printer, handed to
// the main window as the clock command. Left at the computer's time it was
// shown with, the clock is set at the next turn of the minute, to that
// minute, and sent at once: the printer takes no seconds; when the printer's
// clock is more than an hour from the computer's, only after the operator
// has seen both and said yes.
#include <QDateTime>

#include "console/widgets/LateBuilt.h"

class QLabel;
class QPushButton;
class QTimer;

namespace varmo {

class MainServices;
class MaskEdit;

class TFSetDate : public LateBuiltDialog {
    Q_OBJECT
public:
    explicit TFSetDate(MainServices& main, FormBuild when = FormBuild::Now);

    MaskEdit* ME = nullptr;
    QPushButton* SpeedButton1 = nullptr;  // "Odczytaj"
    QPushButton* BBOK = nullptr;          // "Ustaw"
    QPushButton* BBCancel = nullptr;
    // While waiting for the turn of the minute: what is left, and the way out.
    QLabel* LbCountdown = nullptr;
    QPushButton* BBStop = nullptr;  // "Przerwij"

    // True while the clock waits for the turn of the minute.
    bool CountingDown() const;

public slots:
    void FormShow();
    void SpeedButton1Click();
    void BBOKClick();
    void BBCancelClick();
    void BBStopClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

protected:
    void BuildControls() override;

private:
    bool computerClockTrusted();
    void startCountdown();
    void tick();

    bool dateRefused_ = false;  // the last "Ustaw" named a day that does not exist
    QString shownTime_;         // the computer's time the field was filled with
    QDateTime turn_;            // when the clock goes out
    QTimer* countdown_ = nullptr;
    MainServices& main_;
};

}  // namespace varmo
