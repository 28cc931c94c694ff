#pragma once

#include "business/xsch_frm.h"

// 销售退货: the sales screen in return mode. Lines are written as 销售退库, under the return
// captions; the debt is still computed and written but not shown.
class Tfrm_xsth : public Tfrm_xsch {
    Q_OBJECT

public:
    explicit Tfrm_xsth(QWidget* parent = nullptr);

    bool LbButton1Click() override;
    bool LbButton2Click() override;
    bool LbButton3Click() override;
    bool LbButton4Click() override;
    bool LbButton7Click() override;
    void N1Click() override;
    void N2Click() override;
    void MenuItem1Click() override;
    void MenuItem2Click() override;

private:
    void setReturnMode();
};
