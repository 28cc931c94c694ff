#include "business/xsth_frm.h"

#include "business/period_query_panel.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/number_edit.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>

namespace {

const QString kReturnKind = QStringLiteral("销售退库");

} // namespace

Tfrm_xsth::Tfrm_xsth(QWidget* parent)
    : Tfrm_xsch(parent, kReturnKind) {
    setObjectName(QStringLiteral("frm_xsth"));
    setWindowTitle(QStringLiteral("销售退货"));
    setLabelText(djdb, QStringLiteral("退货单价(必填)"));
    setLabelText(sldb, QStringLiteral("退货数量(必填)"));
    setLabelText(sumdb, QStringLiteral("合计(退款金额)"));
    setLabelText(DBDateTimeEditEh1, QStringLiteral("退货日期"));
    setLabelText(DBComboBoxEh6, QStringLiteral("退货人"));
    hideControl(Qkje);
    MLabel14->hide();

    // The grid keeps the rows it loaded; only the titles and the debt column change.
    DBGridEh1->setColumns(SalesColumns(true));
    DBGridEh1->setSortMarker(QStringLiteral("备注"), SortMarker::Down);

    if (auto* title = Panel4->findChild<QLabel*>(QStringLiteral("Panel4_title")))
        title->setText(QStringLiteral("销售退货记录查询窗"));
    if (auto* owner = Panel4->findChild<QLabel*>(QStringLiteral("DBComboBoxEh16_label")))
        owner->setText(QStringLiteral(" 退货人"));
    N1->setText(QStringLiteral("打印日/周/年销售退货报表"));
    N2->setText(QStringLiteral("打印销售退单据(先过滤客户再打印)"));
}

void Tfrm_xsth::setReturnMode() {
    DocKind = kReturnKind;
}

bool Tfrm_xsth::LbButton1Click() {
    setReturnMode();
    return Tfrm_xsch::LbButton1Click();
}

bool Tfrm_xsth::LbButton2Click() {
    setReturnMode();
    return Tfrm_xsch::LbButton2Click();
}

bool Tfrm_xsth::LbButton3Click() {
    setReturnMode();
    return Tfrm_xsch::LbButton3Click();
}

bool Tfrm_xsth::LbButton4Click() {
    setReturnMode();
    return Tfrm_xsch::LbButton4Click();
}

bool Tfrm_xsth::LbButton7Click() {
    setReturnMode();
    ExportFileName = QStringLiteral("销售退货表");
    return Tfrm_xsch::LbButton7Click();
}

void Tfrm_xsth::N1Click() {
    setReturnMode();
    Tfrm_xsch::N1Click();
}

void Tfrm_xsth::N2Click() {
    setReturnMode();
    Tfrm_xsch::N2Click();
}

void Tfrm_xsth::MenuItem1Click() {
    setReturnMode();
    Tfrm_xsch::MenuItem1Click();
}

void Tfrm_xsth::MenuItem2Click() {
    setReturnMode();
    Tfrm_xsch::MenuItem2Click();
}
