#include "console/base/WaitIndicator.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

#include "console/base/AppTitle.h"

namespace varmo {

namespace {

const char* const kTakesInput = "takesInputDuringWaits";

bool isOperatorInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

}  // namespace

WaitIndicator::WaitIndicator(QObject* parent) : QObject(parent)
{
    boxTimer_.setSingleShot(true);
    boxTimer_.setInterval(kBoxAfterMs);
    connect(&boxTimer_, &QTimer::timeout, this, &WaitIndicator::showBox);
    previous_ = SetLineWaitHost(this);
}

WaitIndicator::~WaitIndicator()
{
    if (waiting_)
        WaitEnds();
    SetLineWaitHost(previous_);
}

void WaitIndicator::WaitBegins()
{
    waiting_ = true;
    modalAtStart_ = QApplication::activeModalWidget();
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // Dropped, not queued: a click on "ENQ" during a wait must not send a
    // second ENQ once the first is answered.
    qApp->installEventFilter(this);
    boxTimer_.start();
}

void WaitIndicator::WaitEnds()
{
    if (!waiting_)
        return;
    waiting_ = false;
    boxTimer_.stop();
    // Keys and clicks that came during the wait but are still queued when it
    // ends are dropped too: the filter goes only at the next turn of the
    // loop, after they have been handed out, never to be replayed into a
    // menu or a question.
    draining_ = true;
    QTimer::singleShot(0, this, [this] {
        draining_ = false;
        if (!waiting_)
            qApp->removeEventFilter(this);
    });
    if (box_) {
        box_->hide();
        box_->deleteLater();
        box_ = nullptr;
    }
    QApplication::restoreOverrideCursor();
}

void WaitIndicator::showBox()
{
    if (!waiting_ || box_)
        return;
    auto* box = new QDialog(QApplication::activeWindow());
    box->setObjectName(QStringLiteral("LineWaitBox"));
    box->setWindowTitle(ApplicationTitle());
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint);
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(new QLabel(QStringLiteral("Czekam na drukarkę…"), box));
    auto* row = new QHBoxLayout;
    auto* breakOff = new QPushButton(QStringLiteral("Przerwij"), box);
    breakOff->setObjectName(QStringLiteral("BBreakOff"));
    breakOff->setDefault(true);
    row->addStretch(1);
    row->addWidget(breakOff);
    row->addStretch(1);
    layout->addLayout(row);
    box->setFixedSize(box->sizeHint());
    // Closing the box is breaking the wait off too.
    connect(breakOff, &QPushButton::clicked, box, [] { LineWait::BreakOff(); });
    connect(box, &QDialog::rejected, box, [] { LineWait::BreakOff(); });
    box_ = box;
    box->show();
}

void WaitIndicator::TakesInputDuringWaits(QWidget* window)
{
    window->setProperty(kTakesInput, true);
}

bool WaitIndicator::takesInput(QObject* watched) const
{
    QWidget* window = nullptr;
    if (auto* widget = qobject_cast<QWidget*>(watched))
        window = widget->window();
    else if (auto* handle = qobject_cast<QWindow*>(watched))
        window = QWidget::find(handle->winId());
    if (window == nullptr)
        return false;
    if (window->property(kTakesInput).toBool())
        return true;
    // The box, or a message that came up during the wait (a failing device),
    // takes the operator's input; what was there before the wait does not.
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal != modalAtStart_ && window == modal;
}

bool WaitIndicator::eventFilter(QObject* watched, QEvent* event)
{
    if ((!waiting_ && !draining_) || !isOperatorInput(event->type()) || takesInput(watched))
        return false;
    if (event->type() == QEvent::ShortcutOverride)
        event->accept();  // no shortcut fires either
    return true;
}

}  // namespace varmo
