#pragma once
// "Księga wizyt": the printers the book knows (sortable, searched without
// Polish letters), the chosen printer's visits, and one visit in full. The
// book is read when the window shows, not before.
#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace varmo {

class BookSource;
class MainServices;

class VisitBookDialog : public QDialog {
    Q_OBJECT
public:
    explicit VisitBookDialog(MainServices& main);
    ~VisitBookDialog() override;

    QLineEdit* Szukaj = nullptr;       // the search
    QTableWidget* Drukarki = nullptr;  // the printers
    QTableWidget* Wizyty = nullptr;    // the chosen printer's visits
    QPlainTextEdit* Wizyta = nullptr;  // the chosen visit in full
    QLabel* Zrodlo = nullptr;  // where the list comes from, with a server set
    QPushButton* Zamknij = nullptr;

    void SzukajChange();
    void DrukarkiClick();
    void WizytyClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    MainServices& main_;
    std::unique_ptr<BookSource> source_;
};

}  // namespace varmo
