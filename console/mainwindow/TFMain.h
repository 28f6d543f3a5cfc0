#pragma once
// The console's main window: it shows the current command's frame and
// description, the frame coming back and what it means, and carries the
// status panel, the code page and the service lock. It owns every command
// handed over (CommandHistory; the newest is the current one) and sends the
// current one; the exchange with the printer (port, assembler, questions)
// lives in Exchange, and ComPort and ComDataPacket forward to it under the
// window's own names. Dialogs hand their commands over through SubmitCommand.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "console/base/CommandHistoryList.h"
#include "console/dialogs/ConsoleBook.h"
#include "console/dialogs/MainServices.h"
#include "console/mainwindow/ComPortForwarder.h"
#include "console/mainwindow/Forms.h"
#include "console/base/WaitIndicator.h"
#include "console/widgets/LateBuilt.h"  // FormBuild
#include "exchange/PrinterExchange.h"
#include "protocol/Command.h"
#include "protocol/Types.h"

class QAction;
class QCloseEvent;
class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace varmo {

class ExchangeLogDock;
class PortStatusLine;

class TFMain : public QMainWindow, public MainServices {
    Q_OBJECT
public:
    // Runs FormCreate: the settings store must be open. With
    // FormBuild::OnFirstShowing the log's view is made when it is first shown.
    explicit TFMain(Forms& forms, QWidget* parent = nullptr, FormBuild log = FormBuild::Now);
    // Closes the port first, then runs FormDestroy: the code page goes back
    // to the settings store.
    ~TFMain() override;

    // Services for the dialogs (MainServices).
    void SubmitCommand(std::unique_ptr<TCommand> command) override;
    TCommand* CurrentCommand() const { return CommandHistory.Current(); }
    bool EnsurePortOpen() override;
    void ClosePort() override;
    void IdentifyPrinter() override;
    ConsoleBook& Book() override { return book_; }
    // The printer on the status line: "TST00012345, niefiskalna".
    QLabel* PrinterLabel = nullptr;
    QLabel* BookLabel = nullptr;  // the shared book's state; hidden without a server
    // "Ustawienia": the setting printer/identify as a check box.
    QAction* Rozpoznawaj1 = nullptr;
    // The ENQ status byte, also shown on the panel; nothing when the printer
    // did not answer or the query could not run.
    std::optional<unsigned char> QueryPrinterStatus(bool reportNoAnswer) override;
    void SetCodePage(const QString& value);
    void SetServiceMode(bool unlocked) override;
    void SendCurrentCommand() override { SBSendClick(); }
    void ShowStatusFlag(const QString& name, bool bit);
    // A status byte read on the line, on the panel: its flags, and for ENQ
    // the fiscal state too.
    void ShowStatus(unsigned char status, bool fromEnq) override;
    // A menu entry for a dialog of the console's own: the dialog is made on
    // first use with make, kept by the window and shown modally where it was
    // left. Such a dialog needs its own files and this one call, nothing else.
    QAction* AddDialogEntry(QMenu* menu, const QString& caption, const char* name,
                            std::function<QDialog*(MainServices&)> make);

    // Start-up and exit; run by the constructor and the destructor.
    void FormCreate();
    void FormDestroy();

    // Every command handed over, and the exchange with the printer with its
    // parts under the window's names.
    CommandHistoryList CommandHistory;
    PrinterExchange Exchange;
    ComPortForwarder ComPort{Exchange};
    ComDataPacketForwarder ComDataPacket{Exchange};

    QString CodePage;
    bool ServiceUnlocked = false;
    bool Fiscal = true;
    bool ConfirmOnPrinter = false;

    // The command side.
    QGroupBox* GroupBox1 = nullptr;
    QPlainTextEdit* Memo = nullptr;
    QPlainTextEdit* RESend = nullptr;
    QPushButton* SBSaveCmd = nullptr;
    QPushButton* SBOpenCmd = nullptr;
    QPushButton* SBSend = nullptr;
    // The answer side.
    QGroupBox* GroupBox2 = nullptr;
    QPlainTextEdit* MemoR = nullptr;
    QPlainTextEdit* RERcv = nullptr;
    QPushButton* SBSaveAns = nullptr;
    QCheckBox* CBOpis = nullptr;
    QCheckBox* CBAnswer = nullptr;
    // The status panel.
    QGroupBox* GroupBox3 = nullptr;
    QPushButton* Button3 = nullptr;  // ENQ
    QPushButton* Button4 = nullptr;  // DLE
    QPushButton* Button5 = nullptr;  // CAN
    QLabel* LbFSK = nullptr;
    QLabel* LbCMD = nullptr;
    QLabel* LbPAR = nullptr;
    QLabel* LbTRF = nullptr;
    QLabel* LbONL = nullptr;
    QLabel* LbPE = nullptr;
    QLabel* LbERR = nullptr;

    // The menu, in its order.
    QMenu* Ustawienia1 = nullptr;
    QAction* PortCOM1 = nullptr;
    QMenu* Standardznakw1 = nullptr;
    QAction* Mazovia1 = nullptr;
    QAction* Windows1 = nullptr;
    QAction* Odblokujfunkcjeserwisowe1 = nullptr;
    QAction* Ustawczas1 = nullptr;
    QAction* Nagwek1 = nullptr;
    QAction* Stawkipodatkowe1 = nullptr;
    QAction* Trybobsugibdw1 = nullptr;
    QAction* Metodaobliczaniarabatu1 = nullptr;
    QAction* NIPFiskalizacja1 = nullptr;
    QAction* Dataprzegldu1 = nullptr;
    QMenu* Odczyt1 = nullptr;
    QAction* Nagwek2 = nullptr;
    QAction* Kodbdu1 = nullptr;
    QAction* Informacjekasowe1 = nullptr;
    QAction* Informacjekasoweaktualnatransakcja1 = nullptr;
    QAction* Moliwosprzeday1 = nullptr;
    QMenu* Raporty1 = nullptr;
    QAction* Dobowy1 = nullptr;
    QAction* Pamifiskalna1 = nullptr;
    QAction* Pamicfiskalnawg1 = nullptr;
    QAction* Bazatowarowa1 = nullptr;
    QAction* Opisystae1 = nullptr;
    QMenu* Inne1 = nullptr;
    QAction* Paragontestowy1 = nullptr;
    QAction* Dowolnasekwencja1 = nullptr;
    QAction* Anulowanietransakcji1 = nullptr;
    QAction* Oprogramie2 = nullptr;

    // The exchange log (its entry ends "Inne", Ctrl+L) and the status line.
    ExchangeLogDock* Dziennik = nullptr;
    QAction* Dziennik1 = nullptr;
    PortStatusLine* StatusLine = nullptr;
    // "Ustawienia": after a command that takes no answer, the error number is
    // read at once (off by default: the exchange stays as the operator sends it).
    QAction* CheckAfterSend = nullptr;

public slots:
    void SBSendClick();
    void SBSaveCmdClick();
    void SBOpenCmdClick();
    void SBSaveAnsClick();
    void ComDataPacketPacket(const std::string& text);
    // A frame the exchange cut, given to the command it answers late, else
    // to the current one (ComDataPacketPacket).
    void FrameCutArrived(const varmo::FrameCut& frame);
    void Button3Click();
    void Button4Click();
    void Button5Click();

    void PortCOM1Click();
    void Mazovia1Click();
    void Windows1Click();
    void Odblokujfunkcjeserwisowe1Click();
    void Ustawczas1Click();
    void Nagwek1Click();
    void Stawkipodatkowe1Click();
    void Trybobsugibdw1Click();
    void Metodaobliczaniarabatu1Click();
    void NIPFiskalizacja1Click();
    void Dataprzegldu1Click();
    void Nagwek2Click();
    void Kodbdu1Click();
    void Informacjekasowe1Click();
    void Informacjekasoweaktualnatransakcja1Click();
    void Moliwosprzeday1Click();
    void Dobowy1Click();
    void Pamifiskalna1Click();
    void Pamicfiskalnawg1Click();
    void Bazatowarowa1Click();
    void Opisystae1Click();
    void Paragontestowy1Click();
    void Dowolnasekwencja1Click();
    void Anulowanietransakcji1Click();
    void Oprogramie2Click();
    // "sprawdź, czy wykonała": the printer's error number after the command
    // that went out without an answer.
    void VerifySentClick();

protected:
    // Closing in the middle of a wait on the line ends the wait first.
    void closeEvent(QCloseEvent* event) override;
    // Back from the task bar: the answer views catch up.
    void changeEvent(QEvent* event) override;

private:
    // The rest of MainServices: for the dialogs, which hold the window as
    // that; the window's own code uses the members themselves.
    QWidget* Window() override { return this; }
    PrinterExchange& Printer() override { return Exchange; }
    QString CurrentCodePage() const override { return CodePage; }
    bool PrinterIsFiscal() const override { return Fiscal; }
    void SetConfirmOnPrinter(bool confirm) override { ConfirmOnPrinter = confirm; }

    // The serial port closed and handed back, as the window closes.
    void releasePort();
    void buildSides();
    void buildStatusPanel();
    void buildMenu();
    void nameControls();
    void buildLogAndStatusLine(FormBuild log);
    void buildSentCheck();
    // After "Wykonaj": a command without an answer that went out whole is
    // told as sent, and checked when the operator asked for that.
    void tellSent(const Reply& reply, const TCommand& command);
    void buildBook();
    // A setting or a report the printer took goes into the visit going on.
    void keepSettingTaken(const TCommand& command);
    void restoreLogPlace();
    void saveLogPlace();
    // The first description line of the current command, or nothing.
    QString currentDescription() const;
    QString sentDescription_;  // the last command told as sent
    static QString describeFirstLine(const TCommand& command);
    QLabel* statusLabel(const QString& name) const;
    // "Wykonaj": the current command's frame goes out in the code page in
    // force now; a command that expects an answer waits for it, and the
    // answer is shown as every frame is.
    Reply sendCurrent(TCommand& current);
    // An answer frame becomes what the answer views are to show, read by
    // its owner (nullptr: the current command).
    void showFrame(const std::string& text, TCommand* owner);
    void takeAnswer(const std::string& text, TCommand* owner);
    // Writes what the answer views are to show into them.
    void showPendingAnswer();
    // Shows a dialog modally where it was left; nullptr shows nothing.
    static void showModal(QDialog* dialog);

    Forms& forms_;
    ConsoleBook book_;
    bool lossTold_ = false;  // the loss of the port is on screen
    WaitIndicator waitIndicator_;

    // The answer views are written once per chunk the line delivers, not once
    // per frame in it: only the last frame of a chunk is ever seen. While the
    // window is minimised they are not written at all until it comes back.
    struct PendingAnswer {
        bool frameSet = false;
        std::string frame;  // escaped, UTF-8
        enum class Description { Keep, Clear, Lines } description = Description::Keep;
        Lines lines;
    } pending_;
};

}  // namespace varmo
