// The command exchange of the main window: handing a command over, sending
// it, giving every frame to the command it answers (a late answer to its
// own, any other to the current one), and the command and answer files.
#include <QCheckBox>
#include <QEvent>
#include <QPlainTextEdit>
#include <utility>

#include "commands/ReadCommands.h"
#include "commands/UserCommand.h"
#include "console/files/FileIO.h"
#include "console/base/HandlerGuard.h"
#include "console/mainwindow/PortStatusLine.h"
#include "console/base/Prompts.h"
#include "console/mainwindow/TFMain.h"
#include "console/base/Text.h"
#include "console/widgets/Views.h"
#include "link/SerialError.h"
#include "protocol/Escaped.h"
#include "protocol/Frame.h"

namespace varmo {

namespace {

const std::string kCRLF = "\r\n";

}  // namespace

void TFMain::SubmitCommand(std::unique_ptr<TCommand> command)
{
    if (!command)
        return;
    TCommand* current = CommandHistory.Add(std::move(command));
    // The raw frame in both code pages, so the letters read right on screen
    // whatever goes on the wire. A body that cannot be built stops here, with
    // the command already current and the views as they were.
    Lines frame;
    EncodeEscaped(frame, current->GetRawFrame());
    ShowLines(RESend, frame);
    // A description that fails must not leave the previous command's text
    // beside the new frame.
    Memo->clear();
    Lines description;
    current->DescribeCommand(description);
    ShowLines(Memo, description);
    ConfirmOnPrinter = false;
}

bool TFMain::EnsurePortOpen()
{
    const bool wasOpen = Exchange.IsOpen();
    if (Exchange.Open()) {
        // Opened now: the printer is known before the operator's frame goes.
        if (!wasOpen)
            IdentifyPrinter();
        return true;
    }
    // Which port, and what stands in the way, in the words the status line uses.
    const PortState state = Exchange.State();
    CurrentPrompts().message(QStringLiteral("Nie można otworzyć portu %1: %2")
                                 .arg(PortPlaceText(state), FromUtf8(PortFailureText(state.failureCode))),
                             QStringLiteral("Nie można otworzyć portu"));
    return false;
}

void TFMain::ClosePort()
{
    const PortState state = Exchange.State();
    const std::int64_t unsent = Exchange.Close();
    if (unsent > 0)
        CurrentPrompts().message(
            QStringLiteral("Port %1 zamknięto, zanim linia przyjęła wszystko: nie wysłano "
                           "do drukarki %2 B.")
                .arg(PortPlaceText(state))
                .arg(unsent),
            QStringLiteral("Uwaga"));
}

void TFMain::SBSendClick()
{
    Guarded([&] {
        TCommand* current = CurrentCommand();
        if (current == nullptr || Exchange.Busy() || !EnsurePortOpen())
            return;
        const Reply reply = sendCurrent(*current);
        tellSent(reply, *current);
        keepSettingTaken(*current);
        if (ConfirmOnPrinter)
            CurrentPrompts().message(QStringLiteral("Proszę potwierdzić operację na drukarce"),
                                     QStringLiteral("Uwaga"));
    });
}

Reply TFMain::sendCurrent(TCommand& current)
{
    auto* request = dynamic_cast<TCmdRequest*>(&current);
    Question question;
    question.wire = current.GetFrame();
    question.command = &current;
    question.expect = request != nullptr ? Expect::Frame : Expect::Nothing;
    question.waitMs = request != nullptr ? Exchange.AnswerWaitMs() : 0;
    question.checked = request != nullptr && request->AnswerHasChecksum();
    question.awaitsLate = request != nullptr;
    StatusLine->CommandSent(currentDescription());
    const Reply reply = Exchange.Ask(question);
    if (request == nullptr)
        return reply;
    switch (reply.kind) {
    case ReplyKind::NoAnswer:
        StatusLine->NoAnswer();
        return reply;
    case ReplyKind::BadCheck:
        StatusLine->BadCheck();
        break;
    default:
        StatusLine->AnswerArrived();
        break;
    }
    // Shown as every frame that comes.
    showFrame(reply.frame.substr(kFrameStart.size(),
                                 reply.frame.size() - kFrameStart.size() - kFrameStop.size()),
              &current);
    return reply;
}

void TFMain::ComDataPacketPacket(const std::string& text)
{
    showFrame(text, nullptr);
}

void TFMain::FrameCutArrived(const FrameCut& frame)
{
    StatusLine->AnswerArrived();
    // A late answer whose command went with the oldest is nobody's now: the
    // current command reads it, as any other frame.
    showFrame(frame.text, CommandHistory.Find(frame.lateFor));
}

void TFMain::showFrame(const std::string& text, TCommand* owner)
{
    Guarded([&] {
        try {
            takeAnswer(text, owner);
        } catch (...) {
            // The operator reads the error beside the frame that caused it.
            showPendingAnswer();
            throw;
        }
        // Within a chunk only its last frame is ever seen; the port says when
        // the chunk is through (ChunkDelivered).
        if (!Exchange.Delivering() && !isMinimized())
            showPendingAnswer();
    });
}

void TFMain::takeAnswer(const std::string& text, TCommand* owner)
{
    const std::string frame = Framed(text);
    if (CBAnswer->isChecked()) {
        pending_.frame = EscapedText(frame);
        pending_.frameSet = true;
    }
    // The frame view shows the bytes as they came; the current command reads
    // them in the console's code page. An old description must not stand
    // beside a new frame, even when describing the new one fails.
    using Description = PendingAnswer::Description;
    if (owner == nullptr)
        owner = CurrentCommand();
    if (dynamic_cast<TCmdRequest*>(CurrentCommand()) == nullptr)
        return;
    pending_.description = Description::Clear;
    AnswerMatch match = MatchAnswer(owner, frame, CBOpis->isChecked());
    if (!match.accepted || CBOpis->isChecked()) {
        pending_.lines = std::move(match.description);
        pending_.description = Description::Lines;
    }
}

void TFMain::showPendingAnswer()
{
    PendingAnswer answer = std::exchange(pending_, PendingAnswer{});
    if (answer.frameSet)
        ShowText(RERcv, FromUtf8(answer.frame));
    switch (answer.description) {
    case PendingAnswer::Description::Keep:
        break;
    case PendingAnswer::Description::Clear:
        MemoR->clear();
        break;
    case PendingAnswer::Description::Lines:
        ShowLines(MemoR, answer.lines);
        break;
    }
}

void TFMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        showPendingAnswer();
}

void TFMain::SBSaveCmdClick()
{
    Guarded([&] {
        // Nothing to save before the first command; no dialog either.
        TCommand* current = CurrentCommand();
        if (current == nullptr)
            return;
        const std::string bytes = current->GetRawFrame() + kCRLF;
        const QString path = CurrentPrompts().saveFileName(TextFileFilter(), kTextFileExt);
        if (!path.isEmpty())
            WriteWholeFile(path, bytes);
    });
}

void TFMain::SBOpenCmdClick()
{
    Guarded([&] {
        const QString path = CurrentPrompts().openFileName(TextFileFilter(), kTextFileExt);
        if (path.isEmpty())
            return;
        std::string bytes = ReadWholeFile(path);
        // The CR LF that "Zapisz" wrote, or whatever the last two bytes are.
        bytes.resize(bytes.size() < 2 ? 0 : bytes.size() - 2);
        SubmitCommand(TCmdUser::FromSequence(std::move(bytes)));
    });
}

void TFMain::SBSaveAnsClick()
{
    Guarded([&] {
        const QString path = CurrentPrompts().saveFileName(TextFileFilter(), kTextFileExt);
        if (path.isEmpty())
            return;
        showPendingAnswer();
        QString text = RERcv->toPlainText();
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        WriteWholeFile(path, ToCp1250(text) + kCRLF);
    });
}

}  // namespace varmo
