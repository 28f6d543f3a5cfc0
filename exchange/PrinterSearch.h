#pragma once
// Where is the printer, and at which speed was it left? Every port is tried
// at every speed until one answers as a printer does: ENQ answered by one
// byte, then the header read answered by a whole frame whose check value is
// right. A line at the wrong speed gives noise, which may well answer ENQ
// with a byte but never gives such a frame. Every wait is a wait on the line
// (the window keeps painting); Stop breaks the search off at once. Qt Core
// only: the port dialog and varmo-cli share it.
#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "link/SerialDevices.h"

namespace varmo {

struct SearchPort {
    QString port;    // what the port is named by: COM3, or a device path
    QString device;  // what it opens
};

struct SearchResult {
    bool found = false;
    QString port;
    std::int32_t speed = 0;
    QStringList busy;  // ports another program holds: named, never taken
    bool stopped = false;
};

class PrinterSearch : public QObject {
    Q_OBJECT
public:
    // How long the printer has for its answer to ENQ at each speed.
    static constexpr int kEnqWaitMs = 300;

    // The speeds a printer may be set to, in rising order: the port
    // dialog's list and varmo-cli find's round alike.
    static std::vector<std::int32_t> LineSpeeds();
    // The speed stored now first, then 9600, then the rest in their order.
    static std::vector<std::int32_t> SpeedOrder(std::int32_t first,
                                                const std::vector<std::int32_t>& speeds);
    // The devices that are there, the port chosen now first (when it is one
    // of them), then those with a COM name, then the rest.
    static std::vector<SearchPort> PortOrder(const std::vector<SerialDevice>& devices,
                                             const QString& first);

    // Stops at the first printer; answerWaitMs is how long its header read
    // may take. A device that vanishes meanwhile is
    // skipped; so is one that another program holds, and it is named.
    SearchResult Run(const std::vector<SearchPort>& ports, const std::vector<std::int32_t>& speeds,
                     int answerWaitMs);

    // From inside Run (a button pressed during a wait): the wait ends now and
    // nothing further is tried.
    void Stop();

signals:
    // The next probe begins.
    void trying(const QString& port, const QString& device, std::int32_t speed);

private:
    bool stopped_ = false;
};

}  // namespace varmo
