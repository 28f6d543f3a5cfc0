#pragma once
// What a dialog may ask of the main window, and nothing more: the exchange
// with the printer, the code page in force, handing over a command, and the
// status panel with the service lock. The window implements it; a dialog
// knows the window only as this, so the dialogs stay below the window that
// opens them.
#include <QString>
#include <memory>
#include <optional>

class QWidget;

namespace varmo {

class ConsoleBook;
class PrinterExchange;
class TCommand;

class MainServices {
public:
    // The window itself, the parent of the dialogs.
    virtual QWidget* Window() = 0;
    // The one exchange with the printer.
    virtual PrinterExchange& Printer() = 0;
    // "maz" or "win", as the operator chose.
    virtual QString CurrentCodePage() const = 0;

    // The command becomes the window's current one; "Wykonaj" sends it.
    virtual void SubmitCommand(std::unique_ptr<TCommand> command) = 0;
    // "Wykonaj" on the current command, for a dialog that sends at a moment
    // of its own (the clock at the turn of the minute).
    virtual void SendCurrentCommand() = 0;
    virtual bool EnsurePortOpen() = 0;
    // The port closed while the operator chooses another; bytes the line had
    // not taken by then are told, never dropped in silence.
    virtual void ClosePort() = 0;
    // The port was opened by a dialog: the printer is identified, as at
    // every opening, when the setting printer/identify allows.
    virtual void IdentifyPrinter() = 0;
    // The visit book, opened when first needed.
    virtual ConsoleBook& Book() = 0;

    // The status panel: the ENQ byte read and shown, or nothing when the
    // printer did not answer; a byte read elsewhere shown there.
    virtual std::optional<unsigned char> QueryPrinterStatus(bool reportNoAnswer) = 0;
    virtual void ShowStatus(unsigned char status, bool fromEnq) = 0;
    virtual bool PrinterIsFiscal() const = 0;
    // Whether "Wykonaj" asks the operator to confirm the command on the
    // printer's keys; a new command clears it.
    virtual void SetConfirmOnPrinter(bool confirm) = 0;
    virtual void SetServiceMode(bool unlocked) = 0;

protected:
    ~MainServices() = default;
};

}  // namespace varmo
