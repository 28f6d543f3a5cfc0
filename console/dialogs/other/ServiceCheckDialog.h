#pragma once
// "Przegląd drukarki": the service check run as soon as the window shows,
// its table filling step by step as the printer answers, what needs
// attention in red, and the report saved as PDF or plain text.
#include <QDialog>
#include <optional>

#include "exchange/ServiceCheck.h"
#include "report/VisitPart.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

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
    // The visit's part: who came and what they note, what changed since the
    // last visit, the next inspection, and the clock set right when red.
    QLineEdit* Technik = nullptr;
    QLineEdit* Uwagi = nullptr;
    QLabel* OdOstatniej = nullptr;   // "Od ostatniej wizyty"
    QLabel* Przeglad = nullptr;      // the next inspection
    QPushButton* PoprawZegar = nullptr;  // "Popraw zegar"

    // The check from the start, the table emptied first.
    void RepeatClick();
    void SaveClick();
    void PoprawZegarClick();

    // The last check run to its end, if any.
    const std::optional<CheckResult>& Result() const { return result_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addStep(const CheckStep& step);
    CheckSetting setting() const;
    void showStatusOnPanel(const CheckResult& result);
    // ServiceCheckVisit.cpp: the visit's part of the window and the report.
    void buildVisitPart(QVBoxLayout* layout);
    void keepVisit();
    VisitPart visitPart() const;

    MainServices& main_;
    std::optional<CheckResult> result_;
    Lines sinceLast_;
    Lines sinceLastRed_;
    bool firstVisit_ = false;
    bool running_ = false;
};

}  // namespace varmo
