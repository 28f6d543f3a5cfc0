#pragma once
// The box shown while the port dialog looks for the printer: the port and the
// speed being tried, and "Przerwij", which ends the search at once. Modal, so
// nothing else is chosen meanwhile, yet the window keeps painting.
#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;

namespace varmo {

class SearchProgress : public QDialog {
    Q_OBJECT
public:
    explicit SearchProgress(QWidget* parent);

    void ShowTrying(const QString& port, const QString& device, std::int32_t speed);

    QLabel* Label = nullptr;
    QPushButton* BtnStop = nullptr;

signals:
    void stopRequested();

protected:
    // Escape and the close box mean "Przerwij" too; the box goes when the
    // search is over.
    void reject() override;
};

}  // namespace varmo
