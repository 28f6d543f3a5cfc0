#include "console/FormSet.h"

#include "console/TFCOM.h"
#include "console/TFDatabaseReport.h"
#include "console/TFEditSeq.h"
#include "console/TFMain.h"
#include "console/TFPass.h"
#include "console/TFReadGoodsStatus.h"
#include "console/TFRepDay.h"
#include "console/TFRepNoDay.h"
#include "console/TFRepPeriodDay.h"
#include "console/TFSetDate.h"
#include "console/TFSetDiscMode.h"
#include "console/TFSetErrMode.h"
#include "console/TFSetHeader.h"
#include "console/TFSetServiceVisit.h"
#include "console/TFSetNIP.h"
#include "console/TFSetRates.h"
#include "console/TFTestTrans.h"
#include "console/TFormAbout.h"

namespace varmo {

template <typename Form, typename... Args>
Form* FormSet::create(Args&&... args)
{
    auto* form = new Form(std::forward<Args>(args)...);
    created_.emplace_back(form);
    return form;
}

FormSet::FormSet()
{
    // The order matters: the main window reads the settings first, and each
    // dialog may rely on the ones before it. Dialogs of the later menu
    // entries join this list in their place as they are built:
    // TFRun, TFSetDate, TFCOM, TFRepDay, TFReadGoodsStatus, TFRepPeriodDay,
    // TFSetRates, TFSetHeader, TFSetNIP, TFSetInspectionDate, TFConfig,
    // TFConfigUser, TFRepNoDay, TFSetErrMode, TFEditSeq, TFTestTrans,
    // TFDatabaseReport, TFSetDiscMode, TFPass, TFormAbout.
    forms_.FMain = create<TFMain>(forms_);
    forms_.FSetDate = create<TFSetDate>(forms_);
    forms_.FCOM = create<TFCOM>(*forms_.FMain);
    forms_.FRepDay = create<TFRepDay>(*forms_.FMain);
    forms_.FReadGoodsStatus = create<TFReadGoodsStatus>(*forms_.FMain);
    forms_.FRepPeriodDay = create<TFRepPeriodDay>(*forms_.FMain);
    forms_.FSetRates = create<TFSetRates>(forms_);
    forms_.FSetHeader = create<TFSetHeader>(forms_);
    forms_.FSetNIP = create<TFSetNIP>(forms_);
    forms_.FSetInspectionDate = create<TFSetInspectionDate>(forms_);
    forms_.FRepNoDay = create<TFRepNoDay>(*forms_.FMain);
    forms_.FSetErrMode = create<TFSetErrMode>(forms_);
    forms_.FEditSeq = create<TFEditSeq>(*forms_.FMain);
    forms_.FTestTrans = create<TFTestTrans>(*forms_.FMain);
    forms_.FDatabaseReport = create<TFDatabaseReport>(*forms_.FMain);
    forms_.FSetDiscMode = create<TFSetDiscMode>(forms_);
    forms_.FPass = create<TFPass>(*forms_.FMain);
    forms_.FormAbout = create<TFormAbout>(forms_.FMain);
}

FormSet::~FormSet()
{
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        delete it->data();
}

}  // namespace varmo
