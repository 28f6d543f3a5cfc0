#include "console/dialogs/reports/TFReadGoodsStatus.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/ReadCommands.h"
#include "console/widgets/DialogButtons.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Prompts.h"
#include "console/dialogs/MainServices.h"
#include "console/base/Text.h"

namespace varmo {

TFReadGoodsStatus::TFReadGoodsStatus(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Odczyt statusu towaru"));
    BuildNowOr(when);
}

void TFReadGoodsStatus::BuildControls()
{
    setMinimumWidth(380);  // room for the whole caption
    Label1 = Named(new QLabel(QStringLiteral("Nazwa towaru:"), this), "Label1");
    EdName = Named(new QLineEdit(this), "EdName");
    Label2 = Named(new QLabel(QStringLiteral("Stawka:"), this), "Label2");
    CBRate = Named(new QComboBox(this), "CBRate");
    CBRate->setEditable(true);
    // What is typed is taken as it is; the offered rates stay A to G.
    CBRate->setInsertPolicy(QComboBox::NoInsert);
    CBRate->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                      QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F"),
                      QStringLiteral("G")});
    CBRate->setCurrentText(QStringLiteral("A"));
    Label1->setBuddy(EdName);
    Label2->setBuddy(CBRate);
    BitBtn1 = Named(new QPushButton(QStringLiteral("OK"), this), "BitBtn1");
    BitBtn1->setDefault(true);
    BitBtn2 = Named(new QPushButton(QStringLiteral("Anuluj"), this), "BitBtn2");

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(EdName, 1, 0);
    fields->addWidget(Label2, 0, 1);
    fields->addWidget(CBRate, 1, 1);
    fields->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(DialogButtonRow({BitBtn1, BitBtn2}));

    connect(BitBtn1, &QPushButton::clicked, this, &TFReadGoodsStatus::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFReadGoodsStatus::BitBtn2Click);
}

void TFReadGoodsStatus::BitBtn1Click()
{
    Guarded([&] {
        // Only the first character counts, whatever else was typed.
        const QString rate = CBRate->currentText();
        if (rate.isEmpty()) {
            CurrentPrompts().message(QStringLiteral("Podaj stawkę (A-G)"),
                                     QStringLiteral("Odczyt statusu towaru"));
            return;
        }
        const std::string letter = ToCp1250(rate.left(1));
        // The name goes as typed, blanks included.
        main_.SubmitCommand(std::make_unique<TCmdReadGoodsStatus>(ToCp1250(EdName->text()),
                                                                  letter.front()));
        accept();
    });
}

void TFReadGoodsStatus::BitBtn2Click()
{
    Guarded([&] { reject(); });
}

}  // namespace varmo
