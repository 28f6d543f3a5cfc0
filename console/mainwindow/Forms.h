#pragma once
// The console's forms, each created once at start and reused. The main window
// reaches its dialogs through here. A test may build the main window alone,
// with the rest left nullptr; their menu entries then do nothing.
class QDialog;

namespace varmo {

class TFMain;
class TFCOM;
class TFPass;
class TFormAbout;
class TFRepDay;
class TFReadGoodsStatus;
class TFRepPeriodDay;
class TFRepNoDay;
class TFEditSeq;
class TFTestTrans;
class TFDatabaseReport;

struct Forms {
    TFMain* FMain = nullptr;
    QDialog* FSetDate = nullptr;
    TFCOM* FCOM = nullptr;
    TFRepDay* FRepDay = nullptr;
    TFReadGoodsStatus* FReadGoodsStatus = nullptr;
    TFRepPeriodDay* FRepPeriodDay = nullptr;
    QDialog* FSetRates = nullptr;
    QDialog* FSetHeader = nullptr;
    QDialog* FSetNIP = nullptr;
    QDialog* FSetInspectionDate = nullptr;
    TFRepNoDay* FRepNoDay = nullptr;
    QDialog* FSetErrMode = nullptr;
    TFEditSeq* FEditSeq = nullptr;
    TFTestTrans* FTestTrans = nullptr;
    TFDatabaseReport* FDatabaseReport = nullptr;
    QDialog* FSetDiscMode = nullptr;
    TFPass* FPass = nullptr;
    TFormAbout* FormAbout = nullptr;
};

}  // namespace varmo
