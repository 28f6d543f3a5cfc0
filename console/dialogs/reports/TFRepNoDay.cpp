#include "console/dialogs/reports/TFRepNoDay.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/ReportCommands.h"
#include "console/widgets/DialogButtons.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Prompts.h"
#include "console/widgets/RadioGroup.h"
#include "console/dialogs/MainServices.h"
#include "console/widgets/TypedNumber.h"
#include "protocol/Exception.h"

namespace varmo {

TFRepNoDay::TFRepNoDay(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Raport okresowy wg numerów"));
    BuildNowOr(when);
}

void TFRepNoDay::BuildControls()
{
    setMinimumWidth(420);  // room for the whole caption
    EdStart = Named(new QLineEdit(this), "EdStart");
    EdStop = Named(new QLineEdit(this), "EdStop");
    RG = Named(new RadioGroup(QStringLiteral("Rodzaj raportu"),
                              {QStringLiteral("Raport fiskalny okresowy"),
                               QStringLiteral("Niefiskalne podsumowanie sprzedaży")},
                              this),
               "RG");
    RG->SetItemIndex(0);
    BBOk = Named(new QPushButton(QStringLiteral("OK"), this), "BBOk");
    BBOk->setDefault(true);
    BBCancel = Named(new QPushButton(QStringLiteral("Anuluj"), this), "BBCancel");

    auto* numbers = new QFormLayout;
    numbers->addRow(QStringLiteral("Raport początkowy"), EdStart);
    numbers->addRow(QStringLiteral("Raport końcowy"), EdStop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(numbers);
    layout->addWidget(RG);
    layout->addLayout(DialogButtonRow({BBOk, BBCancel}));

    connect(BBOk, &QPushButton::clicked, this, &TFRepNoDay::BBOkClick);
    connect(BBCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFRepNoDay::BBOkClick()
{
    Guarded([&] {
        std::int32_t start = 0, stop = 0;
        bool fiscal = false;
        try {
            stop = TypedInteger(EdStop->text());
            fiscal = RG->ItemIndex() == 0;
            start = TypedInteger(EdStart->text());
        } catch (const EConvertError&) {
            CurrentPrompts().message(QStringLiteral("Błąd edycji"),
                                     QStringLiteral("Nieproprawny numer raportu"));
            return;
        }
        main_.SubmitCommand(std::make_unique<TCmdRepPeriodNo>(start, stop, fiscal));
        accept();
    });
}

}  // namespace varmo
