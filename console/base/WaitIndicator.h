#pragma once
// What the operator sees while the console waits on the line: the window
// keeps painting under a busy cursor, keys and clicks are held off, and a
// wait that lasts over a second shows a small box whose "Przerwij" ends it at
// once, as its time-out would have.
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "link/LineWait.h"



namespace varmo {

class WaitIndicator : public QObject, public LineWaitHost {
    Q_OBJECT
public:
    // Installs itself as the line's wait host; the previous one comes back
    // when this is gone.
    explicit WaitIndicator(QObject* parent = nullptr);
    ~WaitIndicator() override;

    void WaitBegins() override;
    void WaitEnds() override;

    // A window of its own that stays the operator's during waits: a progress
    // box whose "Anuluj" stops a long series of frames between two of them.
    static void TakesInputDuringWaits(QWidget* window);

    // The box while it is up, else nullptr.
    QDialog* Box() const { return box_; }

    static constexpr int kBoxAfterMs = 1000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showBox();
    bool takesInput(QObject* watched) const;

    LineWaitHost* previous_ = nullptr;
    QTimer boxTimer_;
    QPointer<QDialog> box_;
    QPointer<QWidget> modalAtStart_;
    bool waiting_ = false;
    bool draining_ = false;  // the wait has ended, its queued input not yet dropped
};

}  // namespace varmo
