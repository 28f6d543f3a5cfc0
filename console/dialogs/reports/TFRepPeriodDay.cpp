#include "console/dialogs/reports/TFRepPeriodDay.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/ReportCommands.h"
#include "console/widgets/DateMask.h"
#include "console/widgets/WrittenDate.h"
#include "console/widgets/DialogButtons.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Prompts.h"
#include "console/widgets/RadioGroup.h"
#include "console/dialogs/MainServices.h"
#include "protocol/Exception.h"

namespace varmo {

namespace {

constexpr std::int32_t kReportTypes[] = {0, 1, 6, 7, 96, 97};

}  // namespace

TFRepPeriodDay::TFRepPeriodDay(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Raport okresowy wg dat"));
    BuildNowOr(when);
}

void TFRepPeriodDay::BuildControls()
{
    MEStart = Named(new QLineEdit(this), "MEStart");
    MEStop = Named(new QLineEdit(this), "MEStop");
    SetDateMask(MEStart);
    SetDateMask(MEStop);
    RG = Named(new RadioGroup(QStringLiteral("Typ raportu"),
                              {QStringLiteral("Raport fiskalny okresowy (0)"),
                               QStringLiteral("Skrócony raport okresowy (1)"),
                               QStringLiteral("Raport fiskalny miesięczny (6)"),
                               QStringLiteral("Skrócony raport miesięczny (7)"),
                               QStringLiteral("Raport fiskalny rozliczeniowy (96)"),
                               QStringLiteral("Skrócony raport rozliczeniowy (97)")},
                              this),
               "RG");
    RG->SetItemIndex(0);
    BBOk = Named(new QPushButton(QStringLiteral("OK"), this), "BBOk");
    BBOk->setDefault(true);
    BBCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "BBCancel");

    auto* dates = new QFormLayout;
    dates->addRow(QStringLiteral("Data początkowa:"), MEStart);
    dates->addRow(QStringLiteral("Data końcowa:"), MEStop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(RG);
    layout->addLayout(DialogButtonRow({BBOk, BBCancel}));

    connect(BBOk, &QPushButton::clicked, this, &TFRepPeriodDay::BBOkClick);
    connect(BBCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::int32_t TFRepPeriodDay::ReportType(int itemIndex)
{
    if (itemIndex < 0 || itemIndex >= static_cast<int>(std::size(kReportTypes)))
        return 0;
    return kReportTypes[itemIndex];
}

void TFRepPeriodDay::BBOkClick()
{
    Guarded([&] {
        const std::int32_t type = ReportType(RG->ItemIndex());
        std::int32_t startYear = 0, startMonth = 0, startDay = 0;
        std::int32_t stopYear = 0, stopMonth = 0, stopDay = 0;
        try {
            startMonth = DatePiece(MEStart, 6);
            startDay = DatePiece(MEStart, 9);
            stopYear = DatePiece(MEStop, 3);
            stopMonth = DatePiece(MEStop, 6);
            stopDay = DatePiece(MEStop, 9);
            startYear = DatePiece(MEStart, 3);
            // A day that no calendar has is refused as a piece that is no number.
            if (!IsRealDate(startYear, startMonth, startDay) ||
                !IsRealDate(stopYear, stopMonth, stopDay))
                throw EConvertError("no such day");
        } catch (const EConvertError&) {
            CurrentPrompts().message(QStringLiteral("Błąd edycji"),
                                     QStringLiteral("Niepoprawna data"));
            return;
        }
        // The dates are not compared: the printer judges the range.
        main_.SubmitCommand(std::make_unique<TCmdRepPeriodDay>(
            startYear, startMonth, startDay, stopYear, stopMonth, stopDay, type));
        accept();
    });
}

}  // namespace varmo
