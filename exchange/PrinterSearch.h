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

// A port that would not open: busy, forbidden, absent (PortTroubleOf).
struct UnopenedPort {
    QString port;
    QString device;
    int code = 0;  // the system's error number
};

struct SearchResult {
    bool found = false;
    QString port;
    QString device;
    std::int32_t speed = 0;
    std::vector<SearchPort> tried;        // opened and probed, in order
    std::vector<std::int32_t> speeds;     // the speeds each was tried at
    std::vector<UnopenedPort> unopened;   // named, never taken
    bool stopped = false;

    // The ports another program holds.
    QStringList Busy() const;
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
    // Where the technician points first: the port typed or chosen now
    // (a device path too, listed or not), then the stored port, then the
    // devices the system lists, then the devices the COM names lead to.
    // Each device once, under the first name that leads to it; devices
    // listed as missing are left out, the typed and stored port never.
    // An empty name is COM1, as the port takes it; stored may be left empty.
    static std::vector<SearchPort> PortOrder(const std::vector<SerialDevice>& devices,
                                             const QString& typed, const QString& stored);

    // Stops at the first printer; answerWaitMs is how long its header read
    // may take. A port that will not open (vanished, held by another
    // program, not permitted) is skipped and named with its error number.
    SearchResult Run(const std::vector<SearchPort>& ports, const std::vector<std::int32_t>& speeds,
                     int answerWaitMs);

    // From inside Run (a button pressed during a wait): the wait ends now and
    // nothing further is tried.
    void Stop();

signals:
    // The next probe begins.
    void trying(const QString& port, const QString& device, std::int32_t speed);
    // A port would not open; code is the system's error number.
    void skipped(const QString& port, const QString& device, int code);

private:
    bool stopped_ = false;
};

}  // namespace varmo
