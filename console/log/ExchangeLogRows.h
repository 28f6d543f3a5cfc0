#pragma once
// What the exchange log shows of the bytes that crossed the port: one row per
// frame, control byte, status byte or run of bytes outside a frame, with the
// time, the direction, the escaped text and, for an answer, the command it
// answers and how long after its frame it came.
#include <QDateTime>
#include <QString>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "link/PortTraffic.h"

namespace varmo {

enum class LogKind { Frame, Enq, Dle, Can, Status, Outside };

struct LogRow {
    QDateTime when;  // local time, to the millisecond
    bool sent = false;
    LogKind kind = LogKind::Outside;
    QString what;         // the kind in words; a status byte's flags in words
    QString text;         // the escaped bytes
    QString description;  // for an answer: the command that took it
    qint64 answerMs = -1; // for an answer: time since its question went out
    std::string bytes;
};

// The kind in the operator's words, as the kind filter lists it.
QString LogKindName(LogKind kind);

// Cuts the traffic of both directions into rows. Frames split over several
// chunks (or between a direct read and a delivery) become one row when their
// end arrives; a single byte that comes back after ENQ or DLE is that query's
// status byte.
class LogRowMaker {
public:
    // The description of the command whose frame goes out now, and of the
    // command an answer delivered to the main window belongs to.
    std::function<QString(const std::string& frame)> DescribeSent;
    std::function<QString()> DescribeDelivered;

    std::vector<LogRow> Rows(const PortTraffic& traffic);

private:
    void sentRows(const PortTraffic& traffic, const QDateTime& when, std::vector<LogRow>& rows);
    void receivedRows(const PortTraffic& traffic, const QDateTime& when,
                      std::vector<LogRow>& rows);
    void noteRoad(LogRow& made, PortRoad road) const;
    void outsideRow(std::string bytes, const PortTraffic& traffic, const QDateTime& when,
                    std::vector<LogRow>& rows);

    // The frames asked lately, newest last: an answer whose code names one
    // of them is filed under it, late when another has been asked since.
    struct Asked {
        std::string frame;
        QString description;
        std::chrono::steady_clock::time_point time;
    };
    static constexpr std::size_t kAskedKept = 16;
    std::vector<Asked> asked_;
    void fileUnderItsQuestion(LogRow& frame, const PortTraffic& traffic) const;

    std::string pending_;  // received bytes of a frame not ended yet
    bool inFrame_ = false;
    char awaitingStatus_ = 0;  // ENQ or DLE sent, its status byte not yet seen
    std::chrono::steady_clock::time_point questionTime_{};
    bool questionSent_ = false;
    QString questionDescription_;
};

}  // namespace varmo
