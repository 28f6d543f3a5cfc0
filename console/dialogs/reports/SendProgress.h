#pragma once
// The box shown while a long list goes to the printer: how far it got, and
// "Anuluj" to stop before the next line. It is modal, so while it is up the
// operator can do nothing else, yet the window keeps painting.
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace varmo {

class SendProgress : public QDialog {
    Q_OBJECT
public:
    SendProgress(QWidget* parent, int total);

    // Sending shorter than this shows no box at all.
    static constexpr int kShowAfterMs = 500;

    void SetDone(int done);
    bool Cancelled() const { return cancelled_; }

    QLabel* Label = nullptr;
    QProgressBar* Bar = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    // Escape and the close box mean "Anuluj" too, and the box stays up
    // until the sending loop takes it down.
    void reject() override;

private:
    bool cancelled_ = false;
};

}  // namespace varmo
