#pragma once
// The main window's status line: the port's name and the device it opens on
// this system, the speed, the code page, and whether the port is open, closed
// or failed (busy, forbidden or absent, with the system's reason in Polish),
// updated the moment it changes; and "Brak odpowiedzi" when a command sent
// with "Wykonaj" got no answer in time, with a hint that the speed may be
// wrong and a link that starts the search for the printer.
#include <QObject>
#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

#include "console/widgets/ElidedLabel.h"
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
    // A command that takes no answer went out whole: it says so, and offers
    // to read the printer's error number as the proof.
    void Sent(const QString& description);
    // What the error number read after it says: 0, the printer did it;
    // anything else, in red with its text; nothing, no answer to the read.
    void Verified(const QString& description, std::optional<std::int32_t> error,
                  const QString& errorText);

    QLabel* LbPort = nullptr;
    QLabel* LbSpeed = nullptr;
    QLabel* LbCodePage = nullptr;
    QLabel* LbState = nullptr;
    // Shortened with "…" to its room, the whole text in its tooltip.
    ElidedLabel* LbNoAnswer = nullptr;
    // Beside "Brak odpowiedzi": the speed may be wrong, "Szukaj drukarki".
    QLabel* LbSearch = nullptr;
    // Beside "Wysłano: …": "sprawdź, czy wykonała".
    QLabel* LbVerify = nullptr;

signals:
    // The operator chose "Szukaj drukarki" beside "Brak odpowiedzi".
    void searchRequested();
    // The operator chose "sprawdź, czy wykonała" beside "Wysłano: …".
    void verifyRequested();

private:
    // Says "Brak odpowiedzi" or whatever text (empty: nothing); the search
    // is offered with silence alone.
    void showAnswerNews(const QString& text, bool silent, const QColor& colour = Qt::red,
                        bool sent = false);

    QString awaited_;
};

// "otwarty", "zamknięty" or "błąd: " and what stands in the way
// (PortFailureText: busy, forbidden, absent, with the system's reason).
QString PortStateText(const PortState& state);

// The port and the device it opens, the device once when the port is named
// by it: "COM1 (/dev/ttyS0)", "/dev/ttyUSB0".
QString PortPlaceText(const PortState& state);

}  // namespace varmo
