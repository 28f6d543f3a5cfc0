#include "console/dialogs/reports/SendProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/widgets/DialogButtons.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/WaitIndicator.h"

namespace varmo {

SendProgress::SendProgress(QWidget* parent, int total) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Wysyłanie raportu"));
    setWindowModality(Qt::ApplicationModal);
    Label = Named(new QLabel(QStringLiteral("Wysyłanie raportu"), this), "Label");
    Bar = Named(new QProgressBar(this), "Bar");
    Bar->setRange(0, total);
    Bar->setValue(0);
    Bar->setFormat(QStringLiteral("%v z %m"));
    Bar->setMinimumWidth(300);
    CancelButton = Named(new QPushButton(QStringLiteral("Anuluj"), this), "CancelButton");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label);
    layout->addWidget(Bar);
    layout->addLayout(DialogButtonRow({CancelButton}));
    connect(CancelButton, &QPushButton::clicked, this, &SendProgress::reject);
    // The frames and the pauses between them are waits on the line, which
    // hold the operator's input off; "Anuluj" must still reach this box.
    WaitIndicator::TakesInputDuringWaits(this);
}

void SendProgress::SetDone(int done) { Bar->setValue(done); }

void SendProgress::reject()
{
    cancelled_ = true;
    CancelButton->setEnabled(false);
}

}  // namespace varmo
