#pragma once
// "Do przeglądu": the printers whose inspection falls within the days asked
// (30 at first), soonest first, the overdue ones in red.
#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace varmo {

class BookSource;
class MainServices;

class DueDialog : public QDialog {
    Q_OBJECT
public:
    explicit DueDialog(MainServices& main);
    ~DueDialog() override;

    QSpinBox* Dni = nullptr;         // within how many days
    QTableWidget* Lista = nullptr;   // the printers due
    QLabel* Podsumowanie = nullptr;  // how many, how many overdue
    QLabel* Zrodlo = nullptr;  // where the list comes from, with a server set
    QPushButton* Zamknij = nullptr;

    void DniChange();

protected:
    void showEvent(QShowEvent* event) override;

private:
    MainServices& main_;
    std::unique_ptr<BookSource> source_;
};

}  // namespace varmo
