#include "app/screens.h"

#include "admin/company_info_frm.h"
#include "shell/main_frm.h"

void RegisterScreens(TFrm_Main& mainWindow) {
    mainWindow.registerDialog(QStringLiteral("公司基础信息设置"),
                              [](QWidget* parent) { return new Tfrm_reprot(parent); });
}
