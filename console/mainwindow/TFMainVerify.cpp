// A command that takes no answer (a setting, a report) says nothing by
// itself: the status line tells that it went, and the printer's error
// number read after it is the proof that the printer did it.
#include <QAction>
#include <QMenu>

#include "commands/ReadCommands.h"
#include "console/base/HandlerGuard.h"
#include "console/base/Text.h"
#include "console/mainwindow/PortStatusLine.h"
#include "console/mainwindow/TFMain.h"
#include "console/base/Settings.h"
#include "protocol/ErrorTexts.h"

namespace varmo {

void TFMain::buildSentCheck()
{
    Ustawienia1->addSeparator();
    CheckAfterSend =
        Ustawienia1->addAction(QStringLiteral("Po rozkazie bez odpowiedzi sprawdzaj kod błędu"));
    CheckAfterSend->setObjectName(QStringLiteral("CheckAfterSend"));
    CheckAfterSend->setCheckable(true);
    CheckAfterSend->setChecked(Settings::Read(Settings::CheckAfterSend));
    connect(CheckAfterSend, &QAction::toggled, this, [](bool on) {
        Guarded([&] { Settings::Write(Settings::CheckAfterSend, on); });
    });
    connect(StatusLine, &PortStatusLine::verifyRequested, this, &TFMain::VerifySentClick);
}

void TFMain::tellSent(const Reply& reply, const TCommand& command)
{
    if (dynamic_cast<const TCmdRequest*>(&command) != nullptr || reply.written <= 0 ||
        reply.written != static_cast<std::int32_t>(command.GetFrame().size()))
        return;
    sentDescription_ = describeFirstLine(command);
    StatusLine->Sent(sentDescription_);
    if (CheckAfterSend->isChecked())
        VerifySentClick();
}

void TFMain::VerifySentClick()
{
    Guarded([&] {
        if (Exchange.Busy() || !EnsurePortOpen())
            return;
        TCmdReadErrCode read;
        if (Exchange.DirectRead(read, [] {}, Exchange.AnswerWaitMs()) != ReplyKind::Answered) {
            StatusLine->Verified(sentDescription_, std::nullopt, QString());
            return;
        }
        StatusLine->Verified(sentDescription_, read.ErrorNumber(),
                             FromUtf8(ErrorText(read.ErrorNumber())));
    });
}

}  // namespace varmo
