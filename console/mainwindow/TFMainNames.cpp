// The main window's controls under the names the form gives them, for
// findChild in tests and automation tools.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

#include "console/widgets/ObjectNames.h"
#include "console/mainwindow/TFMain.h"

namespace varmo {

void TFMain::nameControls()
{
    setObjectName(QStringLiteral("FMain"));
    NameControls({
        {GroupBox1, "GroupBox1"}, {Memo, "Memo"}, {RESend, "RESend"},
        {SBSaveCmd, "SBSaveCmd"}, {SBOpenCmd, "SBOpenCmd"}, {SBSend, "SBSend"},
        {GroupBox2, "GroupBox2"}, {MemoR, "MemoR"}, {RERcv, "RERcv"},
        {SBSaveAns, "SBSaveAns"}, {CBOpis, "CBOpis"}, {CBAnswer, "CBAnswer"},
        {GroupBox3, "GroupBox3"}, {Button3, "Button3"}, {Button4, "Button4"},
        {Button5, "Button5"}, {LbFSK, "LbFSK"}, {LbCMD, "LbCMD"}, {LbPAR, "LbPAR"},
        {LbTRF, "LbTRF"}, {LbONL, "LbONL"}, {LbPE, "LbPE"}, {LbERR, "LbERR"},
        {menuBar(), "MainMenu"},
        {Ustawienia1, "Ustawienia1"}, {PortCOM1, "PortCOM1"},
        {Standardznakw1, "Standardznakw1"}, {Mazovia1, "Mazovia1"}, {Windows1, "Windows1"},
        {Odblokujfunkcjeserwisowe1, "Odblokujfunkcjeserwisowe1"}, {Ustawczas1, "Ustawczas1"},
        {Nagwek1, "Nagwek1"}, {Stawkipodatkowe1, "Stawkipodatkowe1"},
        {Trybobsugibdw1, "Trybobsugibdw1"}, {Metodaobliczaniarabatu1, "Metodaobliczaniarabatu1"},
        {NIPFiskalizacja1, "NIPFiskalizacja1"}, {Dataprzegldu1, "Dataprzegldu1"},
        {Odczyt1, "Odczyt1"}, {Nagwek2, "Nagwek2"}, {Kodbdu1, "Kodbdu1"},
        {Informacjekasowe1, "Informacjekasowe1"},
        {Informacjekasoweaktualnatransakcja1, "Informacjekasoweaktualnatransakcja1"},
        {Moliwosprzeday1, "Moliwosprzeday1"},
        {Raporty1, "Raporty1"}, {Dobowy1, "Dobowy1"}, {Pamifiskalna1, "Pamifiskalna1"},
        {Pamicfiskalnawg1, "Pamicfiskalnawg1"}, {Bazatowarowa1, "Bazatowarowa1"},
        {Opisystae1, "Opisystae1"},
        {Inne1, "Inne1"}, {Paragontestowy1, "Paragontestowy1"},
        {Dowolnasekwencja1, "Dowolnasekwencja1"}, {Anulowanietransakcji1, "Anulowanietransakcji1"},
        {Oprogramie2, "Oprogramie2"},
    });
}

}  // namespace varmo
