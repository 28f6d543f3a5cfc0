#pragma once
// The main window's status line: the port's name and the device it opens on
// this system, the speed, the code page, and whether the port is open, closed
// or failed (busy, forbidden or absent, with the system's reason in Polish),
// updated the moment it changes; and "Brak odpowiedzi" when a command sent
// with "Wykonaj" got no answer in time.
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

private:
    QString awaited_;
};

// "otwarty", "zamknięty" or "błąd: " and what stands in the way
// (PortFailureText: busy, forbidden, absent, with the system's reason).
QString PortStateText(const PortState& state);

}  // namespace varmo
