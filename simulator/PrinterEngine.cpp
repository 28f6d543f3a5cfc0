#include "simulator/PrinterEngine.h"

#include "protocol/Escaped.h"
#include "protocol/Frame.h"
#include "protocol/Mazovia.h"
#include "simulator/Execution.h"
#include "simulator/PrinterErrors.h"

namespace varmo {

namespace {

bool hexDigit(char c, int& value)
{
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else
        return false;
    return true;
}

// The check value at the end of a frame's content matches the body before it.
bool checksumMatches(const std::string& content)
{
    if (content.size() < 2)
        return false;
    int high = 0, low = 0;
    if (!hexDigit(content[content.size() - 2], high) || !hexDigit(content.back(), low))
        return false;
    unsigned char sum = 0xFF;
    for (std::size_t i = 0; i + 2 < content.size(); ++i)
        sum ^= static_cast<unsigned char>(content[i]);
    return sum == high * 16 + low;
}

}  // namespace

PrinterEngine::PrinterEngine(PrinterState state, HostClock host)
    : state_(std::move(state)), clock_(std::move(host))
{
}

std::vector<std::string> PrinterEngine::TakeLog()
{
    std::vector<std::string> taken;
    taken.swap(log_);
    return taken;
}

unsigned char PrinterEngine::LogicalStatus() const
{
    unsigned char status = 0x60;
    if (state_.fiscal)
        status |= 0x08;
    if (state_.lastError == 0)
        status |= 0x04;
    if (state_.transaction.open)
        status |= 0x02;
    if (state_.lastTransactionCorrect)
        status |= 0x01;
    return status;
}

unsigned char PrinterEngine::MechanicalStatus() const
{
    unsigned char status = 0x70;
    if (state_.online)
        status |= 0x04;
    if (state_.paperOut)
        status |= 0x02;
    if (state_.mechanismError)
        status |= 0x01;
    return status;
}

std::vector<Reply> PrinterEngine::Feed(const std::string& bytes)
{
    std::vector<Reply> replies;
    std::vector<LineEvent> events;
    for (char byte : bytes) {
        events.clear();
        receiver_.Push(byte, events);
        for (LineEvent& event : events) {
            switch (event.kind) {
            case LineEvent::Kind::Enq:
                replies.push_back({Reply::Kind::Status, std::string(1, char(LogicalStatus())), false});
                break;
            case LineEvent::Kind::Dle:
                replies.push_back(
                    {Reply::Kind::Status, std::string(1, char(MechanicalStatus())), false});
                break;
            case LineEvent::Kind::Can:
                // Breaks off what was being received and lets a stopped
                // printer take commands again.
                state_.stopped = false;
                log_.push_back("CAN");
                break;
            case LineEvent::Kind::Frame:
                handleFrame(event.content, replies);
                break;
            }
        }
    }
    return replies;
}

void PrinterEngine::handleFrame(const std::string& content, std::vector<Reply>& replies)
{
    const std::string shown = EscapedText(kFrameStart + content + kFrameStop);
    if (!state_.online) {
        log_.push_back(shown + "  (off-line: ignored)");
        return;
    }
    if (!checksumMatches(content)) {
        if (state_.stopped) {
            log_.push_back(shown + "  (stopped after an error: ignored)");
            return;
        }
        log_.push_back(shown + "  -> error " + std::to_string(printer_error::kChecksum));
        recordError(printer_error::kChecksum, replies);
        return;
    }
    std::string body = content.substr(0, content.size() - 2);
    if (state_.codePage == PrinterCodePage::Mazovia)
        MazoviaToWindows(body);
    const std::size_t logIndex = log_.size();
    log_.push_back(shown);
    execute(body, replies);
    if (state_.lastError != 0 && logIndex < log_.size() && log_[logIndex] == shown)
        log_[logIndex] += "  -> error " + std::to_string(state_.lastError);
}

void PrinterEngine::execute(const std::string& body, std::vector<Reply>& replies)
{
    const auto request = SplitBody(body);
    if (state_.stopped) {
        // Stopped after an error: only the error query is taken, and it
        // releases the printer.
        if (!request || request->code != "#n") {
            log_.back() += "  (stopped after an error: ignored)";
            return;
        }
        state_.stopped = false;
    }
    if (!request) {
        recordError(printer_error::kParameter, replies);
        return;
    }
    const auto entry = FindCommand(request->code);
    if (!entry) {
        recordError(printer_error::kParameter, replies);
        return;
    }
    if (entry->prints && (state_.paperOut || state_.mechanismError)) {
        recordError(printer_error::kNotNow, replies);
        return;
    }

    PrinterContext context{state_, clock_, paper_};
    const std::size_t printedBefore = paper_.Pending().size();
    const Outcome outcome = entry->handler(context, *request);
    if (state_.paperOut)
        paper_.Truncate(printedBefore);  // nothing reaches paper that is not there
    if (outcome.error != 0) {
        recordError(outcome.error, replies);
        return;
    }
    state_.lastError = 0;
    if (outcome.answer) {
        std::string answer = toWire(*outcome.answer);
        if (outcome.answerHasChecksum)
            replies.push_back({Reply::Kind::Frame, FrameOf(answer), true});
        else
            replies.push_back({Reply::Kind::Frame, kFrameStart + answer + kFrameStop, false});
    }
}

void PrinterEngine::recordError(std::int32_t error, std::vector<Reply>& replies)
{
    state_.lastError = error;
    const std::int32_t mode = state_.errorMode;
    if (mode == 0 || mode == 2)
        state_.stopped = true;
    if (mode == 2 || mode == 3)
        replies.push_back({Reply::Kind::Frame,
                           kFrameStart + "1#E" + std::to_string(error) + kFrameStop, false});
}

std::string PrinterEngine::toWire(std::string text) const
{
    if (state_.codePage == PrinterCodePage::Mazovia)
        WindowsToMazovia(text);
    return text;
}

}  // namespace varmo
