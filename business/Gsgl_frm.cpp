#include "business/Gsgl_frm.h"

#include "platform/grid/data_grid.h"

#include <QLineEdit>

namespace {

const QString kSupplierKind = QStringLiteral("供商资料");

} // namespace

Tfrm_Gsgl::Tfrm_Gsgl(QWidget* parent)
    : Tfrm_Khgl(kSupplierKind, parent) {
    setObjectName(QStringLiteral("Tfrm_Gsgl"));
    setLabelText(Edit1, QStringLiteral("供商简称(必填)"));
    setLabelText(Edit10, QStringLiteral("供商公司名"));

    // Supplier columns: only the web column hidden, every title a button.
    std::vector<GridColumn> columns = PartnerColumns();
    for (GridColumn& column : columns) {
        if (column.field == QStringLiteral("网址"))
            column.hidden();
        if (column.field == QStringLiteral("客户简称"))
            column.title = QStringLiteral("供商简称");
        if (column.field == QStringLiteral("公司名"))
            column.title = QStringLiteral("供商公司名");
    }
    DBGridEh1->setColumns(columns);
    setWindowTitle(QStringLiteral("供应商管理"));
}

Tfrm_Gsgl::~Tfrm_Gsgl() = default;

bool Tfrm_Gsgl::LbButton1Click() {
    DocKind = kSupplierKind;
    return Tfrm_Khgl::LbButton1Click();
}
