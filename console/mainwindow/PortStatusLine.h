#pragma once
// The main window's status line: the port's name and the device it opens on
// this system, the speed, the code page, and whether the port is open, closed
// or failed (busy, forbidden or absent, with the system's reason in Polish),
// updated the moment it changes; and "Brak odpowiedzi" when a command sent
// with "Wykonaj" got no answer in time, with a hint that the speed may be
// wrong and a link that starts the search for the printer.
#include <QObject>
#include <QString>

#include "exchange/PrinterExchange.h"

class QLabel;
class QStatusBar;

namespace varmo {

class PortStatusLine : public QObject {
    Q_OBJECT
public:
    // How long a command may go unanswered before the line says so.
    static constexpr int kAnswerWaitMs = PrinterExchange::kAnswerWaitMs;

    explicit PortStatusLine(QStatusBar* bar);

    void PortStateChanged(const PortState& state);

    void ShowCodePage(const QString& codePage);
    // A command went out with "Wykonaj"; description: what it is. What was
    // said about the command before goes.
    void CommandSent(const QString& description);
    // The exchange waited in vain for the answer to it.
    void NoAnswer();
    // An answer came whose check value is wrong.
    void BadCheck();
    // Something came back at the vanished printer's path that is not it.
    void ReplugRefused(const QString& device);
    // An answer came, late or not: whatever was said about its absence goes.
    void AnswerArrived();

    QLabel* LbPort = nullptr;
    QLabel* LbSpeed = nullptr;
    QLabel* LbCodePage = nullptr;
    QLabel* LbState = nullptr;
    QLabel* LbNoAnswer = nullptr;
    // Beside "Brak odpowiedzi": the speed may be wrong, "Szukaj drukarki".
    QLabel* LbSearch = nullptr;

signals:
    // The operator chose "Szukaj drukarki" beside "Brak odpowiedzi".
    void searchRequested();

private:
    // Says "Brak odpowiedzi" or whatever text (empty: nothing); the search
    // is offered with silence alone.
    void showAnswerNews(const QString& text, bool silent);

    QString awaited_;
};

// "otwarty", "zamknięty" or "błąd: " and what stands in the way
// (PortFailureText: busy, forbidden, absent, with the system's reason).
QString PortStateText(const PortState& state);

// The port and the device it opens, the device once when the port is named
// by it: "COM1 (/dev/ttyS0)", "/dev/ttyUSB0".
QString PortPlaceText(const PortState& state);

}  // namespace varmo
