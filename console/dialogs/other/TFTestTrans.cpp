#include "console/dialogs/other/TFTestTrans.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "commands/TransactionCommands.h"
#include "console/widgets/DialogButtons.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/dialogs/PrinterRefusal.h"
#include "console/base/Prompts.h"
#include "console/dialogs/MainServices.h"
#include "exchange/PrinterExchange.h"

namespace varmo {

namespace {

constexpr Amount kOneGrosz = 100;   // 0.01
constexpr Amount kOnePiece = 10000;  // 1

}  // namespace

TFTestTrans::TFTestTrans(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Paragon testowy"));
    BuildNowOr(when);
}

void TFTestTrans::BuildControls()
{
    setMinimumWidth(360);  // room for the whole caption
    Label1 = Named(new QLabel(QStringLiteral("Wydrukować paragon testowy?"), this), "Label1");
    BBOK = Named(new QPushButton(QStringLiteral("OK"), this), "BBOK");
    BBOK->setDefault(true);
    BitBtn2 = Named(new QPushButton(QStringLiteral("Anuluj"), this), "BitBtn2");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(DialogButtonRow({BBOK, BitBtn2}));

    connect(BBOK, &QPushButton::clicked, this, [this] {
        BBOKClick();
        accept();
    });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFTestTrans::BBOKClick()
{
    Guarded([&] {
        if (!main_.EnsurePortOpen())
            return;
        // Owned here and gone when the handler ends, however it ends.
        const std::unique_ptr<TCommand> frames[] = {
            std::make_unique<TCmdTransStart>(1),
            std::make_unique<TCmdTransLine>(1, "Towar testowy", kOnePiece, 'A', kOneGrosz,
                                            kOneGrosz),
            std::make_unique<TCmdTransConfirm>("01", "1", kOneGrosz),
        };
        for (std::size_t i = 0; i < std::size(frames); ++i) {
            if (i > 0) {
                // Held like any wait on the line: painting, input off. A port
                // that failed meanwhile has been reported once already, and
                // nothing more goes out.
                if (!main_.Printer().PauseBetweenFrames(kFramePauseMs))
                    return;
            }
            main_.Printer().SendWholeFrame(frames[i]->GetFrame(), frames[i].get());
        }
        const QString caption = QStringLiteral("Paragon testowy");
        if (!TellIfRefused(main_, caption))
            CurrentPrompts().message(QStringLiteral("Paragon testowy został wysłany"), caption);
    });
}

}  // namespace varmo
