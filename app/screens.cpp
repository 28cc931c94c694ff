#include "app/screens.h"

#include "admin/company_info_frm.h"
#include "business/Cgjh_frm.h"
#include "business/Cgth_frm.h"
#include "business/Gsgl_frm.h"
#include "business/Khgl_frm.h"
#include "business/xsch_frm.h"
#include "business/xsth_frm.h"
#include "shell/main_frm.h"

void RegisterScreens(TFrm_Main& mainWindow) {
    mainWindow.registerChildScreen(QStringLiteral("采购进货"), [] { return new TFrm_Cgjh; });
    mainWindow.registerChildScreen(QStringLiteral("采购退货"), [] { return new TFrm_Cgth; });
    mainWindow.registerChildScreen(QStringLiteral("销售出货"), [] { return new Tfrm_xsch; });
    mainWindow.registerChildScreen(QStringLiteral("销售退货"), [] { return new Tfrm_xsth; });
    mainWindow.registerChildScreen(QStringLiteral("客户管理"), [] { return new Tfrm_Khgl; });
    mainWindow.registerChildScreen(QStringLiteral("供货商管理"), [] { return new Tfrm_Gsgl; });
    mainWindow.registerDialog(QStringLiteral("公司基础信息设置"),
                              [](QWidget* parent) { return new Tfrm_reprot(parent); });
}
