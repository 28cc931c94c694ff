#include "business/Cgth_frm.h"

TFrm_Cgth::TFrm_Cgth(QWidget* parent)
    : TFrm_Cgjh(QStringLiteral("退货"), parent) {
    setObjectName(QStringLiteral("TFrm_Cgth"));
}

void TFrm_Cgth::setReturnKind() {
    DocKind = QStringLiteral("退货");
}

bool TFrm_Cgth::LbButton1Click() {
    setReturnKind();
    return TFrm_Cgjh::LbButton1Click();
}

bool TFrm_Cgth::LbButton2Click() {
    setReturnKind();
    return TFrm_Cgjh::LbButton2Click();
}

bool TFrm_Cgth::LbButton3Click() {
    setReturnKind();
    return TFrm_Cgjh::LbButton3Click();
}

bool TFrm_Cgth::LbButton4Click() {
    setReturnKind();
    return TFrm_Cgjh::LbButton4Click();
}

bool TFrm_Cgth::LbButton9Click() {
    setReturnKind();
    return TFrm_Cgjh::LbButton9Click();
}

bool TFrm_Cgth::LbButton7Click() {
    setReturnKind();
    return TFrm_Cgjh::LbButton7Click();
}

void TFrm_Cgth::DBComboBoxEh4Change() {
    setReturnKind();
    TFrm_Cgjh::DBComboBoxEh4Change();
}

void TFrm_Cgth::MenuItem2Click() {
    setReturnKind();
    TFrm_Cgjh::MenuItem2Click();
}
