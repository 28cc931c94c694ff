#pragma once

#include "business/Cgjh_frm.h"
#include "platform/grid/grid_column.h"

#include <vector>

class QLineEdit;

// 客户管理: the customers of Tab_khgl (类型 "客户资料"), one row per partner, identified by its
// short name 客户简称, which is unique over customers and suppliers together.
//
// Built on the purchase screen: the product editors, price, quantity, total, date and the
// print and design buttons are hidden, DBComboBoxEh5 becomes 职务 and Memo1 the remark. The
// query panel searches every column of the grid for one text. Add, modify and delete check
// no rights: the main menu opens the screen only for users holding 客户资料.
//
// PartnerKind chooses the kind of the lists and DocKind the kind of a new record; "供商资料"
// in either means suppliers (Tfrm_Gsgl), any other value customers.
class Tfrm_Khgl : public TFrm_Cgjh {
    Q_OBJECT

public:
    explicit Tfrm_Khgl(QWidget* parent = nullptr);
    ~Tfrm_Khgl() override;

    bool LbButton1Click() override; // 增 加
    bool LbButton2Click() override; // 删 除
    bool LbButton3Click() override; // 修 改
    bool LbButton4Click() override; // 所有记录
    bool LbButton9Click() override; // 查询 in the query panel
    bool LbButton7Click() override; // 导出Excel
    void DBGridEh1CellClick() override;

    // The kinds of Tab_khgl.类型 chosen by PartnerKind (lists) and DocKind (add).
    QString ListKind() const;
    QString AddKind() const;

    // Every column of the partner grid, in order, with titles as the customer screen has them
    // before it hides and re-titles some.
    static std::vector<GridColumn> PartnerColumns();

protected:
    // The supplier screen passes its PartnerKind, which the creation's list needs.
    Tfrm_Khgl(const QString& partnerKind, QWidget* parent);

    QLineEdit* Edit1;  // 客户简称
    QLineEdit* Edit10; // 公司名
    QLineEdit* Edit2;  // 主联系人
    QComboBox* ComboBox1;
    QLineEdit* Edit3;          // 联系电话, hidden and always empty
    QLineEdit* Edit11;         // 通讯地址
    QLineEdit* Edit4;          // 手机
    QLineEdit* Edit8;          // 住宅电话
    QLineEdit* Edit12;         // 传真
    QLineEdit* Edit5;          // QQMSN
    QLineEdit* Edit6;          // 网址
    QLineEdit* Edit9;          // 电子邮箱
    QLineEdit* Edit7;          // 邮编
    QLineEdit* dDBComboBoxEh6; // 业务员
    QLineEdit* Edit13;         // the search text of the query panel

private:
    void buildEntryPanel();
    void buildQueryPanel();
    // Opens every partner of the list kind; statement errors propagate.
    void listAll();
};
