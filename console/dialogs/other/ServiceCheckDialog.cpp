#include "console/dialogs/other/ServiceCheckDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "console/base/HandlerGuard.h"
#include "console/base/ProgramVersion.h"
#include "console/base/Prompts.h"
#include "console/base/Text.h"
#include "console/dialogs/ConsoleBook.h"
#include "console/dialogs/MainServices.h"
#include "exchange/PrinterExchange.h"
#include "console/widgets/ObjectNames.h"
#include "link/DeviceMapping.h"
#include "protocol/CodePage.h"
#include "report/CheckReport.h"

namespace varmo {

namespace {

const QColor kAttention(255, 0, 0);

QString joined(const Lines& lines)
{
    QStringList rows;
    for (const std::string& line : lines)
        rows << FromUtf8(line);
    return rows.join(QLatin1Char('\n'));
}

QTableWidgetItem* cell(const QString& text, bool attention)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (attention)
        item->setForeground(kAttention);
    return item;
}

}  // namespace

ServiceCheckDialog::ServiceCheckDialog(MainServices& main) : QDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Przegląd drukarki"));
    setObjectName(QStringLiteral("ServiceCheck"));

    Steps = Named(new QTableWidget(0, 3, this), "Steps");
    Steps->setHorizontalHeaderLabels(
        {QStringLiteral("Krok"), QStringLiteral("Wynik"), QStringLiteral("Czas")});
    Steps->verticalHeader()->hide();
    Steps->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    Steps->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    Steps->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    Steps->setWordWrap(true);
    Steps->setMinimumSize(620, 420);

    Repeat = Named(new QPushButton(QStringLiteral("Powtórz"), this), "Repeat");
    Save = Named(new QPushButton(QStringLiteral("Zapisz raport…"), this), "Save");
    Close = Named(new QPushButton(QStringLiteral("Zamknij"), this), "Close");
    connect(Repeat, &QPushButton::clicked, this, [this] { Guarded([&] { RepeatClick(); }); });
    connect(Save, &QPushButton::clicked, this, [this] { Guarded([&] { SaveClick(); }); });
    connect(Close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Repeat);
    buttons->addWidget(Save);
    buttons->addWidget(Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Steps);
    buildVisitPart(layout);
    layout->addLayout(buttons);
}

void ServiceCheckDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Once the window is on screen, so that it paints while the check runs.
    QTimer::singleShot(0, this, [this] { Guarded([&] { RepeatClick(); }); });
}

void ServiceCheckDialog::RepeatClick()
{
    if (running_ || main_.Printer().Busy())
        return;
    running_ = true;
    Repeat->setEnabled(false);
    Save->setEnabled(false);
    Steps->setRowCount(0);
    result_.reset();
    struct Done {
        ServiceCheckDialog& dialog;
        ~Done()
        {
            dialog.running_ = false;
            dialog.Repeat->setEnabled(true);
            dialog.Save->setEnabled(dialog.result_.has_value());
        }
    } done{*this};
    // A port that will not open has been told of; every step then says
    // there was no answer, and the report can still be written.
    main_.EnsurePortOpen();
    result_ = ServiceCheck::Run(main_.Printer(), setting(),
                                [this](const CheckStep& step) { addStep(step); });
    showStatusOnPanel(*result_);
    keepVisit();
}

void ServiceCheckDialog::SaveClick()
{
    if (!result_)
        return;
    const QString path = CurrentPrompts().saveFileNameSuggesting(
        CheckReportNameFor(visitPart().uniqueNumber, result_->started),
        QStringLiteral("Raport PDF (*.pdf);;Plik tekstowy (*.txt)"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    const VisitPart part = visitPart();
    WriteCheckReport(path, *result_, &part);
    main_.Book().RecordFile(path);
}

void ServiceCheckDialog::addStep(const CheckStep& step)
{
    const bool attention = !step.attention.empty();
    const int row = Steps->rowCount();
    Steps->insertRow(row);
    Steps->setItem(row, 0, cell(FromUtf8(step.name), attention));
    Steps->setItem(row, 1, cell(joined(step.result), attention));
    auto* time = cell(QStringLiteral("%1 ms").arg(step.ms), false);
    time->setTextAlignment(Qt::AlignRight | Qt::AlignTop);
    Steps->setItem(row, 2, time);
    Steps->resizeRowToContents(row);
}

CheckSetting ServiceCheckDialog::setting() const
{
    CheckSetting setting;
    setting.port = main_.Printer().PortName().toStdString();
    setting.device = DevicePathForPort(main_.Printer().PortName()).toStdString();
    setting.baud = main_.Printer().Speed();
    setting.codePage = main_.CurrentCodePage().toStdString();
    setting.program = "Varmo";
    setting.version = std::string(kProgramVersion);
    return setting;
}

void ServiceCheckDialog::showStatusOnPanel(const CheckResult& result)
{
    // What the check read is the printer's status now: the panel shows it
    // as its own buttons would have.
    if (result.enq)
        main_.ShowStatus(*result.enq, true);
    if (result.dle)
        main_.ShowStatus(*result.dle, false);
}

}  // namespace varmo
