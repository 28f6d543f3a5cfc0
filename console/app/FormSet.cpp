#include "console/app/FormSet.h"

#include "console/dialogs/settings/TFCOM.h"
#include "console/dialogs/reports/TFDatabaseReport.h"
#include "console/dialogs/other/TFEditSeq.h"
#include "console/mainwindow/TFMain.h"
#include "console/dialogs/settings/TFPass.h"
#include "console/dialogs/reports/TFReadGoodsStatus.h"
#include "console/dialogs/reports/TFRepDay.h"
#include "console/dialogs/reports/TFRepNoDay.h"
#include "console/dialogs/reports/TFRepPeriodDay.h"
#include "console/dialogs/settings/TFSetDate.h"
#include "console/dialogs/settings/TFSetDiscMode.h"
#include "console/dialogs/settings/TFSetErrMode.h"
#include "console/dialogs/settings/TFSetHeader.h"
#include "console/dialogs/settings/TFSetServiceVisit.h"
#include "console/dialogs/settings/TFSetNIP.h"
#include "console/dialogs/settings/TFSetRates.h"
#include "console/dialogs/other/TFTestTrans.h"
#include "console/dialogs/other/TFormAbout.h"

namespace varmo {

template <typename Form, typename... Args>
Form* FormSet::create(Args&&... args)
{
    auto* form = new Form(std::forward<Args>(args)...);
    created_.emplace_back(form);
    return form;
}

FormSet::FormSet(FormBuild dialogs)
{
    // The order matters: the main window reads the settings first, and each
    // dialog may rely on the ones before it.
    forms_.FMain = create<TFMain>(forms_, nullptr, dialogs);
    forms_.FSetDate = create<TFSetDate>(*forms_.FMain, dialogs);
    forms_.FCOM = create<TFCOM>(*forms_.FMain, dialogs);
    forms_.FRepDay = create<TFRepDay>(*forms_.FMain, dialogs);
    forms_.FReadGoodsStatus = create<TFReadGoodsStatus>(*forms_.FMain, dialogs);
    forms_.FRepPeriodDay = create<TFRepPeriodDay>(*forms_.FMain, dialogs);
    forms_.FSetRates = create<TFSetRates>(*forms_.FMain, dialogs);
    forms_.FSetHeader = create<TFSetHeader>(*forms_.FMain, dialogs);
    forms_.FSetNIP = create<TFSetNIP>(*forms_.FMain, dialogs);
    forms_.FSetInspectionDate = create<TFSetInspectionDate>(*forms_.FMain, dialogs);
    forms_.FRepNoDay = create<TFRepNoDay>(*forms_.FMain, dialogs);
    forms_.FSetErrMode = create<TFSetErrMode>(*forms_.FMain, dialogs);
    forms_.FEditSeq = create<TFEditSeq>(*forms_.FMain, dialogs);
    forms_.FTestTrans = create<TFTestTrans>(*forms_.FMain, dialogs);
    forms_.FDatabaseReport = create<TFDatabaseReport>(*forms_.FMain, dialogs);
    forms_.FSetDiscMode = create<TFSetDiscMode>(*forms_.FMain, dialogs);
    forms_.FPass = create<TFPass>(*forms_.FMain, dialogs);
    forms_.FormAbout = create<TFormAbout>(forms_.FMain, dialogs);
}

FormSet::~FormSet()
{
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        delete it->data();
}

}  // namespace varmo
