#include "console/dialogs/settings/SearchProgress.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/base/WaitIndicator.h"
#include "console/widgets/DialogButtons.h"
#include "console/widgets/ObjectNames.h"
#include "exchange/SearchSummary.h"

namespace varmo {

SearchProgress::SearchProgress(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SearchProgress"));
    setWindowTitle(QStringLiteral("Szukaj drukarki"));
    setWindowModality(Qt::ApplicationModal);
    Label = Named(new QLabel(QStringLiteral("Szukanie drukarki…"), this), "Label");
    Label->setTextFormat(Qt::PlainText);  // device names come from the system
    Label->setMinimumWidth(360);
    BtnStop = Named(new QPushButton(QStringLiteral("Przerwij"), this), "BtnStop");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label);
    layout->addLayout(DialogButtonRow({BtnStop}));
    connect(BtnStop, &QPushButton::clicked, this, &SearchProgress::reject);
    // Every probe is a wait on the line, which holds input off; "Przerwij"
    // must still reach this box.
    WaitIndicator::TakesInputDuringWaits(this);
}

void SearchProgress::ShowTrying(const QString& port, const QString& device, std::int32_t speed)
{
    Label->setText(
        QStringLiteral("Szukanie drukarki: %1, %2 bd").arg(ShownPort(port, device)).arg(speed));
}

void SearchProgress::reject()
{
    BtnStop->setEnabled(false);
    emit stopRequested();
}

}  // namespace varmo
