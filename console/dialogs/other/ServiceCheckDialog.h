#pragma once
// "Przegląd drukarki": the service check run as soon as the window shows,
// its table filling step by step as the printer answers, what needs
// attention in red, and the report saved as PDF or plain text.
#include <QDialog>
#include <optional>

#include "exchange/ServiceCheck.h"

class QPushButton;
class QTableWidget;

namespace varmo {

class MainServices;

class ServiceCheckDialog : public QDialog {
    Q_OBJECT
public:
    explicit ServiceCheckDialog(MainServices& main);

    QTableWidget* Steps = nullptr;  // step, result, time
    QPushButton* Repeat = nullptr;  // "Powtórz"
    QPushButton* Save = nullptr;    // "Zapisz raport…"
    QPushButton* Close = nullptr;   // "Zamknij"

    // The check from the start, the table emptied first.
    void RepeatClick();
    void SaveClick();

    // The last check run to its end, if any.
    const std::optional<CheckResult>& Result() const { return result_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addStep(const CheckStep& step);
    CheckSetting setting() const;
    void showStatusOnPanel(const CheckResult& result);

    MainServices& main_;
    std::optional<CheckResult> result_;
    bool running_ = false;
};

}  // namespace varmo
