#include "console/dialogs/settings/TFSetDiscMode.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "commands/SettingCommands.h"
#include "console/widgets/DialogPlacement.h"
#include "console/dialogs/MainServices.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/widgets/DialogButtons.h"

namespace varmo {

TFSetDiscMode::TFSetDiscMode(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Metoda obliczania rabatu"));
    setObjectName(QStringLiteral("FSetDiscMode"));
    BuildNowOr(when);
}

void TFSetDiscMode::BuildControls()
{
    RB1 = new QRadioButton(QStringLiteral("Metoda 1"), this);
    RB1->setChecked(true);
    RB2 = new QRadioButton(QStringLiteral("Metoda 2"), this);
    // The formulas as the printer's manual writes them, with en dashes.
    auto* method1First = new QLabel(
        QStringLiteral("KWOTA_PO_RAB = (1 – WARTOŚĆ_PROCENTOWA_RABATU / 100) * KWOTA_PRZED_RAB"),
        this);
    auto* method1Second = new QLabel(QStringLiteral("KWOTA_RABATU = KWOTA_PO_RAB – KWOTA_PRZED_RAB"), this);
    auto* method2First = new QLabel(
        QStringLiteral("KWOTA_RABATU = ( KWOTA_PRZED_RAB * WARTOŚĆ_PROCENTOWA_RABATU ) / 100"),
        this);
    auto* method2Second = new QLabel(QStringLiteral("KWOTA_PO_RAB = KWOTA_PRZED_RAB – KWOTA_RABATU"), this);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);

    auto* methods = new QGridLayout;
    methods->setColumnMinimumWidth(0, 20);
    methods->addWidget(RB1, 0, 0, 1, 2);
    methods->addWidget(method1First, 1, 1);
    methods->addWidget(method1Second, 2, 1);
    methods->setRowMinimumHeight(3, 12);
    methods->addWidget(RB2, 4, 0, 1, 2);
    methods->addWidget(method2First, 5, 1);
    methods->addWidget(method2Second, 6, 1);
    auto* buttons = DialogButtonRow({BitBtn1, BitBtn2});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(methods);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        BitBtn1Click();
        accept();
    });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    KeepCaptionVisible(*this);
    NameControls({{RB1, "RB1"}, {RB2, "RB2"}, {BitBtn1, "BitBtn1"}, {BitBtn2, "BitBtn2"}});
}

void TFSetDiscMode::BitBtn1Click()
{
    Guarded([&] {
        main_.SubmitCommand(std::make_unique<TCmdSetDiscountMode>(RB1->isChecked() ? 1 : 0));
    });
}

}  // namespace varmo
