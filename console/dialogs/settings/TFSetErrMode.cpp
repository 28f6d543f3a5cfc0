#include "console/dialogs/settings/TFSetErrMode.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/SettingCommands.h"
#include "console/widgets/DialogPlacement.h"
#include "console/dialogs/MainServices.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/widgets/RadioGroup.h"
#include "console/widgets/DialogButtons.h"

namespace varmo {

TFSetErrMode::TFSetErrMode(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Ustawienie trybu obsługi błędów"));
    setObjectName(QStringLiteral("FSetErrMode"));
    BuildNowOr(when);
}

void TFSetErrMode::BuildControls()
{
    RG = new RadioGroup(
        QString(),
        {QStringLiteral("0 (domyślny - błąd powoduje zatrzymanie przetwarzania rozkazów)"),
         QStringLiteral("1 (bład nie powoduje zatrzymania przetwarzania rozkazów)"),
         QStringLiteral("2 (zatrzymanie przetwarzania rozkazów, automatycznie odsyła kod błędu)"),
         QStringLiteral("3 (brak zatrzymania przetwarzania rozkazów, automatycznie odsyła kod "
                        "błędu)")},
        this);
    RG->SetItemIndex(0);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);

    auto* buttons = DialogButtonRow({BitBtn1, BitBtn2});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RG, 1);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        BitBtn1Click();
        accept();
    });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    KeepCaptionVisible(*this);
    NameControls({{RG, "RG"}, {BitBtn1, "BitBtn1"}, {BitBtn2, "BitBtn2"}});
}

void TFSetErrMode::BitBtn1Click()
{
    Guarded([&] {
        main_.SubmitCommand(std::make_unique<TCmdSetErrMode>(RG->ItemIndex()));
    });
}

}  // namespace varmo
