#include "console/dialogs/reports/TFRepDay.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "commands/ReportCommands.h"
#include "console/widgets/DateMask.h"
#include "console/widgets/WrittenDate.h"
#include "console/widgets/DialogButtons.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Prompts.h"
#include "console/dialogs/MainServices.h"
#include "protocol/Exception.h"

namespace varmo {

TFRepDay::TFRepDay(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Raport dobowy"));
    BuildNowOr(when);
}

void TFRepDay::BuildControls()
{
    setMinimumWidth(360);  // room for the whole caption
    CBSetDate = Named(new QCheckBox(QStringLiteral("Wpisz datę"), this), "CBSetDate");
    ME = Named(new QLineEdit(this), "ME");
    SetDateMask(ME);
    Label1 = Named(new QLabel(QStringLiteral("Sprawdź informacje wyświetlone przez drukarkę i "
                                             "potwierdź"),
                              this),
                   "Label1");
    Label1->setWordWrap(true);
    BBOK = Named(new QPushButton(QStringLiteral("OK"), this), "BBOK");
    BBOK->setDefault(true);
    BBCancel = Named(new QPushButton(QStringLiteral("Anuluj"), this), "BBCancel");

    auto* date = new QHBoxLayout;
    date->addWidget(CBSetDate);
    date->addWidget(ME, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(date);
    layout->addWidget(Label1);
    layout->addLayout(DialogButtonRow({BBOK, BBCancel}));

    connect(CBSetDate, &QCheckBox::clicked, this, &TFRepDay::CBSetDateClick);
    connect(BBOK, &QPushButton::clicked, this, &TFRepDay::BBOKClick);
    connect(BBCancel, &QPushButton::clicked, this, &TFRepDay::BBCancelClick);
    FormShow();
}

void TFRepDay::FormShow()
{
    Guarded([&] { ME->setEnabled(CBSetDate->isChecked()); });
}

void TFRepDay::CBSetDateClick()
{
    Guarded([&] { ME->setEnabled(CBSetDate->isChecked()); });
}

void TFRepDay::BBOKClick()
{
    Guarded([&] {
        if (CBSetDate->isChecked()) {
            std::int32_t year = 0, month = 0, day = 0;
            try {
                month = DatePiece(ME, 6);
                day = DatePiece(ME, 9);
                year = DatePiece(ME, 3);
                // A day that no calendar has is refused as a piece that is no number.
                if (!IsRealDate(year, month, day))
                    throw EConvertError("no such day");
            } catch (const EConvertError&) {
                CurrentPrompts().message(QStringLiteral("Nieproprawna data"),
                                         QStringLiteral("Błąd edycji"));
                return;
            }
            main_.SubmitCommand(std::make_unique<TCmdRepDay>(year, month, day));
        } else {
            main_.SubmitCommand(std::make_unique<TCmdRepDay>());
            // The query refreshes Fiscal when the printer answers; with no
            // answer the last known state stands.
            main_.QueryPrinterStatus(false);
            main_.SetConfirmOnPrinter(main_.PrinterIsFiscal());
        }
        accept();
    });
}

void TFRepDay::BBCancelClick()
{
    Guarded([&] { reject(); });
}

void TFRepDay::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

}  // namespace varmo
