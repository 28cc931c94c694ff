#pragma once

#include "business/Khgl_frm.h"

// 供应商管理: the customer screen switched to the supplier kind "供商资料", with the supplier
// captions.
class Tfrm_Gsgl : public Tfrm_Khgl {
    Q_OBJECT

public:
    explicit Tfrm_Gsgl(QWidget* parent = nullptr);
    ~Tfrm_Gsgl() override;

    // Sets DocKind to the supplier kind, then adds.
    bool LbButton1Click() override;
};
