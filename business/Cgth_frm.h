#pragma once

#include "business/Cgjh_frm.h"

// Purchase return: the purchase screen in return mode. Every command sets DocKind to "退货"
// before it runs the purchase screen's handler, so its statements use the kind 采购退货.
class TFrm_Cgth : public TFrm_Cgjh {
    Q_OBJECT

public:
    explicit TFrm_Cgth(QWidget* parent = nullptr);

    bool LbButton1Click() override;
    bool LbButton2Click() override;
    bool LbButton3Click() override;
    bool LbButton4Click() override;
    bool LbButton9Click() override;
    bool LbButton7Click() override;
    void DBComboBoxEh4Change() override;
    void MenuItem2Click() override;

private:
    void setReturnKind();
};
