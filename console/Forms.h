#pragma once
// The console's forms, each created once at start and reused. The main window
// reaches its dialogs through here; an entry whose dialog is not built yet
// stays nullptr and its menu entry does nothing.
class QDialog;

namespace varmo {

class TFMain;
class TFCOM;
class TFPass;
class TFormAbout;

struct Forms {
    TFMain* FMain = nullptr;
    QDialog* FSetDate = nullptr;
    TFCOM* FCOM = nullptr;
    QDialog* FRepDay = nullptr;
    QDialog* FReadGoodsStatus = nullptr;
    QDialog* FRepPeriodDay = nullptr;
    QDialog* FSetRates = nullptr;
    QDialog* FSetHeader = nullptr;
    QDialog* FSetNIP = nullptr;
    QDialog* FSetInspectionDate = nullptr;
    QDialog* FRepNoDay = nullptr;
    QDialog* FSetErrMode = nullptr;
    QDialog* FEditSeq = nullptr;
    QDialog* FTestTrans = nullptr;
    QDialog* FDatabaseReport = nullptr;
    QDialog* FSetDiscMode = nullptr;
    TFPass* FPass = nullptr;
    TFormAbout* FormAbout = nullptr;
};

}  // namespace varmo
