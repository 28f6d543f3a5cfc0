#include "console/dialogs/settings/TFSetServiceVisit.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <cstdint>

#include "commands/SettingCommands.h"
#include "console/widgets/DateTyping.h"
#include "console/widgets/DialogPlacement.h"
#include "console/dialogs/MainServices.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Text.h"
#include "console/widgets/DialogButtons.h"

namespace varmo {

TFSetInspectionDate::TFSetInspectionDate(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Ustawienie daty przeglądu"));
    setObjectName(QStringLiteral("FSetInspectionDate"));
    BuildNowOr(when);
}

void TFSetInspectionDate::BuildControls()
{
    // A date typed after a click goes in from the year; Tab leaves.
    DE = new DateField(this);
    DE->setCalendarPopup(true);
    DE->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    offerToday();
    // Any date put in but today's offer is the operator's, kept from one
    // showing to the next.
    connect(DE, &QDateEdit::dateChanged, this, [this] {
        if (!offering_)
            dateChosen_ = true;
    });
    Ed = new QLineEdit(QStringLiteral("DO SERWISU"), this);
    BBOK = new QPushButton(QStringLiteral("OK"), this);
    BBOK->setDefault(true);
    BBCancel = new QPushButton(QStringLiteral("Anuluj"), this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Data:"), DE);
    fields->addRow(QStringLiteral("Komunikat/telefon:"), Ed);
    auto* buttons = DialogButtonRow({BBOK, BBCancel});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(BBOK, &QPushButton::clicked, this, [this] {
        BBOKClick();
        accept();
    });
    connect(BBCancel, &QPushButton::clicked, this, &TFSetInspectionDate::BBCancelClick);

    KeepCaptionVisible(*this);
    NameControls({{DE, "DE"}, {Ed, "Ed"}, {BBOK, "BBOK"}, {BBCancel, "BBCancel"}});
}

void TFSetInspectionDate::offerToday()
{
    offering_ = true;
    DE->setDate(Today());
    offering_ = false;
}

void TFSetInspectionDate::showEvent(QShowEvent* event)
{
    // A console left running overnight offers the day it is shown on, not
    // the day it started.
    if (!event->spontaneous() && !dateChosen_)
        offerToday();
    QDialog::showEvent(event);
}

void TFSetInspectionDate::BBOKClick()
{
    Guarded([&] {
        const QDate date = DE->date();
        const auto year = static_cast<std::uint16_t>(date.year());
        const auto month = static_cast<std::uint16_t>(date.month());
        const auto day = static_cast<std::uint16_t>(date.day());
        // The years since 2000 in 16 bits: a date before 2000 wraps round to
        // a number the command refuses with its format error.
        const auto sinceMillennium = static_cast<std::uint16_t>(year - 2000);
        main_.SubmitCommand(std::make_unique<TCmdSetInspectionDate>(
            sinceMillennium, month, day, ToCp1250(Ed->text().trimmed())));
    });
}

void TFSetInspectionDate::BBCancelClick()
{
    reject();
}

}  // namespace varmo
