// The status panel of the main window: CAN, and the ENQ and DLE queries whose
// status bytes become seven labels in words and colours.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "console/base/HandlerGuard.h"
#include "console/base/Prompts.h"
#include "console/base/StatusFlags.h"
#include "console/mainwindow/TFMain.h"
#include "protocol/Frame.h"

namespace varmo {

namespace {

// A status label before its first update: bold, greyed, its first caption.
QLabel* flagLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(FindStatusFlag(QLatin1String(name))->initialCaption, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setEnabled(false);
    return label;
}

QLabel* twoLines(const char* first, const char* second, QWidget* parent)
{
    return new QLabel(QString::fromUtf8(first) + QLatin1Char('\n') + QString::fromUtf8(second),
                      parent);
}

}  // namespace

void TFMain::buildStatusPanel()
{
    GroupBox3 = new QGroupBox(QStringLiteral("Status drukarki"), this);
    auto* grid = new QGridLayout(GroupBox3);

    Button5 = new QPushButton(QStringLiteral("CAN"), GroupBox3);
    Button3 = new QPushButton(QStringLiteral("ENQ"), GroupBox3);
    Button4 = new QPushButton(QStringLiteral("DLE"), GroupBox3);
    grid->addWidget(Button5, 0, 0);
    grid->addWidget(twoLines("Przerwanie realizacji", "rozkazu", GroupBox3), 0, 1);
    grid->addWidget(Button3, 0, 2);
    grid->addWidget(twoLines("Zapytanie o status", "drukarki", GroupBox3), 0, 3);
    grid->addWidget(Button4, 0, 4);
    grid->addWidget(twoLines("Zapytanie o status", "mechaniczny drukarki", GroupBox3), 0, 5);

    LbFSK = flagLabel("FSK", GroupBox3);
    LbCMD = flagLabel("CMD", GroupBox3);
    LbPAR = flagLabel("PAR", GroupBox3);
    LbTRF = flagLabel("TRF", GroupBox3);
    LbONL = flagLabel("ONL", GroupBox3);
    LbPE = flagLabel("PE", GroupBox3);
    LbERR = flagLabel("ERR", GroupBox3);
    int row = 1;
    for (QLabel* label : {LbFSK, LbCMD, LbPAR, LbTRF})
        grid->addWidget(label, row++, 2, 1, 2);
    row = 1;
    for (QLabel* label : {LbONL, LbPE, LbERR})
        grid->addWidget(label, row++, 4, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);

    connect(Button3, &QPushButton::clicked, this, &TFMain::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFMain::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TFMain::Button5Click);
}

QLabel* TFMain::statusLabel(const QString& name) const
{
    const std::pair<const char*, QLabel*> labels[] = {
        {"FSK", LbFSK}, {"CMD", LbCMD}, {"PAR", LbPAR}, {"TRF", LbTRF},
        {"ONL", LbONL}, {"PE", LbPE},   {"ERR", LbERR},
    };
    for (const auto& [flag, label] : labels)
        if (name == QLatin1String(flag))
            return label;
    return nullptr;
}

void TFMain::ShowStatusFlag(const QString& name, bool bit)
{
    const StatusFlag* flag = FindStatusFlag(name);
    QLabel* label = statusLabel(name);
    if (flag == nullptr || label == nullptr)
        return;
    label->setEnabled(true);
    label->setText(bit ? flag->setText : flag->clearText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, bit ? flag->setColour : flag->clearColour);
    label->setPalette(palette);
}

std::optional<unsigned char> TFMain::QueryPrinterStatus(bool reportNoAnswer)
{
    // One exchange at a time: a query asked for inside another wait is not run.
    if (Exchange.Busy() || !EnsurePortOpen())
        return std::nullopt;
    const std::optional<unsigned char> status = Exchange.QueryStatus(kENQ);
    if (!status) {
        if (reportNoAnswer)
            CurrentPrompts().message(QStringLiteral("Brak odpowiedzi"),
                                     QStringLiteral("Odczyt statusu drukarki"));
        return std::nullopt;
    }
    ShowStatus(*status, true);
    return status;
}

void TFMain::ShowStatus(unsigned char status, bool fromEnq)
{
    if (fromEnq)
        Fiscal = (status & 0x08) != 0;
    for (const StatusFlag& flag : StatusFlags())
        if (flag.fromEnq == fromEnq)
            ShowStatusFlag(QLatin1String(flag.name), (status & flag.mask) != 0);
}

void TFMain::Button3Click()
{
    Guarded([&] { QueryPrinterStatus(true); });
}

void TFMain::Button4Click()
{
    Guarded([&] {
        if (Exchange.Busy() || !EnsurePortOpen())
            return;
        const std::optional<unsigned char> status = Exchange.QueryStatus(kDLE);
        if (!status) {
            CurrentPrompts().message(QStringLiteral("Brak odpowiedzi"), QStringLiteral("COM"));
            return;
        }
        ShowStatus(*status, false);
    });
}

void TFMain::Button5Click()
{
    Guarded([&] {
        if (!Exchange.Busy() && EnsurePortOpen())
            Exchange.Cancel();
    });
}

}  // namespace varmo
