#include "console/dialogs/other/TFEditSeq.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "commands/UserCommand.h"
#include "console/widgets/DialogButtons.h"
#include "console/widgets/Fonts.h"
#include "console/base/HandlerGuard.h"
#include "console/widgets/ObjectNames.h"
#include "console/base/Prompts.h"
#include "console/dialogs/MainServices.h"
#include "console/base/Text.h"
#include "protocol/Escaped.h"

namespace varmo {

TFEditSeq::TFEditSeq(MainServices& main, FormBuild when)
    : LateBuiltDialog(main.Window()), main_(main)
{
    setWindowTitle(QStringLiteral("Edycja dowolnej sekwencji"));
    BuildNowOr(when);
}

void TFEditSeq::BuildControls()
{
    Memo = Named(new QPlainTextEdit(this), "Memo");
    Memo->setFont(FrameFont());
    Memo->setMinimumSize(609, 97);
    SpeedButton1 = Named(new QPushButton(QStringLiteral("CR"), this), "SpeedButton1");
    SpeedButton2 = Named(new QPushButton(QStringLiteral("ESC"), this), "SpeedButton2");
    SpeedButton3 = Named(new QPushButton(QStringLiteral("FF"), this), "SpeedButton3");
    // The insert buttons leave the caret in the text.
    for (QPushButton* button : {SpeedButton1, SpeedButton2, SpeedButton3}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    BBOk = Named(new QPushButton(QStringLiteral("OK"), this), "BBOk");
    BBOk->setAutoDefault(false);
    BitBtn2 = Named(new QPushButton(QStringLiteral("Anuluj"), this), "BitBtn2");
    BitBtn2->setAutoDefault(false);

    auto* inserts = new QHBoxLayout;
    for (QPushButton* button : {SpeedButton1, SpeedButton2, SpeedButton3})
        inserts->addWidget(button);
    inserts->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inserts);
    layout->addWidget(Memo, 1);
    layout->addLayout(DialogButtonRow({BBOk, BitBtn2}));

    connect(SpeedButton1, &QPushButton::clicked, this, &TFEditSeq::SBCR);
    connect(SpeedButton2, &QPushButton::clicked, this, &TFEditSeq::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TFEditSeq::SpeedButton3Click);
    connect(BBOk, &QPushButton::clicked, this, &TFEditSeq::BBOkClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFEditSeq::insertEscape(const QString& escape)
{
    // Replaces the selection, or goes in at the caret.
    Memo->insertPlainText(escape);
    Memo->setFocus();
}

void TFEditSeq::SBCR()
{
    Guarded([&] { insertEscape(QStringLiteral("<CR>")); });
}

void TFEditSeq::SpeedButton2Click()
{
    Guarded([&] { insertEscape(QStringLiteral("<ESC>")); });
}

void TFEditSeq::SpeedButton3Click()
{
    Guarded([&] { insertEscape(QStringLiteral("<FF>")); });
}

void TFEditSeq::BBOkClick()
{
    Guarded([&] {
        // The lines join with nothing between them: a CR in the sequence is
        // written as <CR>.
        Lines lines;
        for (const QString& line : Memo->toPlainText().split(QLatin1Char('\n')))
            lines.push_back(line.toStdString());
        std::optional<std::string> body = TryDecodeEscaped(lines);
        if (!body) {
            // Never let the words of this message become a frame's body.
            CurrentPrompts().message(FromUtf8(kMalformedSequence),
                                     QStringLiteral("Edycja dowolnej sekwencji"));
            return;
        }
        main_.SubmitCommand(TCmdUser::FromBody(std::move(*body)));
        accept();
    });
}

}  // namespace varmo
