#include "console/dialogs/settings/TFSetNIP.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/SettingCommands.h"
#include "console/widgets/DialogPlacement.h"
#include "console/dialogs/MainServices.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Text.h"
#include "console/widgets/DialogButtons.h"

namespace varmo {

TFSetNIP::TFSetNIP(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Ustawienie numeru NIP"));
    setObjectName(QStringLiteral("FSetNIP"));
    BuildNowOr(when);
}

void TFSetNIP::BuildControls()
{
    auto* label = new QLabel(QStringLiteral("NIP:"), this);
    Ed = new QLineEdit(this);
    Ed->setMaxLength(13);
    label->setBuddy(Ed);
    CB = new QCheckBox(QStringLiteral("Fiskalizacja - operacja nieodwracalna - tylko serwis!!!"),
                       this);
    auto* check = new QLabel(QStringLiteral("Sprawdź informacje wydrukowane przez drukarkę"), this);
    auto* confirm = new QLabel(QStringLiteral("i potwierdź operację fiskalizacji"), this);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);

    auto* entry = new QHBoxLayout;
    entry->addWidget(label);
    entry->addWidget(Ed, 1);
    auto* buttons = DialogButtonRow({BitBtn1, BitBtn2});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addWidget(CB);
    layout->addSpacing(8);
    layout->addWidget(check);
    layout->addWidget(confirm);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        BitBtn1Click();
        accept();
    });
    connect(BitBtn2, &QPushButton::clicked, this, &TFSetNIP::BitBtn2Click);

    KeepCaptionVisible(*this);
    NameControls({{Ed, "Ed"}, {CB, "CB"}, {BitBtn1, "BitBtn1"}, {BitBtn2, "BitBtn2"}});
}

void TFSetNIP::BitBtn1Click()
{
    Guarded([&] {
        main_.SubmitCommand(
            std::make_unique<TCmdSetNIP>(CB->isChecked(), ToCp1250(Ed->text().trimmed())));
    });
}

void TFSetNIP::BitBtn2Click()
{
    reject();
}

}  // namespace varmo
