#include "console/log/ExchangeLogRows.h"

#include <QStringList>
#include <utility>

#include "console/base/StatusFlags.h"
#include "console/base/Text.h"
#include "protocol/AnswerCode.h"
#include "protocol/CodePage.h"
#include "protocol/Escaped.h"
#include "protocol/Frame.h"

namespace varmo {

namespace {

// A frame that has not ended by this length never will; its bytes are shown
// as they are and the next ESC P starts afresh.
constexpr std::size_t kLongestFrame = 4096;

bool isControl(char byte)
{
    return byte == kENQ || byte == kDLE || byte == kCAN;
}

// Local wall-clock time of a steady-clock instant that has just passed.
QDateTime wallClockOf(std::chrono::steady_clock::time_point time)
{
    const auto ago = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - time);
    return QDateTime::currentDateTime().addMSecs(-ago.count());
}

QString statusInWords(char query, unsigned char status)
{
    QStringList words;
    for (const StatusFlag& flag : StatusFlags())
        if (flag.fromEnq == (query == kENQ))
            words << ((status & flag.mask) != 0 ? flag.setText : flag.clearText);
    return QStringLiteral("status %1: %2")
        .arg(query == kENQ ? QStringLiteral("ENQ") : QStringLiteral("DLE"),
             words.join(QStringLiteral(", ")));
}

QString controlDescription(char byte)
{
    switch (byte) {
    case kENQ:
        return QStringLiteral("Zapytanie o status drukarki");
    case kDLE:
        return QStringLiteral("Zapytanie o status mechaniczny drukarki");
    default:
        return QStringLiteral("Przerwanie realizacji rozkazu");
    }
}

LogRow row(const QDateTime& when, bool sent, LogKind kind, std::string bytes)
{
    LogRow made;
    made.when = when;
    made.sent = sent;
    made.kind = kind;
    made.what = LogKindName(kind);
    // A frame's letters as the operator typed them, whatever the line's code
    // page; the bytes themselves stay as they were on the line.
    made.text = FromUtf8(EscapedText(kind == LogKind::Frame ? LineToWindows(bytes) : bytes));
    made.bytes = std::move(bytes);
    return made;
}

qint64 msBetween(std::chrono::steady_clock::time_point from,
                 std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count();
}

}  // namespace

QString LogKindName(LogKind kind)
{
    switch (kind) {
    case LogKind::Frame:
        return QStringLiteral("ramka");
    case LogKind::Enq:
        return QStringLiteral("ENQ");
    case LogKind::Dle:
        return QStringLiteral("DLE");
    case LogKind::Can:
        return QStringLiteral("CAN");
    case LogKind::Status:
        return QStringLiteral("status");
    case LogKind::Outside:
        break;
    }
    return QStringLiteral("poza ramką");
}

std::vector<LogRow> LogRowMaker::Rows(const PortTraffic& traffic)
{
    std::vector<LogRow> rows;
    const QDateTime when = wallClockOf(traffic.time);
    if (traffic.direction == PortDirection::ToPrinter)
        sentRows(traffic, when, rows);
    else
        receivedRows(traffic, when, rows);
    return rows;
}

void LogRowMaker::sentRows(const PortTraffic& traffic, const QDateTime& when,
                           std::vector<LogRow>& rows)
{
    // What the console writes is whole: a frame, a control byte, or whatever
    // sequence the operator typed, which is cut the same way.
    const std::string& bytes = traffic.bytes;
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.compare(at, kFrameStart.size(), kFrameStart) == 0) {
            const std::size_t stop = bytes.find(kFrameStop, at + kFrameStart.size());
            if (stop == std::string::npos) {
                // A frame the operator left open goes out as it is.
                rows.push_back(row(when, true, LogKind::Outside, bytes.substr(at)));
                break;
            }
            const std::size_t end = stop + kFrameStop.size();
            LogRow frame = row(when, true, LogKind::Frame, bytes.substr(at, end - at));
            frame.description = DescribeSent ? DescribeSent(frame.bytes) : QString();
            questionTime_ = traffic.time;
            questionSent_ = true;
            questionDescription_ = frame.description;
            awaitingStatus_ = 0;
            if (asked_.size() == kAskedKept)
                asked_.erase(asked_.begin());
            asked_.push_back({frame.bytes, frame.description, traffic.time});
            rows.push_back(std::move(frame));
            at = end;
        } else if (isControl(bytes[at])) {
            const char control = bytes[at];
            const LogKind kind = control == kENQ   ? LogKind::Enq
                                 : control == kDLE ? LogKind::Dle
                                                   : LogKind::Can;
            LogRow made = row(when, true, kind, std::string(1, control));
            made.description = controlDescription(control);
            awaitingStatus_ = control == kCAN ? 0 : control;
            if (awaitingStatus_ != 0) {
                questionTime_ = traffic.time;
                questionSent_ = true;
                questionDescription_ = made.description;
            }
            rows.push_back(std::move(made));
            ++at;
        } else {
            std::size_t end = at + 1;
            while (end < bytes.size() && !isControl(bytes[end]) &&
                   bytes.compare(end, kFrameStart.size(), kFrameStart) != 0)
                ++end;
            rows.push_back(row(when, true, LogKind::Outside, bytes.substr(at, end - at)));
            at = end;
        }
    }
}

void LogRowMaker::receivedRows(const PortTraffic& traffic, const QDateTime& when,
                               std::vector<LogRow>& rows)
{
    pending_ += traffic.bytes;
    for (;;) {
        if (!inFrame_) {
            const std::size_t start = pending_.find(kFrameStart);
            if (start == std::string::npos) {
                // A lone ESC at the end may be the start of the next frame.
                const std::size_t keep = !pending_.empty() && pending_.back() == kESC ? 1 : 0;
                std::string outside = pending_.substr(0, pending_.size() - keep);
                pending_.erase(0, outside.size());
                if (!outside.empty())
                    outsideRow(std::move(outside), traffic, when, rows);
                return;
            }
            if (start > 0)
                outsideRow(pending_.substr(0, start), traffic, when, rows);
            pending_.erase(0, start);
            inFrame_ = true;
        }
        const std::size_t stop = pending_.find(kFrameStop, kFrameStart.size());
        if (stop == std::string::npos) {
            if (pending_.size() >= kLongestFrame) {
                inFrame_ = false;
                outsideRow(std::exchange(pending_, std::string()), traffic, when, rows);
            }
            return;
        }
        const std::size_t end = stop + kFrameStop.size();
        LogRow frame = row(when, false, LogKind::Frame, pending_.substr(0, end));
        pending_.erase(0, end);
        inFrame_ = false;
        if (traffic.road == PortRoad::Delivered && DescribeDelivered)
            frame.description = DescribeDelivered();
        if (frame.description.isEmpty())
            frame.description = questionDescription_;
        if (questionSent_)
            frame.answerMs = msBetween(questionTime_, traffic.time);
        noteRoad(frame, traffic.road);
        fileUnderItsQuestion(frame, traffic);
        rows.push_back(std::move(frame));
    }
}

void LogRowMaker::noteRoad(LogRow& made, PortRoad road) const
{
    // An answer after its wait is filed under its own question, marked late;
    // what was read off before a question answered nobody.
    if (road == PortRoad::Late)
        made.description = QStringLiteral("spóźniona: ") + questionDescription_;
    else if (road == PortRoad::ReadOff)
        made.description = QStringLiteral("odrzucone przed pytaniem");
}

void LogRowMaker::fileUnderItsQuestion(LogRow& frame, const PortTraffic& traffic) const
{
    // What the frame is says whose answer it is, whichever question is on
    // the line now: one asked before the newest came late.
    for (auto it = asked_.rbegin(); it != asked_.rend(); ++it) {
        if (!Answers(it->frame, frame.bytes))
            continue;
        if (it == asked_.rbegin() && traffic.road != PortRoad::Late)
            return;
        frame.description = QStringLiteral("spóźniona: ") + it->description;
        frame.answerMs = msBetween(it->time, traffic.time);
        return;
    }
}

void LogRowMaker::outsideRow(std::string bytes, const PortTraffic& traffic, const QDateTime& when,
                             std::vector<LogRow>& rows)
{
    if (bytes.size() == 1 && awaitingStatus_ != 0) {
        LogRow status = row(when, false, LogKind::Status, bytes);
        status.what = statusInWords(awaitingStatus_, static_cast<unsigned char>(bytes[0]));
        status.description = questionDescription_;
        status.answerMs = msBetween(questionTime_, traffic.time);
        awaitingStatus_ = 0;
        noteRoad(status, traffic.road);
        rows.push_back(std::move(status));
        return;
    }
    LogRow outside = row(when, false, LogKind::Outside, std::move(bytes));
    noteRoad(outside, traffic.road);
    rows.push_back(std::move(outside));
}

}  // namespace varmo
