#include "console/dialogs/settings/TFPass.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Prompts.h"
#include "console/dialogs/MainServices.h"
#include "console/widgets/DialogButtons.h"

namespace varmo {

TFPass::TFPass(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Odblokowanie funkcji serwisowych"));
    setObjectName(QStringLiteral("FPass"));
    BuildNowOr(when);
}

void TFPass::BuildControls()
{
    setFixedSize(356, 123);

    Label1 = new QLabel(QStringLiteral("Hasło:"), this);
    Ed = new QLineEdit(this);
    Ed->setEchoMode(QLineEdit::Password);
    // Every character shows as '*', whatever the style would draw.
    Ed->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    Label1->setBuddy(Ed);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        BitBtn1Click();
        accept();
    });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto* entry = new QHBoxLayout;
    entry->addWidget(Label1);
    entry->addWidget(Ed, 1);
    auto* buttons = DialogButtonRow({BitBtn1, BitBtn2});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addStretch(1);
    layout->addLayout(buttons);

    NameControls({{Label1, "Label1"}, {Ed, "Ed"}, {BitBtn1, "BitBtn1"}, {BitBtn2, "BitBtn2"}});
}

void TFPass::FormShow()
{
    Guarded([&] { Ed->clear(); });
}

void TFPass::BitBtn1Click()
{
    Guarded([&] {
        if (Ed->text() == ServicePassword()) {
            main_.SetServiceMode(true);
            CurrentPrompts().message(QStringLiteral("Funkcje serwisowe zostały odblokowane"),
                                     QStringLiteral("Funkcje serwisowe"));
        } else {
            CurrentPrompts().message(QStringLiteral("Niepoprawne hasło"),
                                     QStringLiteral("Funkcje serwisowe"));
        }
    });
}

void TFPass::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

}  // namespace varmo
